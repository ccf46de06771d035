#ifndef QUELLARIS_WORLD_COLLECTABLE_H
#define QUELLARIS_WORLD_COLLECTABLE_H

#include "platform/math.h"

namespace Vortel {

class Mesh;
class Player;

// A pick-up standing in one playfield cell: a spinning mesh that grows in, lives a while
// and fades out at the end. The playfield owns it (its cell holds it) and clears the cell
// once it has faded out; the game fills the amounts, mesh and life time after the
// playfield has made it, and grants the amounts when the player flies through the cell.
class Collectable {
public:
    Collectable();
    explicit Collectable(Mesh& mesh);
    // Virtual because the playfield deletes pick-ups through this type.
    virtual ~Collectable();

    Vector3<int>& pos() { return _cell; }
    const Vector3<int>& pos() const { return _cell; }

    // Ages the pick-up and sets its opacity: full until the fade begins, then falling
    // linearly to 0 at the end of its life.
    virtual void animate(double dt);
    // The mesh, textured, spun about (1, 1, 0) and grown to 0.7 of a cell, at the cell
    // centre. Draws nothing and changes no state without a mesh.
    virtual void draw();
    // The game grants the amounts itself.
    virtual void affectPlayer(Player& player);

    // The unit cube round the origin as two triangle fans.
    void drawCube() const;

    // Uniform scale of the mesh at the present age.
    float scale() const;
    // Degrees turned about (1, 1, 0) at the present age.
    float spin() const;

    int _scoreAmount;
    int _bombAmount;
    int _ammoAmount;
    int _shieldAmount;
    float _amountScale;
    Vector3<int> _cell;
    Mesh* _mesh;  // not owned; null draws nothing
    double _lifeTime;
    double _fadeTime;
    double _age;
    float _alpha;
};

}  // namespace Vortel

#endif
