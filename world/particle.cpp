#include "world/particle.h"

#include <GL/gl.h>

#include <iterator>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>

#include "platform/crand.h"

namespace Vortel {

// Slots are constructed over and destroyed in place many times; only a trivial destructor
// makes that and the pool's final delete[] harmless.
static_assert(std::is_trivially_destructible<Particle>::value, "pool slots must be trivially destructible");

Vector3<float> Particle::_cameraPos;
std::list<Particle*> Particle::_usedParticles;
std::list<Particle*> Particle::_freeParticles;
std::vector<Particle::ListIt> Particle::_slotNode;
std::vector<bool> Particle::_slotInUse;
std::uintptr_t Particle::_releasedBegin = 0;
std::uintptr_t Particle::_releasedEnd = 0;
Particle* Particle::_mem = nullptr;
int Particle::_particleCount = 0;
int Particle::_particleCountMax = 0;
ParticleBatch Particle::_batch;

namespace {

// One draw per component, in x, y, z order.
Vector3<float> rangedVector(const Vector3<float>& base, const Vector3<float>& range) {
    const float x = Particle::ranged(base.x, range.x);
    const float y = Particle::ranged(base.y, range.y);
    const float z = Particle::ranged(base.z, range.z);
    return Vector3<float>(x, y, z);
}

// One draw per channel, in r, g, b, a order.
RGBA<float> rangedColor(const RGBA<float>& base, const RGBA<float>& range) {
    const float r = Particle::ranged(base.r, range.r);
    const float g = Particle::ranged(base.g, range.g);
    const float b = Particle::ranged(base.b, range.b);
    const float a = Particle::ranged(base.a, range.a);
    return RGBA<float>(r, g, b, a);
}

float squaredDistance(const Vector3<float>& a, const Vector3<float>& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

std::uintptr_t address(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

// A block of n slots that does not lie on [avoidBegin, avoidEnd), the last released pool: the
// heap likes to hand that memory straight back. Blocks that land there are held until one lands
// elsewhere, then returned. Null when the heap has no room.
Particle* allocateSlotsAvoiding(std::size_t n, std::uintptr_t avoidBegin, std::uintptr_t avoidEnd) {
    const auto overlaps = [&](const Particle* mem) {
        return address(mem) < avoidEnd && avoidBegin < address(mem + n);
    };
    std::vector<std::unique_ptr<Particle[]>> held;
    Particle* mem = new (std::nothrow) Particle[n];
    while (mem != nullptr && overlaps(mem)) {
        held.push_back(std::unique_ptr<Particle[]>(mem));
        mem = new (std::nothrow) Particle[n];
    }
    return mem;
}

}  // namespace

float Particle::ranged(float base, float range) {
    return base + (static_cast<float>(crand::rand()) * (range - -range) / 32767.0f + -range);
}

Particle::Particle()
    : _velFactor(0.0f),
      _size(1.0f),
      _sizeDelta(0.0f),
      _age(0.0f),
      _systemOrigin(nullptr),
      _distance(0.0f),
      _texId(0),
      _lifeTime(-1.0f) {}

Particle::Particle(const Vector3<float>& pos, const Vector3<float>& vel, float size) : Particle() {
    _pos = pos;
    _vel = vel;
    _size = size;
}

Particle::Particle(const CreateData& t)
    : _velFactor(t.velFactor),
      _age(0.0f),
      _systemOrigin(t.origin),
      _distance(0.0f),
      _texId(t.texId),
      _lifeTime(t.lifeTime) {
    _pos = rangedVector(t.posBase, t.posRange);
    const Vector3<float> dir = rangedVector(t.dirBase, t.dirRange);
    const float speed = ranged(t.speedBase, t.speedRange);
    _vel = Vector3<float>(dir.x * speed, dir.y * speed, dir.z * speed);
    _size = ranged(t.sizeBase, t.sizeRange);
    _sizeDelta = ranged(t.sizeDeltaBase, t.sizeDeltaRange);
    _color = rangedColor(t.colorBase, t.colorRange);
    _colorDelta = rangedColor(t.colorDeltaBase, t.colorDeltaRange);
}

void* Particle::operator new(std::size_t) {
    if (_particleCount == _particleCountMax) {
        throw std::runtime_error("out of particle memory - max number of particles reached");
    }
    if (_mem == nullptr) {
        throw std::runtime_error("particle management engine not initialised");
    }
    const ListIt node = std::prev(_freeParticles.end());
    _usedParticles.splice(_usedParticles.end(), _freeParticles, node);
    _slotInUse[static_cast<std::size_t>(*node - _mem)] = true;
    ++_particleCount;
    return *node;
}

void Particle::operator delete(void* p) noexcept {
    if (_mem == nullptr || p == nullptr) {
        return;
    }
    // Only a slot boundary of this pool that is handed out counts: a stale pointer from before
    // a release, or a second delete, must not free a live slot.
    const std::uintptr_t begin = address(_mem);
    if (address(p) < begin || (address(p) - begin) % sizeof(Particle) != 0) {
        return;
    }
    const std::size_t slot = (address(p) - begin) / sizeof(Particle);
    if (slot >= _slotInUse.size() || !_slotInUse[slot]) {
        return;
    }
    _slotInUse[slot] = false;
    _freeParticles.splice(_freeParticles.end(), _usedParticles, _slotNode[slot]);
    --_particleCount;
}

void Particle::initParticleManagement(int n) {
    if (_mem != nullptr) {
        return;
    }
    if (n < MIN_POOL_SIZE) {
        n = MIN_POOL_SIZE;
    }
    const std::size_t slots = static_cast<std::size_t>(n);
    Particle* mem = nullptr;
    try {
        mem = allocateSlotsAvoiding(slots, _releasedBegin, _releasedEnd);
        if (mem == nullptr) {
            throw std::bad_alloc();
        }
        _slotNode.reserve(slots);
        _batch.reserve(n);
        for (std::size_t i = 0; i < slots; ++i) {
            _slotNode.push_back(_freeParticles.insert(_freeParticles.end(), mem + i));
        }
        _slotInUse.assign(slots, false);
    } catch (const std::bad_alloc&) {
        _freeParticles.clear();
        _slotNode.clear();
        _slotInUse.clear();
        _batch.release();
        delete[] mem;
        throw std::runtime_error("not enough memory to initialise particle system");
    }
    _mem = mem;
    _particleCountMax = n;
    _particleCount = 0;
}

void Particle::releaseParticleManagement() {
    if (_mem != nullptr) {
        _releasedBegin = address(_mem);
        _releasedEnd = address(_mem + _particleCountMax);
    }
    delete[] _mem;
    _mem = nullptr;
    _usedParticles.clear();
    _freeParticles.clear();
    _slotNode.clear();
    _slotNode.shrink_to_fit();
    _slotInUse.clear();
    _slotInUse.shrink_to_fit();
    _batch.release();
    _particleCountMax = 0;
    _particleCount = 0;
}

void Particle::sort(const Vector3<float>& camera) {
    _cameraPos = camera;
    updateDistanceFromCamera();
    _usedParticles.sort([](const Particle* a, const Particle* b) { return *a < *b; });
}

void Particle::updateDistanceFromCamera() {
    for (Particle* const p : _usedParticles) {
        p->_distance = squaredDistance(p->_pos, _cameraPos);
    }
}

void Particle::drawAll() { _batch.draw(_usedParticles); }

Vector3<float> Particle::worldPos() const {
    if (_systemOrigin == nullptr) {
        return _pos;
    }
    return Vector3<float>(_pos.x + _systemOrigin->x, _pos.y + _systemOrigin->y, _pos.z + _systemOrigin->z);
}

void Particle::eyeCentre(const float* view, float* out) const {
    const Vector3<float> p = worldPos();
    for (int row = 0; row < 4; ++row) {
        out[row] = view[row] * p.x + view[4 + row] * p.y + view[8 + row] * p.z + view[12 + row];
    }
}

void Particle::billboardMatrix(const float* view, float* out) const {
    for (int i = 0; i < 12; ++i) {
        out[i] = 0.0f;
    }
    out[0] = out[5] = out[10] = 1.0f;
    // The bottom row keeps the view's values, as a translation would leave them.
    out[3] = view[3];
    out[7] = view[7];
    out[11] = view[11];
    eyeCentre(view, out + 12);
}

void Particle::draw() const {
    float view[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    glPushMatrix();
    float m[16];
    billboardMatrix(view, m);
    glLoadMatrixf(m);
    glColor4f(_color.r, _color.g, _color.b, _color.a);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(_texId));
    const float s = _size;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-s, -s, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(s, -s, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(s, s, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-s, s, 0.0f);
    glEnd();
    glPopMatrix();
}

}  // namespace Vortel
