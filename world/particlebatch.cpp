#include "world/particlebatch.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "world/coveragemask.h"
#include "world/particle.h"

namespace Vortel {

namespace {

// A quad's two triangles, with the last corner of each the corner the quad's own drawing
// would take its colour from.
const unsigned int QUAD_TRIANGLES[6] = {0, 1, 3, 1, 2, 3};

}  // namespace

const ParticleBatch::Corner ParticleBatch::CORNERS[4] = {
    {-1.0f, -1.0f, 0.0f, 0.0f}, {1.0f, -1.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {-1.0f, 1.0f, 0.0f, 1.0f}};

void ParticleBatch::reserve(int particles) {
    const std::size_t count = particles > 0 ? static_cast<std::size_t>(particles) : 0;
    _vertices.resize(4 * count);
    _indices.resize(6 * count);
    for (std::size_t quad = 0; quad < count; ++quad) {
        for (std::size_t k = 0; k < 6; ++k) {
            _indices[6 * quad + k] = static_cast<unsigned int>(4 * quad + QUAD_TRIANGLES[k]);
        }
    }
    _runs.resize(count);
    _capacity = static_cast<int>(count);
    _quads = 0;
}

void ParticleBatch::release() {
    std::vector<Vertex>().swap(_vertices);
    std::vector<unsigned int>().swap(_indices);
    std::vector<Run>().swap(_runs);
    _capacity = 0;
    _quads = 0;
    _last = nullptr;
}

void ParticleBatch::begin() {
    glGetFloatv(GL_MODELVIEW_MATRIX, _view);
    glGetFloatv(GL_PROJECTION_MATRIX, _projection);
    _quads = 0;
    _sent = 0;
    _runs.clear();
    _last = nullptr;
}

// The same arithmetic as the particle's billboard matrix times its corner, so the pixels
// come out as the one-by-one drawing made them.
void ParticleBatch::add(const Particle& p) {
    if (_capacity == 0) {
        return;
    }
    _last = &p;
    float centre[4];
    p.eyeCentre(_view, centre);
    Vertex quad[4];
    for (int k = 0; k < 4; ++k) {
        corner(p, centre, CORNERS[k], quad[k]);
    }
    if (leftOut(quad)) {
        return;
    }
    send(quad, p._texId);
    ++_sent;
}

bool ParticleBatch::leftOut(const Vertex quad[4]) const {
    float clip[4][4];
    project(quad, clip);
    if (outsideTheView(clip)) {
        return true;
    }
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

void ParticleBatch::send(const Vertex quad[4], int texture) {
    if (_quads == _capacity) {
        flush();
    }
    std::copy(quad, quad + 4, &_vertices[static_cast<std::size_t>(4 * _quads)]);
    if (_runs.empty() || _runs.back().texture != texture) {
        _runs.push_back(Run{_quads, texture});  // within the reserved size
    }
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

// Where blending weighs the particle's colour by its alpha and keeps the destination
// wherever that alpha is 0, and no depth is written, a fragment of alpha 0 changes nothing:
// the alpha test may then drop it before the blend. The transparent corners of a round spark
// are a third of its square.
static bool transparentFragmentsChangeNothing() {
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

void ParticleBatch::flush() {
    if (_quads == 0) {
        return;
    }
    const bool dropTransparent = transparentFragmentsChangeNothing();
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
    for (std::size_t i = 0; i < _runs.size(); ++i) {
        const int begin = _runs[i].first;
        const int end = i + 1 < _runs.size() ? _runs[i + 1].first : _quads;
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(_runs[i].texture));
        glDrawRangeElements(GL_TRIANGLES, static_cast<GLuint>(4 * begin), static_cast<GLuint>(4 * end - 1),
                            6 * (end - begin), GL_UNSIGNED_INT, &_indices[static_cast<std::size_t>(6 * begin)]);
    }
    glPopClientAttrib();
    glPopMatrix();
    if (dropTransparent) {
        glPopAttrib();
    }
    _runs.clear();
    _quads = 0;
}

}  // namespace Vortel
