#ifndef QUELLARIS_TESTS_GAME_GAME_FIXTURE_H
#define QUELLARIS_TESTS_GAME_GAME_FIXTURE_H

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/game.h"
#include "tests/support/fake_input.h"

namespace testgame {

// The real game, fed by a fake message queue and a fake keyboard and mouse, with its frame
// time set by the test.
class TestGame : public Vortel::Game {
public:
    TestGame(std::unique_ptr<testsupport::FakeEventSource> events, std::unique_ptr<testsupport::FakeDevice> device);

    // One frame of the given length, as the main loop would run it.
    bool runFrame(double frameTime);
    // One pass of the real main loop, timed by its own timer.
    using OpenglApp::loopPass;
    Timer& loopTimer() { return _fpsTimer; }
    // Only the play frame, in whatever state the game is in, as that state's frame runs it.
    bool playFrame(double frameTime);
    // The frame time the next steps read, for calling parts of the frame on their own.
    void frameTime(double t) { _frameTime = t; }
    // The running time that set-ups read, as if the program had run that long.
    void totalTime(double t) { _totalTime = t; }
    // Records every named sound before the game plays it.
    int playSound(const std::string& name, unsigned char volume, const Vector3<float>* position = nullptr) override;
    HWND hwnd() const { return _hwnd; }
    int height() const { return _height; }

    testsupport::FakeEventSource& events;
    testsupport::FakeDevice& device;
    std::vector<std::string> sounds;
    // The volume each recorded sound was played at, in step with sounds.
    std::vector<unsigned char> volumes;

private:
    TestGame(testsupport::FakeEventSource& events, testsupport::FakeDevice& device,
             std::unique_ptr<testsupport::FakeEventSource>&& ownedEvents,
             std::unique_ptr<testsupport::FakeDevice>&& ownedDevice);
};

// A fresh copy of the ready game folder for one test, made the working directory while it
// lives: data/ is copied, as the game writes there; everything else is linked.
class GameFolder {
public:
    GameFolder();
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::filesystem::path& path() const { return _path; }
    // Removes a file of the folder; the linked folders on its way become real folders of
    // links first, so the ready game folder itself is never touched.
    void remove(const std::filesystem::path& relative);

private:
    std::filesystem::path _previous;
    std::filesystem::path _path;
};

// Suites built on this use the GL context of the game's own window, so their names end in
// "GL". The game is made on first use, so a test can change the folder before.
class GameFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TestGame& game();
    void destroyGame() { _game.reset(); }
    // Start-up and loading as the player sees them, splash screens skipped, up to the first
    // frame of the main menu.
    void loadToMainMenu();

    bool frame(double frameTime = 0.01) { return game().runFrame(frameTime); }
    // A window message straight to the game, as the window procedure hands it on.
    bool send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // A key, or a mouse button (codes 0x100 ... 0x400), held down or let go on the device;
    // the game hears of it on its next frame.
    void hold(unsigned int code, bool down);
    // Mouse motion on the device, reported on the next frame.
    void moveMouse(int dx, int dy);

    static LPARAM point(int x, int y) { return static_cast<LPARAM>((y << 16) | (x & 0xFFFF)); }

    std::unique_ptr<GameFolder> folder;

private:
    std::unique_ptr<TestGame> _game;
};

}  // namespace testgame

#endif
