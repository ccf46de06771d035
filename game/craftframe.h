#ifndef QUELLARIS_GAME_CRAFTFRAME_H
#define QUELLARIS_GAME_CRAFTFRAME_H

#include "platform/matrix.h"
#include "platform/vector3.h"

namespace Vortel {

class Player;

// The frame a craft is drawn in and seen from, without GL. Its columns are the craft's left
// (up x forward), up and forward, turned by the angle the running turn is drawn at about the
// turn's axis, and its translation the craft's position: a craft's meshes point their nose
// along their own z, and the playfield is drawn so that this position is the cell's centre.
Matrix craftMatrix(const Player& craft);

// Where the view stands and looks for one camera mode, in world coordinates.
struct CameraPlacement {
    Vector3<float> eye;
    Vector3<float> target;
    Vector3<float> up;
};

// The camera modes, held as an int (the game's _cameraMode) and stepped through in this order.
// First person looks out of the craft along its drawn heading. Follow and orbit follow it from
// the point (4, 4, -4) of its frame, looking at the craft; orbit swings that point round the
// craft's up by orbitAngle radians, and both bob it along up by bob cells.
constexpr int CAMERA_FIRST_PERSON = 0;
constexpr int CAMERA_FOLLOW = 1;
constexpr int CAMERA_ORBIT = 2;
constexpr int CAMERA_MODE_COUNT = 3;

CameraPlacement placeCamera(const Matrix& frame, int mode, float orbitAngle, float bob);

// A mouselook offset in degrees as the view turns by it: zero below 0.2, at most 90 either way.
float viewTurnDegrees(float degrees);

}  // namespace Vortel

#endif
