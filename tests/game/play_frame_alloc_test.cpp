// Counts the allocations of running frames. The global operator new of this test program is
// replaced by a counting one that hands on to malloc; it also counts apart those of the main
// thread, which runs the game (the GL's own threads run beside it).
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <thread>

#include "actors/bot.h"
#include "platform/crand.h"
#include "platform/geometry.h"
#include "tests/game/game_fixture.h"
#include "world/cuberenderer.h"
#include "world/meshchrome.h"

namespace {

std::atomic<long> allocations{0};
std::atomic<long> mainThreadAllocations{0};
// Static initialisation runs on the main thread.
const std::thread::id mainThread = std::this_thread::get_id();

void* counted(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (std::this_thread::get_id() == mainThread) {
        mainThreadAllocations.fetch_add(1, std::memory_order_relaxed);
    }
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

}  // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

using Vortel::Game;
using Vortel::OcTree;
using PlayFrameAllocGL = testgame::GameFixture;

// A game in play: the craft flying into a half-filled field with ten chasers about.
void setUpBusyGame(testgame::TestGame& g) {
    g._state = Game::STATE_PLAY;
    g._waveBotCount = 10;
    g._player._hitpoints = 1.0e6f;  // crashes go on without ending the game
    crand::srand(11);
    const int size = g._octree.size();
    for (int z = 0; z < size; ++z) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (crand::rand() % 2 == 0) {
                    g._octree.setTerminalNode(Vector3<int>(x, y, z), OcTree::CELL_SOLID_1, 0);
                }
            }
        }
    }
    for (int i = 0; i < 10; ++i) {
        g._bots.push_back(new Vortel::Bot("chaser", Vector3<int>(3 * i, 16, 9), Vector3<int>::X_PLUS,
                                          Vector3<int>::Y_PLUS, 7.5f, g._octree));
    }
    // The craft's track starts over as at a game's start, keeping its last two steps.
    g._player.reset();
    g._player._hitpoints = 1.0e6f;
    g.sounds.reserve(16384);
}

// The frame's view of the field, for its walk.
void viewFrustum(float planes[6][4]) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 4.0 / 3.0, 0.1, 16.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(16.0, 16.0, 16.0, 16.0, 16.0, 9.0, 0.0, 1.0, 0.0);
    double projection[16];
    double modelview[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    GetFrustum(projection, modelview, planes);
}

// A hundred seconds of play: the craft's track fills again after its start and after each
// clear a scored trick makes, chasers come and go, and the field is walked and batched
// every twentieth frame (the walk is slow under the sanitizers). Frames in which a chaser
// dies or enters, or anything but a bump sounds, announce it with texts and sparks made
// then; every other frame allocates nothing.
TEST_F(PlayFrameAllocGL, SixThousandFramesAllocateNothingUnlessTheyAnnounceSomething) {
    const long beforeGame = allocations.load();
    testgame::TestGame& g = game();
    ASSERT_GT(allocations.load(), beforeGame) << "the counter does not see the game's allocations";
    setUpBusyGame(g);
    float planes[6][4];
    viewFrustum(planes);
    g.frameTime(1.0 / 60.0);
    // The first walk makes the walk's own storage; the sample map makes its entry for a
    // missing sound on its first play.
    g._octree.walk(planes, g._playClock);
    g._octree.renderer().clearArray();
    g.playSound("bump", 0);
    long quietAllocations = 0;
    int quietFrames = 0;
    int bumps = 0;
    for (int i = 1; i <= 6000; ++i) {
        const long before = allocations.load();
        const std::size_t soundsBefore = g.sounds.size();
        ASSERT_TRUE(g.stepWorld());
        g.stepStages();
        if (i % 20 == 0) {
            g._octree.walk(planes, g._playClock);
            g._octree.renderer().clearArray();
        }
        if (i % 500 == 0) {
            g._player.movementTrack().clear();
        }
        const auto sounded = g.sounds.begin() + static_cast<std::ptrdiff_t>(soundsBefore);
        bumps += static_cast<int>(std::count(sounded, g.sounds.end(), "bump"));
        const bool announced = g._botsDestroyedThisFrame != 0 || g._botsAddedThisFrame != 0 ||
                               std::any_of(sounded, g.sounds.end(), [](const std::string& s) { return s != "bump"; });
        if (!announced) {
            quietAllocations += allocations.load() - before;
            ++quietFrames;
        }
    }
    EXPECT_EQ(quietAllocations, 0);
    EXPECT_GT(quietFrames, 5000);
    // It was a busy scene: the craft crashed on its way.
    EXPECT_GT(bumps, 10);
}

// The whole play frame, drawing and HUD included, of the loaded game: a field at 1 %, an
// explosion's sparks and a message that stays on screen all the while, announced before the
// count starts. The first frames make what the GL compiles for the scene.
TEST_F(PlayFrameAllocGL, SixThousandWholePlayFramesWithAMessageShownAllocateNothingOnTheMainThread) {
    ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
    testgame::TestGame& g = game();
    g.startGame();
    g._waveBotCount = 0;
    g._playerActive = false;
    crand::srand(5);
    const int size = g._octree.size();
    for (int i = 0; i < size * size * size / 100; ++i) {
        const Vector3<int> cell(crand::rand() % size, crand::rand() % size, crand::rand() % size);
        g._octree.setTerminalNode(cell, OcTree::CELL_SOLID_1, g._player._trailColor);
    }
    g._message._text << "DESTROYED: A CHASER WITH A LONG NAME +100\n";
    g._message.showText(1000.0, 1.0);
    g.addExplosion(Vector3<float>(g._player._pos.x, g._player._pos.y, g._player._pos.z - 3.0f));
    g.sounds.reserve(16384);
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(g.playFrame(1.0 / 60.0));
    }
    const long before = mainThreadAllocations.load();
    for (int i = 0; i < 6000; ++i) {
        ASSERT_TRUE(g.playFrame(1.0 / 60.0));
    }
    EXPECT_EQ(mainThreadAllocations.load() - before, 0);
    EXPECT_TRUE(g._message.shown());
    EXPECT_EQ(g._message._text.str(), "DESTROYED: A CHASER WITH A LONG NAME +100\n");
    EXPECT_EQ(g._state, Game::STATE_PLAY);
}

TEST_F(PlayFrameAllocGL, TheAimRayAllocatesNothingOnceItsHitListHasGrown) {
    testgame::TestGame& g = game();
    setUpBusyGame(g);
    Vortel::MeshChrome* mesh = g._meshChromeManager.get("mesh/shiva.obj");
    for (Vortel::Bot* bot : g._bots) {
        bot->mesh(mesh);
    }
    g.updateCraftMatrices();
    const Ray3<float> ray{Vector3<float>(1.2f, 16.3f, 9.1f), Vector3<float>(0.995f, 0.0f, -0.0998f)};
    const float edge = static_cast<float>(g._octree.size());
    const auto aim = [&] {
        g.aimAlong(ray);
        for (int k = -1; k <= 1; ++k) {
            for (int j = -1; j <= 1; ++j) {
                for (int i = -1; i <= 1; ++i) {
                    const Vector3<float> copy(i * edge, j * edge, k * edge);
                    g.aimRayAtCopy(copy);
                    for (Vortel::Bot* bot : g._bots) {
                        g.aimRayAtChaser(*bot, copy);
                    }
                }
            }
        }
        g.endAimRay();
    };
    aim();
    const long before = allocations.load();
    aim();
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_FALSE(g._aimHits.empty());
}

}  // namespace
