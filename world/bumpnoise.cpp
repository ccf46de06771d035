#include "world/bumpnoise.h"

#include <GL/gl.h>

#include <algorithm>

#include "engine2d/bitmap.h"
#include "engine2d/image.h"
#include "engine2d/renderer2d.h"

namespace Vortel {

namespace {

const Quib::AABB2<int> kNoiseRect(0, 0, 170, 128);
const Vector2<int> kNoisePivot(85, 64);

// Six times the picture covers an 800 x 600 window with big, coarse grains; a larger screen
// gets a larger scale so the static still reaches its edges.
float coveringScale(const Vector2<float>& screenSize) {
    const float across = screenSize.x / static_cast<float>(kNoiseRect.max.x - kNoiseRect.min.x);
    const float up = screenSize.y / static_cast<float>(kNoiseRect.max.y - kNoiseRect.min.y);
    return std::max(6.0f, std::max(across, up));
}

// The flash holds its faded end until the next bump, so the fade plays once.
Stelkor::Timeline<float> fadeTimeline() {
    typedef Stelkor::Timeline<float> Fade;
    Fade fade;
    fade.loop = false;
    fade.addKey(Fade::Keyframe{0.0, BumpNoise::START_ALPHA, Fade::KEY_ABSOLUTE});
    fade.addKey(Fade::Keyframe{BumpNoise::FADE_TIME, 0.0f, Fade::KEY_ABSOLUTE});
    return fade;
}

}  // namespace

BumpNoise::BumpNoise(Stelkor::Bitmap& bitmap, const Vector2<float>& screenSize)
    : _bitmap(&bitmap),
      _image(new Stelkor::Image(bitmap, kNoiseRect, kNoisePivot, true)),
      _sprite(new Stelkor::TimelineSprite),
      _random(),
      _jitterInterval(JITTER_INTERVAL),
      _jitterTimer(0.0),
      _textureOffset(0.0f, 0.0f) {
    _sprite->image(*_image);
    _sprite->pos(screenSize.x / 2.0f, screenSize.y / 2.0f);
    const float scale = coveringScale(screenSize);
    _sprite->_scale.set(scale, scale);

    // Sharp grains: the picture is blown up six times, and smoothing would turn it to mush.
    const unsigned int texture = _bitmap->texture();
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    _bitmap->renderer()->_boundTexture = texture;

    Stelkor::Timeline<float> fade = fadeTimeline();
    _sprite->setTimeline(_sprite->_color.a, fade);
    clear();
}

BumpNoise::~BumpNoise() = default;

void BumpNoise::bump() {
    _sprite->rewindAllTimelines();
    // The rewound fade writes its first key only on the next step; show full strength now.
    _sprite->_color.a = START_ALPHA;
}

void BumpNoise::clear() {
    _sprite->rewindAllTimelines();
    _sprite->animate(FADE_TIME);
}

void BumpNoise::animate(double dt) {
    _sprite->animate(dt);
    if (!visible()) {
        return;
    }
    _jitterTimer += dt;
    while (_jitterTimer > _jitterInterval) {
        _jitterTimer -= _jitterInterval;
        jump();
    }
    if (_jitterTimer < 0.0) {
        _jitterTimer = 0.0;
    }
}

// Whole texels only, so the grains stay sharp wherever the picture lands; the top of each
// range can come up, which wraps round to the start.
void BumpNoise::jump() {
    _textureOffset.x = static_cast<float>(static_cast<int>(_random.rand(0.0, 256.0))) / 256.0f;
    _textureOffset.y = static_cast<float>(static_cast<int>(_random.rand(0.0, 128.0))) / 128.0f;
}

void BumpNoise::draw() {
    if (!visible()) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(_textureOffset.x, _textureOffset.y, 0.0f);
    glMatrixMode(GL_MODELVIEW);

    _sprite->draw();

    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace Vortel
