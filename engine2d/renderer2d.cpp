#include "engine2d/renderer2d.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "engine2d/bitmap.h"
#include "engine2d/font.h"
#include "engine2d/image.h"
#include "engine2d/polyline.h"
#include "engine2d/sprite.h"
#include "engine2d/texturedpolyline.h"

namespace Stelkor {

namespace {

const Quib::AABB2<int> kDefaultViewport(0, 0, 800, 600);

// Radians to degrees with the library's own 6.28 for a full turn.
float degrees(float radians) {
    return static_cast<float>(static_cast<long double>(radians) * 360.0L / 6.28L);
}

void pushTransform(const Vector2<float>& pos, float rotation, float scaleX, float scaleY) {
    glPushMatrix();
    glTranslatef(pos.x, pos.y, 0.0f);
    glRotatef(degrees(rotation), 0.0f, 0.0f, 1.0f);
    glScalef(scaleX, scaleY, 1.0f);
}

void drawQuadFromArrays(const Image& image, GLenum mode) {
    glInterleavedArrays(GL_T2F_V3F, 0, image.vertArray());
    glDrawElements(mode, image.vertIndicesCount(), GL_UNSIGNED_INT, image.vertIndices());
}

void drawOutline(const Image& image) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_TEXTURE_2D);
    drawQuadFromArrays(image, GL_LINE_LOOP);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// Boxes are drawn untextured; filled polygons and no logic operation are restored after.
void beginBox(bool filled, bool xorMode) {
    if (!filled) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    }
    if (xorMode) {
        glEnable(GL_COLOR_LOGIC_OP);
        glLogicOp(GL_XOR);
    }
    glDisable(GL_TEXTURE_2D);
}

void endBox() {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_COLOR_LOGIC_OP);
}

}  // namespace

Renderer2D::Renderer2D() : Renderer2D(kDefaultViewport) {}

Renderer2D::Renderer2D(const Quib::AABB2<int>& box)
    : _color(0, 0, 0, 0),
      _font(nullptr),
      _lineSpacing(0),
      _boundTexture(0),
      _alignH(ALIGN_LEFT),
      _alignV(ALIGN_TOP),
      _textureFilter(FILTER_LINEAR),
      _showImageBorders(false),
      _imageBorderColor(1, 1, 1, 0.5f),
      _glyphTexture(0) {
    _glyphVertices.reserve(20 * GLYPHS_RESERVED);
    vport(box);
}

void Renderer2D::vport(const Quib::AABB2<int>& box) {
    _viewport = box;
    glViewport(box.min.x, box.min.y, box.max.x - box.min.x, box.max.y - box.min.y);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(box.min.x, box.max.x, box.min.y, box.max.y, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glShadeModel(GL_FLAT);
    glDisable(GL_DITHER);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Renderer2D::clear() {
    glEnable(GL_BLEND);
    glClearColor(_color.r, _color.g, _color.b, _color.a);
    glClear(GL_COLOR_BUFFER_BIT);
}

void Renderer2D::color(float r, float g, float b, float a) {
    _color.set(r, g, b, a);
    glColor4f(r, g, b, a);
}

void Renderer2D::color(const RGBA<float>& c) {
    color(c.r, c.g, c.b, c.a);
}

void Renderer2D::applyFilterToBound() const {
    const GLint filter = _textureFilter == FILTER_LINEAR ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

void Renderer2D::textureFilter(TexFilter filter) {
    if (filter == _textureFilter) {
        return;
    }
    _textureFilter = filter;
    for (const unsigned int name : _textures) {
        glBindTexture(GL_TEXTURE_2D, name);
        _boundTexture = name;
        applyFilterToBound();
    }
}

void Renderer2D::makeTexture(Bitmap& bitmap, bool alpha) {
    GLuint name = 0;
    glGenTextures(1, &name);
    _textures.push_back(name);
    glBindTexture(GL_TEXTURE_2D, name);
    _boundTexture = name;
    glTexImage2D(GL_TEXTURE_2D, 0, alpha ? GL_RGBA8 : GL_RGB8, bitmap.w(), bitmap.h(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, bitmap.data());
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    applyFilterToBound();
    bitmap._texture = name;
}

void Renderer2D::destroyTexture(Bitmap& bitmap) {
    const GLuint name = bitmap._texture;
    glDeleteTextures(1, &name);
    // Deleting the bound texture leaves texture 0 bound.
    if (name != 0 && name == _boundTexture) {
        _boundTexture = 0;
    }
    bitmap._texture = 0;
    const auto listed = std::find(_textures.begin(), _textures.end(), name);
    if (listed != _textures.end()) {
        _textures.erase(listed);
    }
}

void Renderer2D::makeTexture(Font& font) {
    makeTexture(font.bitmap(), true);
}

void Renderer2D::destroyTexture(Font& font) {
    destroyTexture(font.bitmap());
}

void Renderer2D::uploadTextureFromFramebuffer(Bitmap& bitmap, const Quib::AABB2<unsigned int>& box) {
    if (bitmap._texture == 0) {
        return;
    }
    bindForDrawing(bitmap._texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLint>(box.min.x), static_cast<GLint>(box.min.y),
                        static_cast<GLsizei>(box.max.x - box.min.x), static_cast<GLsizei>(box.max.y - box.min.y));
}

unsigned int Renderer2D::createImageCache(const Image& image) const {
    const GLuint list = glGenLists(1);
    if (list == 0) {
        return 0;
    }
    glNewList(list, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    drawQuadFromArrays(image, GL_QUADS);
    glEndList();
    return list;
}

void Renderer2D::destroyImageCache(unsigned int list) const {
    glDeleteLists(list, 1);
}

void Renderer2D::bindForDrawing(unsigned int texture) {
    if (texture != _boundTexture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        _boundTexture = texture;
    }
}

void Renderer2D::drawImage(const Image& image, const Vector2<float>& pos, float rotation, float scaleX,
                           float scaleY) {
    pushTransform(pos, rotation, scaleX, scaleY);
    bindForDrawing(image.bitmap()->texture());
    if (image.displayList() != 0) {
        glCallList(image.displayList());
    } else {
        glEnable(GL_TEXTURE_2D);
        drawQuadFromArrays(image, GL_QUADS);
    }
    if (_showImageBorders) {
        GLfloat savedColor[4];
        glGetFloatv(GL_CURRENT_COLOR, savedColor);
        const GLboolean wasTextured = glIsEnabled(GL_TEXTURE_2D);
        glColor4f(_imageBorderColor.r, _imageBorderColor.g, _imageBorderColor.b, _imageBorderColor.a);
        drawOutline(image);
        glColor4fv(savedColor);
        if (wasTextured) {
            glEnable(GL_TEXTURE_2D);
        }
    }
    glPopMatrix();
}

void Renderer2D::drawImageBorder(const Image& image, const Vector2<float>& pos, float rotation, float scaleX,
                                 float scaleY) {
    pushTransform(pos, rotation, scaleX, scaleY);
    drawOutline(image);
    glPopMatrix();
}

float Renderer2D::lineStep(const Font& font, float scaleY) const {
    return static_cast<float>(font.rowHeight() + _lineSpacing) * scaleY;
}

void Renderer2D::getTextSize(Vector2<float>* size, std::vector<float>* lineWidths, const std::string& text,
                             const Font& font, const Vector2<float>& scale) const {
    const float step = lineStep(font, scale.y);
    const float spacing = static_cast<float>(font.spacing()) * scale.x;
    float height = static_cast<float>(font.rowHeight()) * scale.y;
    float width = 0.0f;
    float widest = 0.0f;
    for (const char c : text) {
        if (c == '\n') {
            if (lineWidths != nullptr) {
                lineWidths->push_back(width);
            }
            widest = std::max(widest, width);
            width = 0.0f;
            height += step;
            continue;
        }
        const Image* glyph = font.charImage(static_cast<unsigned char>(c));
        if (glyph != nullptr) {
            width += static_cast<float>(glyph->size().x) * scale.x + spacing;
        }
    }
    if (lineWidths != nullptr) {
        lineWidths->push_back(width);
    }
    if (size != nullptr) {
        size->set(std::max(widest, width), height);
    }
}

float Renderer2D::lineStart(float x, std::size_t line) const {
    switch (_alignH) {
        case ALIGN_CENTER:
            return x - 0.5f * _lineWidths[line];
        case ALIGN_RIGHT:
            return x - _lineWidths[line];
        default:
            return x;
    }
}

void Renderer2D::print(const std::string& text, const Vector2<float>& pos, const Vector2<float>& scale) {
    if (_font == nullptr) {
        return;
    }
    const Font& font = *_font;
    const float step = lineStep(font, scale.y);
    const float spacing = static_cast<float>(font.spacing()) * scale.x;
    Vector2<float> p(pos.x, pos.y - static_cast<float>(font.rowHeight() - font.baseline()) * scale.y);

    _lineWidths.clear();
    const bool aligned = !(_alignH == ALIGN_LEFT && _alignV == ALIGN_TOP);
    if (aligned) {
        Vector2<float> size;
        getTextSize(&size, &_lineWidths, text, font, scale);
        if (_alignV == ALIGN_CENTER) {
            p.y += 0.5f * size.y;
        } else if (_alignV == ALIGN_BOTTOM) {
            p.y += size.y;
        }
    }

    // Whole pixels plus a little, so texel centres fall inside the glyphs' cells.
    Vector2<float> pen(std::trunc(p.x) + 0.15f, std::trunc(p.y) + 0.15f);
    if (aligned && (_alignH == ALIGN_CENTER || _alignH == ALIGN_RIGHT)) {
        pen.x = lineStart(p.x, 0);
    }
    std::size_t line = 0;
    for (const char c : text) {
        if (c == '\n') {
            ++line;
            pen.y -= step;
            pen.x = aligned ? lineStart(p.x, line) : p.x;
            continue;
        }
        const Image* glyph = font.charImage(static_cast<unsigned char>(c));
        if (glyph == nullptr) {
            continue;
        }
        placeGlyph(*glyph, pen, scale);
        pen.x += static_cast<float>(glyph->size().x) * scale.x + spacing;
    }
    drawPlacedGlyphs();
}

// Each corner where drawImage's translation and scale would put it. One array per print spares
// the software GL a matrix change and a flush of its vertices per glyph.
void Renderer2D::placeGlyph(const Image& glyph, const Vector2<float>& pen, const Vector2<float>& scale) {
    if (_showImageBorders) {
        drawImage(glyph, pen, 0.0f, scale.x, scale.y);
        return;
    }
    _glyphTexture = glyph.bitmap()->texture();  // one bitmap holds a font's glyphs
    const float* corner = glyph.vertArray();
    for (int k = 0; k < 4; ++k, corner += 5) {
        const float vertex[5] = {corner[0], corner[1], pen.x + corner[2] * scale.x, pen.y + corner[3] * scale.y,
                                 corner[4]};
        _glyphVertices.insert(_glyphVertices.end(), vertex, vertex + 5);
    }
}

void Renderer2D::drawPlacedGlyphs() {
    if (_glyphVertices.empty()) {
        return;
    }
    bindForDrawing(_glyphTexture);
    glEnable(GL_TEXTURE_2D);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glInterleavedArrays(GL_T2F_V3F, 0, _glyphVertices.data());
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(_glyphVertices.size() / 5));
    glPopClientAttrib();
    _glyphVertices.clear();
}

void Renderer2D::drawBox(const Quib::AABB2<float>& box, bool filled, bool xorMode) const {
    beginBox(filled, xorMode);
    glRectf(box.min.x, box.min.y, box.max.x, box.max.y);
    endBox();
}

void Renderer2D::drawBox(const Quib::AABB2<int>& box, bool filled, bool xorMode) const {
    beginBox(filled, xorMode);
    glRecti(box.min.x, box.min.y, box.max.x, box.max.y);
    endBox();
}

void Renderer2D::drawCross(unsigned int n) const {
    const float reach = static_cast<float>(n);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    glVertex2f(-reach, 0.0f);
    glVertex2f(reach, 0.0f);
    glVertex2f(0.0f, -reach);
    glVertex2f(0.0f, reach);
    glEnd();
}

void Renderer2D::drawLine(const Vector2<float>& a, const Vector2<float>& b) const {
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    glVertex2f(a.x, a.y);
    glVertex2f(b.x, b.y);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

void Renderer2D::drawSprite(const Sprite& sprite) {
    if (!sprite._visible || !sprite.image()) {
        return;
    }
    const RGBA<float> saved = _color;
    _color = sprite.color();
    drawImage(*sprite.image(), sprite.pos(), sprite._rotation, sprite._scale.x, sprite._scale.y);
    _color = saved;
}

void Renderer2D::drawPolyLine(const PolyLine& line) const {
    const GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINE_STRIP);
    for (const Vector2<float>& p : line.points()) {
        glVertex2f(p.x, p.y);
    }
    glEnd();
    if (textured) {
        glEnable(GL_TEXTURE_2D);
    }
}

void Renderer2D::drawTexturedPolyLine(const TexturedPolyLine& line) {
    const GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    if (Bitmap* const bitmap = line.textureBitmap()) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, bitmap->texture());
        _boundTexture = bitmap->texture();
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    const std::vector<Vector2<float> >& strip = line.quadStrip();
    glBegin(GL_QUAD_STRIP);
    for (std::size_t i = 0; i + 1 < strip.size(); i += 2) {
        glTexCoord2f(strip[i].x, strip[i].y);
        glVertex2f(strip[i + 1].x, strip[i + 1].y);
    }
    glEnd();
    if (textured) {
        glEnable(GL_TEXTURE_2D);
    }
}

}  // namespace Stelkor
