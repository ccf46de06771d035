#include <gtest/gtest.h>

#include <cmath>

#include "actors/player.h"
#include "game/craftframe.h"
#include "tests/support/helpers.h"
#include "world/octree.h"

namespace {

using testsupport::expectNear;

using Vortel::Player;

Vector3<float> column(const Matrix& m, int col) {
    return Vector3<float>(static_cast<float>(m(1, col)), static_cast<float>(m(2, col)), static_cast<float>(m(3, col)));
}

TEST(CraftFrameTest, FrameIsLeftUpForwardTurnedByTheDrawnTurn) {
    Vortel::OcTree field(5);
    const float h = std::sqrt(0.5f);
    struct Case {
        Player::direction turn;
        Vector3<float> forward;
        Vector3<float> up;
    };
    const Case cases[] = {
        {Player::DIR_NONE, {0, 0, -1}, {0, 1, 0}},
        {Player::DIR_LEFT, {-h, 0, -h}, {0, 1, 0}},
        {Player::DIR_RIGHT, {h, 0, -h}, {0, 1, 0}},
        {Player::DIR_UP, {0, h, -h}, {0, h, h}},
        {Player::DIR_DOWN, {0, -h, -h}, {0, h, -h}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.turn);
        Player craft("craft", Vector3<int>(5, 6, 7), Vector3<int>::Z_MINUS, Vector3<int>::Y_PLUS, 4.0f, field);
        if (c.turn != Player::DIR_NONE) {
            craft.turn(c.turn);
        }
        craft.update(45.0 / 480.0);  // half a quarter turn at 4 cells a second, within the cell
        const Matrix m = Vortel::craftMatrix(craft);
        expectNear(column(m, 3), c.forward.x, c.forward.y, c.forward.z);
        expectNear(column(m, 2), c.up.x, c.up.y, c.up.z);
        const Vector3<float> left = column(m, 1);
        const Vector3<float> f = column(m, 3);
        const Vector3<float> u = column(m, 2);
        expectNear(left, u.y * f.z - u.z * f.y, u.z * f.x - u.x * f.z, u.x * f.y - u.y * f.x);
        expectNear(column(m, 4), craft._pos.x, craft._pos.y, craft._pos.z);
    }
}

TEST(CraftFrameTest, CameraModesLookOutOfOrFollowTheCraft) {
    // Heading -z with up +y at the origin: left is -x.
    const Matrix frame(Vector3<float>(0, 0, -1), Vector3<float>(0, 1, 0), Vector3<float>(-1, 0, 0),
                       Vector3<float>(0, 0, 0));
    const Vortel::CameraPlacement inside = Vortel::placeCamera(frame, Vortel::CAMERA_FIRST_PERSON, 0.0f, 0.0f);
    expectNear(inside.eye, 0, 0, 0);
    expectNear(inside.target, 0, 0, -1);
    expectNear(inside.up, 0, 1, 0);

    const Vortel::CameraPlacement follow = Vortel::placeCamera(frame, Vortel::CAMERA_FOLLOW, 1.0f, 0.5f);
    expectNear(follow.eye, -4, 4.5f, 4);
    expectNear(follow.target, 0, 0, 0);
    expectNear(follow.up, 0, 1, 0);

    const Vortel::CameraPlacement orbit = Vortel::placeCamera(frame, Vortel::CAMERA_ORBIT, 1.5707963f, 0.0f);
    expectNear(orbit.eye, 4, 4, 4);
}

}  // namespace
