#ifndef QUELLARIS_ENGINE2D_SPRITE_H
#define QUELLARIS_ENGINE2D_SPRITE_H

#include <list>

#include "platform/math.h"

namespace Stelkor {

class Image;

// A node of the retained 2D scene: an optional image drawn at an absolute position with a
// tint, rotation and scale, simple polar motion, and owned children placed relative to it.
// animate() on a root moves the whole tree, parents before children; draw() draws it.
class Sprite {
public:
    Sprite();
    virtual ~Sprite();

    // Copies go through copyTo()/duplicate(), which know what to do with the children.
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    void pos(const Vector2<float>& p) { _pos = p; }
    Sprite& pos(float x, float y);
    const Vector2<float>& pos() const { return _pos; }
    Sprite& posBy(const Vector2<float>& d);
    Sprite& posBy(float dx, float dy);
    // Screen position; the next animate() recomputes it from the tree.
    void posAbs(const Vector2<float>& p) { _posAbs = p; }
    const Vector2<float>& posAbs() const { return _posAbs; }

    void vel(const RadVector2<float>& v) { _vel = v; }
    Sprite& vel(float length, float angle);
    const RadVector2<float>& vel() const { return _vel; }
    Sprite& velBy(const RadVector2<float>& d);

    void color(const RGBA<float>& c) { _color = c; }
    void color(float r, float g, float b, float a) { _color.set(r, g, b, a); }
    const RGBA<float>& color() const { return _color; }

    // Not owned: the image must outlive the sprite's drawing.
    void image(Image& img) { _image = &img; }
    Image* image() const { return _image; }

    // Leaves the old parent's child list and joins the end of the new one's (null: none).
    void parent(Sprite* p);
    Sprite* parent() const { return _parent; }
    std::list<Sprite*>& children() { return _children; }
    const std::list<Sprite*>& children() const { return _children; }
    void deleteChildren();

    void pause(bool p) { _paused = p; }
    bool paused() const { return _paused; }
    float age() const { return _age; }
    float distance() const { return _distance; }

    void animateLocal(double dt);
    void drawLocal(bool unused = false);

    virtual void animate(double dt);
    virtual void draw();
    virtual Sprite* duplicate() const;

    // Copies the look and motion onto target and gives it duplicates of this sprite's
    // children in place of its own. The target keeps its own place in the tree: a copy is a
    // root until it is given a parent, so it never refers to a parent that does not list it.
    // Onto itself or one of its ancestors it changes nothing.
    void copyTo(Sprite* target) const;

    // Written directly by the game and aimed at by timelines.
    Vector2<float> _pos;     // relative to the parent's absolute position
    RadVector2<float> _vel;  // pixels per second along an angle in radians
    RGBA<float> _color;
    float _rotation;  // radians
    float _spin;      // radians per second
    Vector2<float> _scale;
    Vector2<float> _scaleVel;  // per second
    float _acceleration;       // change of speed per second
    bool _visible;
    bool drawImageFirst;  // false: children first, own image on top

protected:
    Vector2<float> _posAbs;
    Image* _image;
    Sprite* _parent;
    std::list<Sprite*> _children;
    bool _paused;  // stops timelines only; the sprite's own motion goes on
    float _age;
    float _distance;

private:
    void drawImage() const;
};

}  // namespace Stelkor

#endif
