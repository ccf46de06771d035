#include "world/mesh.h"

#include <GL/gl.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <istream>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "platform/boundedfile.h"
#include "platform/geometry.h"

namespace Vortel {

namespace {

const int NO_INDEX = -1;

Vector3<float> sub(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.x - b.x, a.y - b.y, a.z - b.z);
}

Vector3<float> cross(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

Vector3<float> normalise(const Vector3<float>& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0.0f ? Vector3<float>(v.x / length, v.y / length, v.z / length) : v;
}

// Looks an index up in a vector, giving a zero value for anything outside it.
template <typename T>
T lookup(const std::vector<T>& values, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < values.size() ? values[static_cast<std::size_t>(index)]
                                                                          : T();
}

// A decimal integer with an optional sign at text[pos]; advances pos past it. Values beyond
// an int do not read, so no index overflows when it is made 0-based.
bool readInteger(std::string_view text, std::size_t& pos, int& value) {
    std::size_t i = pos;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digits = i;
    long long magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > INT_MAX) {
            return false;
        }
        ++i;
    }
    if (i == digits) {
        return false;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    pos = i;
    return true;
}

// One corner word: p, p/t or p/t/n, where the separator may be any one character. Forms
// with a number missing inside (p//n, p/, p/t/) or anything after the third number give no
// corner.
bool readCorner(std::string_view word, Mesh::FaceVertex& corner) {
    std::size_t pos = 0;
    int numbers[3] = {0, 0, 0};
    int count = 0;
    while (count < 3) {
        if (count > 0) {
            if (pos == word.size()) {
                break;
            }
            ++pos;  // the separator
        }
        if (!readInteger(word, pos, numbers[count])) {
            return false;
        }
        ++count;
    }
    if (pos != word.size()) {
        return false;
    }
    corner.position = numbers[0] - 1;
    corner.texCoord = count > 1 ? numbers[1] - 1 : NO_INDEX;
    corner.normal = count > 2 ? numbers[2] - 1 : NO_INDEX;
    return true;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

Mesh::Face readFace(std::string_view line) {
    Mesh::Face face;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && isBlank(line[pos])) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < line.size() && !isBlank(line[pos])) {
            ++pos;
        }
        Mesh::FaceVertex corner;
        if (pos > start && readCorner(line.substr(start, pos - start), corner)) {
            face.push_back(corner);
        }
    }
    return face;
}

// The rest of the line after an "f" keyword, without the CR of a CR LF line end. False when
// the text has ended or the rest is too long for the face reader.
bool readFaceLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line.size() <= Mesh::MAX_FACE_LINE;
}

}  // namespace

Mesh::Mesh()
    : _vertArrayFloats(0),
      _vertArrayBytes(0),
      _vertCount(0),
      _bounds(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f),
      _displayList(0),
      _texId(0) {}

Mesh::Mesh(const std::string& path) : Mesh() {
    _bounds = AABB3<float>(FLT_MAX, FLT_MAX, FLT_MAX, FLT_MIN, FLT_MIN, FLT_MIN);
    load(path);
}

Mesh::~Mesh() {}

void Mesh::load(const std::string& path) {
    std::string why;
    try {
        std::string contents;
        ReadFailure failure;
        if (!readBoundedFile(path, MAX_FILE_BYTES, contents, &failure)) {
            why = failure.reason;
        } else {
            std::istringstream text(contents);
            contents = std::string();
            if (!read(text)) {
                why = "more than " + std::to_string(MAX_FACES) + " faces";
            }
        }
    } catch (const std::exception&) {
        // A hostile file that needs more memory than there is.
        why = "not enough memory to read it";
    }
    if (!why.empty()) {
        // The error itself names no file; this line, just before it, says which and why.
        std::fprintf(stderr, "Cannot load mesh file %s: %s\n", path.c_str(), why.c_str());
        std::fflush(stderr);
        throw std::runtime_error("cannot open mesh file");
    }
    _center = _bounds.center();
    createVertArray();
}

bool Mesh::read(std::istream& text) {
    // Word by word, not line by line: any word that is not a keyword is skipped on its own,
    // so the words of comments and other statements are looked at one by one.
    std::string word;
    std::string line;
    bool reading = true;
    while (reading && text >> word) {
        if (word == "v") {
            Vector3<float> p;
            reading = static_cast<bool>(text >> p.x >> p.y >> p.z);
            if (reading) {
                _positions.push_back(p);
                _bounds.min.set(std::min(_bounds.min.x, p.x), std::min(_bounds.min.y, p.y),
                                std::min(_bounds.min.z, p.z));
                _bounds.max.set(std::max(_bounds.max.x, p.x), std::max(_bounds.max.y, p.y),
                                std::max(_bounds.max.z, p.z));
            }
        } else if (word == "vt") {
            Vector2<float> t;
            reading = static_cast<bool>(text >> t.x >> t.y);
            if (reading) {
                _texCoords.push_back(t);
            }
        } else if (word == "vn") {
            Vector3<float> n;
            reading = static_cast<bool>(text >> n.x >> n.y >> n.z);
            if (reading) {
                _normals.push_back(n);
            }
        } else if (word == "f") {
            reading = readFaceLine(text, line);
            if (reading) {
                if (_faces.size() == MAX_FACES) {
                    return false;
                }
                _faces.push_back(readFace(line));
            }
        }
    }
    return true;
}

bool Mesh::isTriangle(const Face& face) const {
    if (face.size() < VERTICES_PER_FACE) {
        return false;
    }
    for (int i = 0; i < VERTICES_PER_FACE; ++i) {
        const int index = face[static_cast<std::size_t>(i)].position;
        if (index < 0 || static_cast<std::size_t>(index) >= _positions.size()) {
            return false;
        }
    }
    return true;
}

// Every face gets exactly three vertices. A face that is not a triangle of known positions
// stays all zero, a degenerate triangle that draws nothing; extra corners are dropped.
void Mesh::createVertArray() {
    // load() keeps the face count at MAX_FACES, far below where the byte count would leave an int.
    _vertCount = VERTICES_PER_FACE * static_cast<int>(std::min(_faces.size(), MAX_FACES));
    _vertArrayFloats = FLOATS_PER_VERTEX * _vertCount;
    _vertArrayBytes = _vertArrayFloats * static_cast<int>(sizeof(float));
    _vertArray.assign(static_cast<std::size_t>(_vertArrayFloats), 0.0f);

    float* out = _vertArray.data();
    for (const Face& face : _faces) {
        if (out == _vertArray.data() + _vertArray.size()) {
            break;
        }
        if (!isTriangle(face)) {
            out += FLOATS_PER_VERTEX * VERTICES_PER_FACE;
            continue;
        }
        for (int i = 0; i < VERTICES_PER_FACE; ++i) {
            const FaceVertex& corner = face[static_cast<std::size_t>(i)];
            const Vector2<float> t = lookup(_texCoords, corner.texCoord);
            const Vector3<float> n = lookup(_normals, corner.normal);
            const Vector3<float> p = lookup(_positions, corner.position);
            const float vertex[FLOATS_PER_VERTEX] = {t.x, t.y, n.x, n.y, n.z, p.x, p.y, p.z};
            std::copy(vertex, vertex + FLOATS_PER_VERTEX, out);
            out += FLOATS_PER_VERTEX;
        }
    }
}

// Built from the vertex array, so the list and the array always show the same triangles.
void Mesh::createDisplayList() {
    _displayList = glGenLists(1);
    glNewList(_displayList, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    for (int v = 0; v < _vertCount; ++v) {
        const float* vertex = _vertArray.data() + FLOATS_PER_VERTEX * v;
        glNormal3fv(vertex + 2);
        glTexCoord2fv(vertex);
        glVertex3fv(vertex + 5);
    }
    glEnd();
    glEndList();
}

void Mesh::bindTexture() const {
    if (_texId != 0) {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(_texId));
    }
}

void Mesh::draw() {
    bindTexture();
    glCallList(_displayList);
}

void Mesh::draw(const Vector3<float>& pos) {
    bindTexture();
    glTranslatef(pos.x, pos.y, pos.z);
    glCallList(_displayList);
}

// The client arrays are saved and restored around the draw: a texture-coordinate array left
// enabled here would make the next large batched draw read far past this small array.
void Mesh::drawArrays() const {
    if (_vertCount == 0) {
        return;
    }
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, _vertArray.data());
    glDrawArrays(GL_TRIANGLES, 0, _vertCount);
    glPopClientAttrib();
}

void Mesh::drawVertArray(bool bindTextureToo) {
    if (bindTextureToo) {
        bindTexture();
    }
    drawArrays();
}

void Mesh::drawVertArray(const Vector3<float>& pos) {
    bindTexture();
    glPushMatrix();
    glTranslatef(pos.x, pos.y, pos.z);
    drawArrays();
    glPopMatrix();
}

void Mesh::drawVertArray(const Vector3<int>& cell) {
    drawVertArray(Vector3<float>(cell));
}

int Mesh::copyVertArray(float* dst, const Vector3<float>& offset, const Vector2<float>& texOffset) const {
    const float shift[FLOATS_PER_VERTEX] = {texOffset.x, texOffset.y, 0.0f, 0.0f, 0.0f, offset.x, offset.y, offset.z};
    for (int i = 0; i < _vertArrayFloats; ++i) {
        dst[i] = _vertArray[static_cast<std::size_t>(i)] + shift[i % FLOATS_PER_VERTEX];
    }
    return _vertArrayFloats;
}

bool Mesh::rayHit(const Ray3<float>& ray, const Vector3<float>& pos, Vector3<float>* hitPoint, float* distance) {
    Ray3<float> local = ray;
    local.origin = sub(ray.origin, pos);
    if (!RayAABBintersection(_bounds.min, _bounds.max, local)) {
        return false;
    }
    for (const Face& face : _faces) {
        if (!isTriangle(face)) {
            continue;
        }
        const Vector3<float>& p1 = _positions[static_cast<std::size_t>(face[0].position)];
        const Vector3<float>& p2 = _positions[static_cast<std::size_t>(face[1].position)];
        const Vector3<float>& p3 = _positions[static_cast<std::size_t>(face[2].position)];
        const Triangle triangle{p1, p3, p2};
        if (!RayTriangleIntersection(triangle, local, &_hitPoint, distance)) {
            continue;
        }
        _hitNormal = normalise(cross(sub(p3, p1), sub(p2, p1)));
        _hitTangent = normalise(sub(p3, p1));
        if (hitPoint != nullptr) {
            hitPoint->set(_hitPoint.x + pos.x, _hitPoint.y + pos.y, _hitPoint.z + pos.z);
        }
        return true;
    }
    return false;
}

}  // namespace Vortel
