#include "game/trickpath.h"

#include <algorithm>

namespace Vortel {

namespace {

AABB3<float> cellBox(const Vector3<int>& c) {
    const Vector3<float> centre(c);
    return AABB3<float>(centre.x - 0.5f, centre.y - 0.5f, centre.z - 0.5f, centre.x + 0.5f, centre.y + 0.5f,
                        centre.z + 0.5f);
}

void grow(AABB3<float>& box, const AABB3<float>& other) {
    box.min.set(std::min(box.min.x, other.min.x), std::min(box.min.y, other.min.y), std::min(box.min.z, other.min.z));
    box.max.set(std::max(box.max.x, other.max.x), std::max(box.max.y, other.max.y), std::max(box.max.z, other.max.z));
}

Vector3<float> toFloat(const Vector3<int>& v) { return Vector3<float>(v); }

}  // namespace

Player::direction turnOfMove(unsigned int move) {
    switch (move) {
        case MovementTrack::MOVE_LEFT: return Player::DIR_LEFT;
        case MovementTrack::MOVE_RIGHT: return Player::DIR_RIGHT;
        case MovementTrack::MOVE_UP: return Player::DIR_UP;
        case MovementTrack::MOVE_DOWN: return Player::DIR_DOWN;
        default: return Player::DIR_NONE;
    }
}

AABB3<float> trickPathBounds(const std::list<MovementTrack::Step>& newestFirst) {
    AABB3<float> bounds = cellBox(Vector3<int>());
    walkTrickPath(newestFirst, [&bounds](const TrickPathCell& c) { grow(bounds, cellBox(c.cell)); });
    return bounds;
}

SimpleCamera trickIllustrationCamera(const AABB3<float>& bounds, float aspect) {
    const Vector3<float> centre = bounds.center();
    const Vector3<float> target(centre.x - 0.5f, centre.y - 0.5f, centre.z);
    const Vector3<float> eye(target.x + 10.0f, target.y + 11.0f, target.z + 10.0f);
    return SimpleCamera(eye, target, Vector3<float>(0.0f, 1.0f, 0.0f), 20.0f, 0.1f, 32.0f, aspect);
}

Matrix headingFrame(const Vector3<int>& forward, const Vector3<int>& up) {
    return Matrix(toFloat(forward), toFloat(up), toFloat(grid::cross(up, forward)), Vector3<float>());
}

}  // namespace Vortel
