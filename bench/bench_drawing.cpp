// The world's drawing on the GL of this machine: the playfield in its 27 wrapped copies and
// 5,000 live particles, each frame cleared, drawn and finished, against the floor of a frame
// that only clears and swaps. Run it with SDL_VIDEODRIVER=offscreen for software GL.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <SDL.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "actors/bot.h"
#include "platform/crand.h"
#include "platform/game_openglextensions.h"
#include "platform/geometry.h"
#include "bench/bench_cuberenderer.h"
#include "world/cuberenderer.h"
#include "world/meshchrome.h"
#include "world/octree.h"
#include "world/particle.h"
#include "world/particlesystem.h"

using Vortel::CubeRenderer;
using Vortel::OcTree;
using Vortel::Particle;
using Vortel::ParticleSystem;
typedef Vector3<int> Cell;

namespace {

const int WIDTH = 800;
const int HEIGHT = 600;

// The game's window: 800 x 600, 16-bit depth, double-buffered, hidden.
class Window {
public:
    Window() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            return;
        }
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        _window = SDL_CreateWindow("bench", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, WIDTH, HEIGHT,
                                   SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (_window != nullptr) {
            _context = SDL_GL_CreateContext(_window);
        }
    }
    bool valid() const { return _context != nullptr; }
    void swap() const { SDL_GL_SwapWindow(_window); }

private:
    SDL_Window* _window = nullptr;
    void* _context = nullptr;
};

Window& window() {
    static Window made;
    return made;
}

bool haveGL(benchmark::State& state) {
    if (!window().valid()) {
        state.SkipWithError("no GL context");
        return false;
    }
    return true;
}

const char* const UNIT_CUBE =
    "v -0.5 -0.5 -0.5\nv 0.5 -0.5 -0.5\nv 0.5 0.5 -0.5\nv -0.5 0.5 -0.5\n"
    "v -0.5 -0.5 0.5\nv 0.5 -0.5 0.5\nv 0.5 0.5 0.5\nv -0.5 0.5 0.5\n"
    "vt 0 0\nvn 0 0 1\n"
    "f 1/1/1 4/1/1 3/1/1\nf 1/1/1 3/1/1 2/1/1\n";

CubeRenderer& renderer() {
    return benchCubeRenderer(UNIT_CUBE);
}

// The play view: fov 90, 4:3, near 0.01, far 16, fog from 8 to 16 in the background colour.
void playProjection() {
    glViewport(0, 0, WIDTH, HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 4.0 / 3.0, 0.01, 16.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float fog[4] = {0.1f, 0.1f, 0.2f, 1.0f};
    glClearColor(fog[0], fog[1], fog[2], fog[3]);
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 8.0f);
    glFogf(GL_FOG_END, 16.0f);
    glFogfv(GL_FOG_COLOR, fog);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glShadeModel(GL_FLAT);
    glDisable(GL_LIGHTING);
}

// A field filled at random to the given share, trail cubes of both kinds cooled long ago,
// with the cell of the eye and the cells round it left empty.
struct Field {
    explicit Field(int percent) : tree(5, renderer()) {
        CubeRenderer& cubes = renderer();
        const unsigned char start = cubes.createColorTriplet(RGBA<float>(1, 0.2f, 0, 1), RGBA<float>(0.8f, 0.1f, 0, 1),
                                                             RGBA<float>(0.6f, 0, 0, 1));
        const unsigned char end = cubes.createColorTriplet(RGBA<float>(0, 0.4f, 1, 1), RGBA<float>(0, 0.3f, 0.8f, 1),
                                                           RGBA<float>(0, 0.2f, 0.6f, 1));
        const unsigned char trail = cubes.createTrailColors(start, end);
        std::mt19937 random(1234);
        std::uniform_int_distribution<int> roll(0, 99);
        for (int z = 0; z < tree.size(); ++z) {
            for (int y = 0; y < tree.size(); ++y) {
                for (int x = 0; x < tree.size(); ++x) {
                    const bool nearEye = std::abs(x - 16) <= 1 && std::abs(y - 16) <= 1 && std::abs(z - 16) <= 1;
                    if (!nearEye && roll(random) < percent) {
                        tree.setTerminalNode(Cell(x, y, z), OcTree::CELL_SOLID_1 + (x & 1), trail);
                    }
                }
            }
        }
    }
    OcTree tree;
};

// The 27 copies of the field, z outermost, each with its own frustum, from an eye in the
// middle of the field looking along a slanted line.
void drawWrappedField(OcTree& tree, double time) {
    glLoadIdentity();
    gluLookAt(16.5, 16.5, 16.5, 30.0, 20.0, 24.0, 0.0, 1.0, 0.0);
    double projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    for (int k = -1; k <= 1; ++k) {
        for (int j = -1; j <= 1; ++j) {
            for (int i = -1; i <= 1; ++i) {
                glPushMatrix();
                glTranslatef(32.0f * i, 32.0f * j, 32.0f * k);
                double modelview[16];
                glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
                float planes[6][4];
                GetFrustum(projection, modelview, planes);
                tree.draw(planes, Vector3<float>(), time);
                glPopMatrix();
            }
        }
    }
}

GLuint cubeMap() {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_CUBE_MAP, id);
    std::vector<unsigned char> face(64 * 64 * 3);
    for (std::size_t i = 0; i < face.size(); ++i) {
        face[i] = static_cast<unsigned char>((i * 7) & 127);
    }
    for (int side = 0; side < 6; ++side) {
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + side, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, face.data());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return id;
}

void finishFrame(benchmark::State& state) {
    window().swap();
    glFinish();
    state.counters["fps"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}

// The process's peak resident size so far, in megabytes.
double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A round spark: white, its alpha falling from the middle to the rim.
GLuint sparkTexture(int seed) {
    std::vector<unsigned char> pixels(32 * 32 * 4);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const double r = std::hypot(x - 15.5, y - 15.5) / 16.0;
            unsigned char* p = &pixels[static_cast<std::size_t>(4 * (32 * y + x))];
            p[0] = p[1] = p[2] = static_cast<unsigned char>(255 - 40 * seed);
            p[3] = static_cast<unsigned char>(r >= 1.0 ? 0 : 255 * (1.0 - r));
        }
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 32, 32, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return id;
}

// Two sets of sparks as a cube hit makes them, 5,000 in all, spread in front of the eye.
std::list<Particle::CreateData> sparkSets(GLuint first, GLuint second) {
    Particle::CreateData big;
    big.count = 2500;
    big.posBase = Vector3<float>(0.0f, 0.0f, -7.0f);
    big.posRange = Vector3<float>(5.0f, 4.0f, 5.0f);
    big.sizeBase = 0.4f;
    big.sizeRange = 0.3f;
    big.colorBase = RGBA<float>(1.0f, 0.3f, 0.1f, 0.7f);
    big.colorRange = RGBA<float>(0.3f, 0.3f, 0.1f, 0.2f);
    big.texId = static_cast<int>(first);
    Particle::CreateData small = big;
    small.sizeBase = 0.07f;
    small.sizeRange = 0.02f;
    small.colorBase = RGBA<float>(0.2f, 0.2f, 0.2f, 1.0f);
    small.texId = static_cast<int>(second);
    return {big, small};
}

}  // namespace

// The floor of every frame: clear colour and depth, swap, finish.
static void BM_ClearAndSwapFloor(benchmark::State& state) {
    if (!haveGL(state)) {
        return;
    }
    playProjection();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        finishFrame(state);
    }
}
BENCHMARK(BM_ClearAndSwapFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

// The playfield alone, in 27 copies, filled to range(0) percent; range(1) 1 with reflections;
// range(2) how hidden faces are found: 0 not at all (every uncovered face is drawn), 1 copy
// by copy, 2 for all copies at the frame's first drawing, as the play frame draws.
static void BM_DrawPlayfield(benchmark::State& state) {
    if (!haveGL(state)) {
        return;
    }
    playProjection();
    Field field(static_cast<int>(state.range(0)));
    const bool reflections = state.range(1) != 0;
    field.tree.renderReflections(reflections);
    field.tree.occlusionCulling(state.range(2) != 0);
    field.tree.wrappedDrawing(state.range(2) == 2);
    const GLuint map = cubeMap();
    double time = 100.0;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawWrappedField(field.tree, time);
        time += 0.01;
        finishFrame(state);
    }
    state.counters["cells"] = field.tree.root()->count();
    state.counters["peakMB"] = peakMegabytes();
    glDeleteTextures(1, &map);
    glDisable(GL_TEXTURE_2D);
}
BENCHMARK(BM_DrawPlayfield)
    ->ArgNames({"fill", "reflections", "hidden"})
    ->Args({30, 1, 0})
    ->Args({50, 1, 0})
    ->Args({50, 0, 0})
    ->Args({30, 1, 2})
    ->Args({50, 1, 2})
    ->Args({50, 0, 2})
    ->Args({30, 1, 1})
    ->Args({50, 1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// 5,000 live particles in two textures, added onto the frame as the transparent pass draws
// them: additive blending, depth test on, depth writes off.
static void BM_DrawParticles(benchmark::State& state) {
    if (!haveGL(state)) {
        return;
    }
    playProjection();
    Particle::releaseParticleManagement();
    Particle::initParticleManagement(10000);
    crand::srand(3);
    const GLuint first = sparkTexture(0);
    const GLuint second = sparkTexture(1);
    ParticleSystem sparks(sparkSets(first, second), 5000, 3);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glDepthMask(GL_FALSE);
        sparks.draw();
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
        finishFrame(state);
    }
    state.counters["particles"] = sparks.numParticles();
    state.counters["peakMB"] = peakMegabytes();
    sparks.destroyParticles();
    Particle::releaseParticleManagement();
    const GLuint textures[2] = {first, second};
    glDeleteTextures(2, textures);
    glDisable(GL_TEXTURE_2D);
}
BENCHMARK(BM_DrawParticles)->Unit(benchmark::kMillisecond)->UseRealTime();

// The world of a play frame without its chasers and HUD: the playfield filled to range(0)
// percent in its 27 copies, reflections on, hidden faces found for all copies at once when
// range(1) is 1, then 5,000 particles in the transparent pass.
static void BM_DrawWorld(benchmark::State& state) {
    if (!haveGL(state)) {
        return;
    }
    playProjection();
    Field field(static_cast<int>(state.range(0)));
    field.tree.renderReflections(true);
    field.tree.occlusionCulling(state.range(1) != 0);
    field.tree.wrappedDrawing(state.range(1) != 0);
    const GLuint map = cubeMap();
    Particle::releaseParticleManagement();
    Particle::initParticleManagement(10000);
    crand::srand(3);
    const GLuint first = sparkTexture(0);
    const GLuint second = sparkTexture(1);
    ParticleSystem sparks(sparkSets(first, second), 5000, 3);
    double time = 100.0;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_BLEND);
        drawWrappedField(field.tree, time);
        time += 0.01;
        // The particles stand in front of the eye, in the view's own frame.
        glLoadIdentity();
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glDepthMask(GL_FALSE);
        sparks.draw();
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
        finishFrame(state);
    }
    state.counters["peakMB"] = peakMegabytes();
    sparks.destroyParticles();
    Particle::releaseParticleManagement();
    const GLuint textures[2] = {first, second};
    glDeleteTextures(2, textures);
    glDeleteTextures(1, &map);
    glDisable(GL_TEXTURE_2D);
}
BENCHMARK(BM_DrawWorld)
    ->ArgNames({"fill", "hidden"})
    ->Args({0, 1})
    ->Args({30, 0})
    ->Args({30, 1})
    ->Args({50, 0})
    ->Args({50, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Ten chasers with their chrome, each drawn in every one of the 27 copies as the play frame
// draws them, spread in front of the eye. The mesh is the game's own from its game folder.
static void BM_DrawChasers(benchmark::State& state) {
    if (!haveGL(state)) {
        return;
    }
    playProjection();
    glext::setupMultitexturing();
    Vortel::MeshChrome mesh;
    try {
        mesh.load(std::string(QUELLARIS_GAME_FOLDER) + "/mesh/shiva.obj");
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    mesh.createVertArray();
    mesh.createDisplayList();
    const GLuint textures[2] = {sparkTexture(0), sparkTexture(1)};
    mesh._texId = static_cast<int>(textures[0]);
    mesh.chromeTexId(static_cast<int>(textures[1]));
    OcTree field(5, renderer());
    std::vector<Vortel::Bot> chasers;
    for (int i = 0; i < 10; ++i) {
        chasers.emplace_back("chaser", Cell(18 + i % 4, 14 + i % 3, 20 + i / 2), Cell(0, 0, 1), Cell(0, 1, 0), 1.0f,
                             field);
        chasers.back().mesh(&mesh);
        chasers.back().baseColor(RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f));
    }
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        gluLookAt(16.5, 16.5, 16.5, 30.0, 20.0, 24.0, 0.0, 1.0, 0.0);
        for (int copy = 0; copy < 27; ++copy) {
            for (Vortel::Bot& chaser : chasers) {
                glPushMatrix();
                glTranslatef(32.0f * (copy % 3 - 1) + chaser._pos.x, 32.0f * (copy / 3 % 3 - 1) + chaser._pos.y,
                             32.0f * (copy / 9 - 1) + chaser._pos.z);
                chaser.draw();
                glPopMatrix();
            }
        }
        finishFrame(state);
    }
    state.counters["peakMB"] = peakMegabytes();
    glDeleteTextures(2, textures);
    glDisable(GL_TEXTURE_2D);
}
BENCHMARK(BM_DrawChasers)->Unit(benchmark::kMillisecond)->UseRealTime();
