#ifndef QUELLARIS_ENGINE2D_MENUSLIDER_H
#define QUELLARIS_ENGINE2D_MENUSLIDER_H

#include "engine2d/sprite.h"
#include "platform/math.h"

namespace Stelkor {

// A horizontal slider: a handle moving in whole steps along a bar. It turns dragged mouse
// movement into a step index and shows a step index as a handle position. Its sprites form
// the tree origin -> inner -> (handle, bar); the inner sprite's position is the slider's
// offset from its origin, and the handle's x runs from 0 at the bar's left end.
class MenuSlider {
public:
    MenuSlider(Sprite& handle, Sprite& bar);
    MenuSlider(const MenuSlider& other);
    MenuSlider& operator=(const MenuSlider& other);
    virtual ~MenuSlider();

    virtual void draw();
    virtual void animate(double dt);

    void origin(const Vector2<float>& p) { _originSprite.pos(p); }
    void pos(const Vector2<float>& p) { _innerSprite.pos(p); }
    void pos(float x, float y) { _innerSprite.pos(x, y); }
    const Vector2<float>& pos() const { return _innerSprite.pos(); }

    // Step counts below one count as one, and a step is at least one pixel wide.
    void steps(int n);
    void range(int min, int max, float step);

    void startDrag();
    void stopDrag() { _isDragging = false; }
    bool dragging() const { return _isDragging; }
    // Only while dragging; the vertical part of the movement is not used.
    void drag(const Vector2<float>& movement);

    void value(int v);
    int value() const;

    // The handle stays on the bar and snaps down to a whole step; the drag position itself
    // is not clamped, so a drag past an end must be undone before the handle comes back.
    void refreshHandle();
    bool mouseHitHandle(const Vector2<float>& p) const;
    // Handle and bar images as placed by the last animate().
    Quib::AABB2<float> bbox() const;

    Sprite* handle() const { return _handle; }
    Sprite* bar() const { return _bar; }
    int pixelsPerStep() const { return _pixelsPerStep; }
    int stepCount() const { return _stepCount; }

private:
    void link();
    void adopt(const MenuSlider& other);
    void takeSprites(const Sprite* handle, const Sprite* bar);
    void deleteSprites();
    int barWidth() const;
    void computePixelsPerStep();

    Sprite _innerSprite;
    Sprite _originSprite;
    Sprite* _handle;  // owned, as a child of _innerSprite
    Sprite* _bar;     // owned, as a child of _innerSprite
    Vector2<float> _dragPos;
    bool _isDragging;
    int _minValue;
    int _maxValue;
    float _step;
    int _stepCount;
    int _pixelsPerStep;
};

}  // namespace Stelkor

#endif
