#include "world/particlebatch.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/math.h"
#include "world/coveragemask.h"
#include "world/particle.h"

namespace Vortel {

namespace {

// A quad's two triangles, with the last corner of each the corner the quad's own drawing
// would take its colour from.
const unsigned int QUAD_TRIANGLES[6] = {0, 1, 3, 1, 2, 3};
// An octagon as a fan; every corner has the particle's colour.
const unsigned int OCTAGON_TRIANGLES[18] = {0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5, 0, 5, 6, 0, 6, 7};

// Where blending weighs the particle's colour by its alpha and keeps the destination
// wherever that alpha is 0, and no depth is written, a fragment of alpha 0 changes nothing:
// the alpha test may then drop it before the blend. The transparent corners of a round spark
// are a third of its square.
bool transparentFragmentsChangeNothing() {
    if (glIsEnabled(GL_BLEND) != GL_TRUE || glIsEnabled(GL_ALPHA_TEST) == GL_TRUE) {
        return false;
    }
    GLboolean depthWrites = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    GLint source = 0;
    GLint destination = 0;
    GLint equation = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    glGetIntegerv(GL_BLEND_EQUATION, &equation);
    return depthWrites == GL_FALSE && equation == GL_FUNC_ADD && source == GL_SRC_ALPHA &&
           (destination == GL_ONE || destination == GL_ONE_MINUS_SRC_ALPHA);
}

}  // namespace

const ParticleBatch::Corner ParticleBatch::CORNERS[4] = {
    {-1.0f, -1.0f, 0.0f, 0.0f}, {1.0f, -1.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {-1.0f, 1.0f, 0.0f, 1.0f}};

// The shapes read from textures are forgotten with the storage: textures may be made anew
// under the same names.
void ParticleBatch::reserve(int particles) {
    const std::size_t count = particles > 0 ? static_cast<std::size_t>(particles) : 0;
    _vertices.resize(8 * count);
    _indices.resize(18 * count);
    _runs.resize(count);
    _capacity = static_cast<int>(count);
    _quads = 0;
    _vertexCount = 0;
    _indexCount = 0;
    _shapeCount = 0;
    _lastShape = -1;
}

void ParticleBatch::release() {
    std::vector<Vertex>().swap(_vertices);
    std::vector<unsigned int>().swap(_indices);
    std::vector<Run>().swap(_runs);
    _capacity = 0;
    _quads = 0;
    _vertexCount = 0;
    _indexCount = 0;
    _shapeCount = 0;
    _lastShape = -1;
    _last = nullptr;
}

void ParticleBatch::readView() {
    glGetFloatv(GL_MODELVIEW_MATRIX, _view);
    glGetFloatv(GL_PROJECTION_MATRIX, _projection);
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    _halfViewport[0] = 0.5f * static_cast<float>(viewport[2]);
    _halfViewport[1] = 0.5f * static_cast<float>(viewport[3]);
}

void ParticleBatch::begin() {
    readView();
    // Cutting drops only transparent fragments, which change nothing only under such blending.
    _cut = transparentFragmentsChangeNothing();
    // Fog from the eye plane's distance, as fixed-function GL takes it by default, laid over
    // the vertex colours the texture leaves as they are: with lighting, or a texture that
    // does not modulate, or a second colour added after the texture, the GL's fog stays.
    _fog.baked = false;
    GLint environment = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
    if (glIsEnabled(GL_FOG) == GL_TRUE && glIsEnabled(GL_LIGHTING) == GL_FALSE && glIsEnabled(GL_COLOR_SUM) == GL_FALSE &&
        environment == GL_MODULATE) {
        GLint mode = 0;
        GLint source = 0;
        glGetIntegerv(GL_FOG_MODE, &mode);
        glGetIntegerv(GL_FOG_COORD_SRC, &source);
        float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        glGetFloatv(GL_FOG_START, &_fog.start);
        glGetFloatv(GL_FOG_END, &_fog.end);
        glGetFloatv(GL_FOG_COLOR, color);
        std::copy(color, color + 3, _fog.color);
        _fog.baked = mode == GL_LINEAR && source == GL_FRAGMENT_DEPTH && _fog.end != _fog.start;
    }
    _quads = 0;
    _vertexCount = 0;
    _indexCount = 0;
    _sent = 0;
    _runs.clear();
    _last = nullptr;
}

// The same arithmetic as the particle's billboard matrix times its corner, so the pixels
// come out as the one-by-one drawing made them.
bool ParticleBatch::billboardInView(const Particle& p, float centre[4], Vertex quad[4], float clip[4][4]) const {
    p.eyeCentre(_view, centre);
    for (int k = 0; k < 4; ++k) {
        corner(p, centre, CORNERS[k], quad[k]);
    }
    project(quad, clip);
    return !outsideTheView(clip);
}

double ParticleBatch::screensOf(const Particle& p, float from) const {
    float centre[4];
    Vertex quad[4];
    float clip[4][4];
    if (!billboardInView(p, centre, quad, clip) || pixelsAcross(clip) < from || hiddenBehindCoverage(clip)) {
        return 0.0;
    }
    return screenShare(clip);
}

// A billboard lies square on the screen, from its first corner to its third: the share of
// the screen it covers is its rectangle cut to the screen. One reaching round the eye may
// cover all of it.
double ParticleBatch::screenShare(const float clip[4][4]) {
    for (int k = 0; k < 4; ++k) {
        if (!(clip[k][3] > 0.0f)) {
            return 1.0;
        }
    }
    const auto cut = [](float v) { return std::min(std::max(static_cast<double>(v), -1.0), 1.0); };
    const double across = std::fabs(cut(clip[2][0] / clip[2][3]) - cut(clip[0][0] / clip[0][3]));
    const double up = std::fabs(cut(clip[2][1] / clip[2][3]) - cut(clip[0][1] / clip[0][3]));
    return across * up / 4.0;
}

void ParticleBatch::add(const Particle& p) {
    if (_capacity == 0) {
        return;
    }
    _last = &p;
    float centre[4];
    Vertex quad[4];
    float clip[4][4];
    if (!billboardInView(p, centre, quad, clip)) {
        return;
    }
    // The band goes before the walls' coverage: it costs less, and of two draws over the
    // same particles with bands that meet, each leaves most of them out by it.
    const float pixels = pixelsAcross(clip);
    const bool inBand = pixels >= _band[0] && (pixels < _band[1] || _band[1] == ENDLESS);
    if (!inBand || hiddenBehindCoverage(clip)) {
        return;
    }
    const Shape& shape = shapeOf(p._texId);
    const bool bake = _fog.baked && shape.white;
    if (_cut && shape.cut && pixels >= OCTAGON_PIXELS) {
        Vertex octagon[8];
        for (int k = 0; k < 8; ++k) {
            corner(p, centre, shape.octagon[k], octagon[k]);
        }
        if (bake) {
            bakeFog(centre, octagon, 8);
        }
        send(octagon, 8, OCTAGON_TRIANGLES, 18, p._texId, bake);
    } else {
        if (bake) {
            bakeFog(centre, quad, 4);
        }
        send(quad, 4, QUAD_TRIANGLES, 6, p._texId, bake);
    }
    ++_sent;
}

bool ParticleBatch::hiddenBehindCoverage(const float clip[4][4]) const {
    ScreenPoint points[4];
    return _hiddenBehind != nullptr && onScreen(clip, points) && _hiddenBehind->hides(points, 4, nearestOf(points));
}

void ParticleBatch::corner(const Particle& p, const float centre[4], const Corner& c, Vertex& out) const {
    const float x = c.x * p._size;
    const float y = c.y * p._size;
    out.position[0] = x + centre[0];
    out.position[1] = y + centre[1];
    out.position[2] = centre[2];
    out.position[3] = _view[3] * x + _view[7] * y + centre[3];
    out.texCoord[0] = c.s;
    out.texCoord[1] = c.t;
    out.color[0] = p._color.r;
    out.color[1] = p._color.g;
    out.color[2] = p._color.b;
    out.color[3] = p._color.a;
}

void ParticleBatch::project(const Vertex quad[4], float clip[4][4]) const {
    for (int k = 0; k < 4; ++k) {
        const float* e = quad[k].position;
        for (int row = 0; row < 4; ++row) {
            clip[k][row] = _projection[row] * e[0] + _projection[4 + row] * e[1] + _projection[8 + row] * e[2] +
                           _projection[12 + row] * e[3];
        }
    }
}

// A quad that reaches round the eye may cover the whole view: it counts as endless.
float ParticleBatch::pixelsAcross(const float clip[4][4]) const {
    for (int k = 0; k < 4; ++k) {
        if (!(clip[k][3] > 0.0f)) {
            return ENDLESS;
        }
    }
    const float across = std::fabs(clip[1][0] / clip[1][3] - clip[0][0] / clip[0][3]) * _halfViewport[0];
    const float up = std::fabs(clip[2][1] / clip[2][3] - clip[1][1] / clip[1][3]) * _halfViewport[1];
    return std::max(across, up);
}

void ParticleBatch::learnShape(int texture) {
    if (texture <= 0 || knowsShape(texture) || _shapeCount == SHAPES) {
        return;
    }
    Shape& shape = _shapes[_shapeCount];
    shape.texture = texture;
    readShape(shape);
    ++_shapeCount;
}

bool ParticleBatch::knowsShape(int texture) const {
    for (int i = 0; i < _shapeCount; ++i) {
        if (_shapes[i].texture == texture) {
            return true;
        }
    }
    return false;
}

const ParticleBatch::Shape& ParticleBatch::shapeOf(int texture) {
    static const Shape plain = {0, false, false, {}};
    if (_lastShape >= 0 && _shapes[_lastShape].texture == texture) {
        return _shapes[_lastShape];
    }
    for (int i = 0; i < _shapeCount; ++i) {
        if (_shapes[i].texture == texture) {
            _lastShape = i;
            return _shapes[i];
        }
    }
    return plain;
}

// Reads the texture's level 0. A linear sample takes the texels round it up to one
// texel away on each axis, so beyond the farthest texel that is not wholly transparent, plus
// that reach, every sample is transparent. Mipmaps and texels on the border (which a
// repeating texture carries over to the other side) keep the square.
void ParticleBatch::readShape(Shape& shape) {
    shape.cut = false;
    shape.white = false;
    if (shape.texture <= 0) {
        return;
    }
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(shape.texture));
    GLint width = 0;
    GLint height = 0;
    GLint minFilter = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    if (width > 0 && height > 0) {
        std::vector<unsigned char> texels(4 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        glPixelStorei(GL_PACK_SKIP_ROWS, 0);
        glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        glPopClientAttrib();
        bool white = true;
        bool border = false;
        bool seen = false;
        double farthest = 0.0;
        for (GLint y = 0; y < height; ++y) {
            for (GLint x = 0; x < width; ++x) {
                const unsigned char* texel = &texels[4 * (static_cast<std::size_t>(y) * width + x)];
                white = white && texel[0] == 255 && texel[1] == 255 && texel[2] == 255;
                if (texel[3] == 0) {
                    continue;
                }
                seen = true;
                border = border || x == 0 || y == 0 || x == width - 1 || y == height - 1;
                const double dx = (x + 0.5) / width - 0.5;
                const double dy = (y + 0.5) / height - 0.5;
                farthest = std::max(farthest, dx * dx + dy * dy);
            }
        }
        shape.white = white;
        const double apothem = std::sqrt(farthest) + std::hypot(1.0 / width, 1.0 / height);
        shape.cut = seen && !border && apothem < 0.5 && (minFilter == GL_LINEAR || minFilter == GL_NEAREST);
        const double reach = apothem / std::cos(TRUE_PI<double> / 8.0);
        for (int k = 0; k < 8; ++k) {
            const double angle = TRUE_PI<double> / 8.0 + k * TRUE_PI<double> / 4.0;
            const float s = static_cast<float>(reach * std::cos(angle));
            const float t = static_cast<float>(reach * std::sin(angle));
            shape.octagon[k] = Corner{2.0f * s, 2.0f * t, 0.5f + s, 0.5f + t};
        }
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
}

// The fog of the spark's eye depth, laid over its colour as the GL would lay it over the
// textured fragment: a white texture leaves the colour as it is.
void ParticleBatch::bakeFog(const float centre[4], Vertex* vertices, int count) const {
    const float depth = std::fabs(centre[2]);
    const float f = std::min(std::max((_fog.end - depth) / (_fog.end - _fog.start), 0.0f), 1.0f);
    for (int k = 0; k < count; ++k) {
        float* const color = vertices[k].color;
        for (int c = 0; c < 3; ++c) {
            const float own = std::min(std::max(color[c], 0.0f), 1.0f);
            color[c] = f * own + (1.0f - f) * _fog.color[c];
        }
    }
}

void ParticleBatch::send(const Vertex* vertices, int count, const unsigned int* triangles, int indices, int texture,
                         bool fogBaked) {
    if (_quads == _capacity) {
        flush();
    }
    std::copy(vertices, vertices + count, &_vertices[static_cast<std::size_t>(_vertexCount)]);
    if (_runs.empty() || _runs.back().texture != texture || _runs.back().fogBaked != fogBaked) {
        _runs.push_back(Run{_indexCount, _vertexCount, texture, fogBaked});  // within the reserved size
    }
    unsigned int* const out = &_indices[static_cast<std::size_t>(_indexCount)];
    for (int k = 0; k < indices; ++k) {
        out[k] = static_cast<unsigned int>(_vertexCount) + triangles[k];
    }
    _vertexCount += count;
    _indexCount += indices;
    ++_quads;
}

// A quad whose corners all lie beyond one plane of the view volume is clipped away whole, so
// leaving it out changes no pixel. Beyond means by more than the GL's own arithmetic could
// differ from this.
bool ParticleBatch::outsideTheView(const float clip[4][4]) {
    constexpr float MARGIN = 1.0e-4f;
    unsigned int allOutside = 63;
    for (int k = 0; k < 4; ++k) {
        const float* c = clip[k];
        const float w = c[3];
        unsigned int outside = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const float slack = MARGIN * (std::fabs(c[axis]) + std::fabs(w) + 1.0f);
            outside |= (-c[axis] - w > slack ? 1u : 0u) << (2 * axis);
            outside |= (c[axis] - w > slack ? 1u : 0u) << (2 * axis + 1);
        }
        allOutside &= outside;
    }
    return allOutside != 0;
}

// A corner at or behind the eye's plane is clipped in ways the coverage does not follow: such
// a quad is always sent.
bool ParticleBatch::onScreen(const float clip[4][4], ScreenPoint points[4]) {
    for (int k = 0; k < 4; ++k) {
        const float* c = clip[k];
        if (!(c[3] > 0.0f)) {
            return false;
        }
        const float inverseW = 1.0f / c[3];
        points[k] = ScreenPoint{c[0] * inverseW, c[1] * inverseW, 0.5f * c[2] * inverseW + 0.5f, true};
    }
    return true;
}

// The quad is flat, so none of its fragments lies nearer than its nearest corner.
float ParticleBatch::nearestOf(const ScreenPoint points[4]) {
    return std::min(std::min(points[0].depth, points[1].depth), std::min(points[2].depth, points[3].depth));
}

void ParticleBatch::end() {
    flush();
    if (_last != nullptr) {
        // The last particle may have been left out, its texture never bound.
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(_last->_texId));
        glColor4f(_last->_color.r, _last->_color.g, _last->_color.b, _last->_color.a);
        glTexCoord2f(CORNERS[3].s, CORNERS[3].t);
    }
}

void ParticleBatch::flush() {
    if (_quads == 0) {
        return;
    }
    const bool dropTransparent = _cut;
    if (dropTransparent) {
        glPushAttrib(GL_COLOR_BUFFER_BIT);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.0f);
    }
    glPushMatrix();
    glLoadIdentity();
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glDisableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    const Vertex* const first = _vertices.data();
    glVertexPointer(4, GL_FLOAT, sizeof(Vertex), first->position);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), first->texCoord);
    glColorPointer(4, GL_FLOAT, sizeof(Vertex), first->color);
    const bool fog = glIsEnabled(GL_FOG) == GL_TRUE;
    bool fogOn = fog;
    for (std::size_t i = 0; i < _runs.size(); ++i) {
        const Run& run = _runs[i];
        const bool last = i + 1 == _runs.size();
        const int end = last ? _indexCount : _runs[i + 1].first;
        const int endVertex = last ? _vertexCount : _runs[i + 1].firstVertex;
        if (fog && fogOn == run.fogBaked) {
            fogOn = !run.fogBaked;
            if (fogOn) {
                glEnable(GL_FOG);
            } else {
                glDisable(GL_FOG);
            }
        }
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(run.texture));
        glDrawRangeElements(GL_TRIANGLES, static_cast<GLuint>(run.firstVertex), static_cast<GLuint>(endVertex - 1),
                            end - run.first, GL_UNSIGNED_INT, &_indices[static_cast<std::size_t>(run.first)]);
    }
    if (fog && !fogOn) {
        glEnable(GL_FOG);
    }
    glPopClientAttrib();
    glPopMatrix();
    if (dropTransparent) {
        glPopAttrib();
    }
    _runs.clear();
    _quads = 0;
    _vertexCount = 0;
    _indexCount = 0;
}

}  // namespace Vortel
