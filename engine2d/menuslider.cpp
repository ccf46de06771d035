#include "engine2d/menuslider.h"

#include <algorithm>

#include "engine2d/image.h"

namespace Stelkor {

namespace {

Quib::AABB2<float> imageBox(const Sprite* s) {
    const Vector2<float>& p = s->posAbs();
    const Image* image = s->image();
    const Vector2<int> size = image ? image->size() : Vector2<int>();
    return Quib::AABB2<float>(p, p + Vector2<float>(static_cast<float>(size.x), static_cast<float>(size.y)));
}

}  // namespace

MenuSlider::MenuSlider(Sprite& handle, Sprite& bar)
    : _handle(nullptr),
      _bar(nullptr),
      _isDragging(false),
      _minValue(0),
      _maxValue(10),
      _step(1.0f),
      _stepCount(10),
      _pixelsPerStep(1) {
    link();
    takeSprites(&handle, &bar);
    computePixelsPerStep();
}

MenuSlider::MenuSlider(const MenuSlider& other)
    : _handle(nullptr),
      _bar(nullptr),
      _isDragging(false),
      _minValue(0),
      _maxValue(10),
      _step(1.0f),
      _stepCount(10),
      _pixelsPerStep(1) {
    link();
    adopt(other);
}

MenuSlider& MenuSlider::operator=(const MenuSlider& other) {
    if (this != &other) {
        deleteSprites();
        _dragPos = Vector2<float>();
        adopt(other);
    }
    return *this;
}

// The inner sprite is a member, not a heap child: it leaves the origin's list before the
// origin could delete it. Handle and bar go with the inner sprite's children.
MenuSlider::~MenuSlider() {
    _innerSprite.parent(nullptr);
}

void MenuSlider::link() {
    _innerSprite.parent(&_originSprite);
}

void MenuSlider::adopt(const MenuSlider& other) {
    takeSprites(other._handle, other._bar);
    _isDragging = false;
    _originSprite.pos(other._originSprite.pos());
    _innerSprite.pos(other._innerSprite.pos());
    _minValue = other._minValue;
    _maxValue = other._maxValue;
    _step = other._step;
    _stepCount = other._stepCount;
    computePixelsPerStep();
}

void MenuSlider::takeSprites(const Sprite* handle, const Sprite* bar) {
    if (handle) {
        _handle = handle->duplicate();
        _handle->parent(&_innerSprite);
    }
    if (bar) {
        _bar = bar->duplicate();
        _bar->parent(&_innerSprite);
    }
}

void MenuSlider::deleteSprites() {
    delete _handle;
    delete _bar;
    _handle = nullptr;
    _bar = nullptr;
}

void MenuSlider::draw() {
    _originSprite.drawLocal();
}

void MenuSlider::animate(double dt) {
    _originSprite.animate(dt);
}

int MenuSlider::barWidth() const {
    return _bar && _bar->image() ? _bar->image()->size().x : 0;
}

void MenuSlider::computePixelsPerStep() {
    _stepCount = std::max(1, _stepCount);
    _pixelsPerStep = std::max(1, barWidth() / _stepCount);
}

void MenuSlider::steps(int n) {
    _stepCount = n;
    computePixelsPerStep();
}

void MenuSlider::range(int min, int max, float step) {
    _step = step;
    _maxValue = max;
    _minValue = min;
    _stepCount = step > 0 ? static_cast<int>(static_cast<float>(max - min) / step) : 1;
    computePixelsPerStep();
}

void MenuSlider::startDrag() {
    _isDragging = true;
    if (_handle) {
        _dragPos = _handle->pos();
    }
}

void MenuSlider::drag(const Vector2<float>& movement) {
    if (!_isDragging) {
        return;
    }
    _dragPos.x += movement.x;
    refreshHandle();
}

void MenuSlider::value(int v) {
    v = std::min(std::max(v, _minValue), _maxValue);
    _dragPos.x = static_cast<float>(v * _pixelsPerStep);
    refreshHandle();
}

int MenuSlider::value() const {
    return _handle ? static_cast<int>(_handle->pos().x) / _pixelsPerStep : 0;
}

void MenuSlider::refreshHandle() {
    if (!_handle) {
        return;
    }
    const float x = std::min(std::max(_dragPos.x, 0.0f), static_cast<float>(barWidth()));
    const int snapped = static_cast<int>(x) / _pixelsPerStep * _pixelsPerStep;
    _handle->pos(static_cast<float>(snapped), _dragPos.y);
}

bool MenuSlider::mouseHitHandle(const Vector2<float>& p) const {
    if (!_handle || !_handle->image()) {
        return false;
    }
    const Quib::AABB2<float> box(p.x - 4, p.y - 4, p.x + 4, p.y + 4);
    return Image::collision(*_handle->image(), _handle->posAbs(), 128, box) > 0;
}

Quib::AABB2<float> MenuSlider::bbox() const {
    if (!_handle && !_bar) {
        return Quib::AABB2<float>(0, 0, 0, 0);
    }
    if (!_handle || !_bar) {
        return imageBox(_handle ? _handle : _bar);
    }
    const Quib::AABB2<float> a = imageBox(_handle);
    const Quib::AABB2<float> b = imageBox(_bar);
    return Quib::AABB2<float>(std::min(a.min.x, b.min.x), std::min(a.min.y, b.min.y), std::max(a.max.x, b.max.x),
                              std::max(a.max.y, b.max.y));
}

}  // namespace Stelkor
