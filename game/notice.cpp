#include "game/notice.h"

#include <GL/gl.h>

#include <algorithm>

#include "engine2d/renderer2d.h"

namespace Vortel {

void Notice::show(const std::string& line) {
    if (std::find(_lines.begin(), _lines.end(), line) == _lines.end()) {
        _lines.push_back(line);
        _text.append(line).append("\n");
    }
    _time = 0.0;
}

void Notice::animate(double dt) {
    if (!shown()) {
        return;
    }
    _time += dt;
    if (_time > holdSeconds + fadeSeconds) {
        _lines.clear();
        _text.clear();
        _time = 0.0;
    }
}

float Notice::alpha() const {
    if (!shown()) {
        return 0.0f;
    }
    return static_cast<float>(std::clamp(1.0 - (_time - holdSeconds) / fadeSeconds, 0.0, 1.0));
}

void Notice::draw(Stelkor::Renderer2D& renderer, const Vector2<float>& top, const RGBA<float>& color) const {
    if (!shown()) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    renderer.color(color.r, color.g, color.b, color.a * alpha());
    renderer.textAlign(Stelkor::Renderer2D::ALIGN_CENTER, Stelkor::Renderer2D::ALIGN_TOP);
    renderer.print(text(), top, Vector2<float>(1.0f, 1.0f));
}

}  // namespace Vortel
