#include "tests/game/game_fixture.h"

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace testgame {

namespace fs = std::filesystem;

TestGame::TestGame(std::unique_ptr<testsupport::FakeEventSource> ownedEvents,
                   std::unique_ptr<testsupport::FakeDevice> ownedDevice)
    : TestGame(*ownedEvents, *ownedDevice, std::move(ownedEvents), std::move(ownedDevice)) {}

TestGame::TestGame(testsupport::FakeEventSource& events, testsupport::FakeDevice& device,
                   std::unique_ptr<testsupport::FakeEventSource>&& ownedEvents,
                   std::unique_ptr<testsupport::FakeDevice>&& ownedDevice)
    : Game(std::move(ownedEvents), std::move(ownedDevice)), events(events), device(device) {
    // Where loading would look, so that a test that skips loading still finds what an
    // explosion or a pick-up asks for.
    _bitmapManager.addPath("textures");
    _meshManager.addPath("mesh");
    // Reserved as callers reserve sounds, so that recording allocates no more than they do.
    volumes.reserve(4096);
}

bool TestGame::runFrame(double frameTime) {
    _frameTime = frameTime;
    return frame();
}

bool TestGame::playFrame(double frameTime) {
    _frameTime = frameTime;
    return framePlay();
}

int TestGame::playSound(const std::string& name, unsigned char volume, const Vector3<float>* position) {
    sounds.push_back(name);
    volumes.push_back(volume);
    return Game::playSound(name, volume, position);
}

GameFolder::GameFolder() : _previous(fs::current_path()) {
    std::string pattern = (_previous / "game.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a game folder under " + _previous.string());
    }
    _path = pattern;
    const fs::path source(QUELLARIS_RUN_DIR);
    for (const fs::directory_entry& entry : fs::directory_iterator(source)) {
        const fs::path target = _path / entry.path().filename();
        if (entry.path().filename() == "data") {
            fs::copy(entry.path(), target, fs::copy_options::recursive);
        } else {
            fs::create_symlink(entry.path(), target);
        }
    }
    fs::current_path(_path);
}

void GameFolder::remove(const fs::path& relative) {
    fs::path at = _path;
    for (const fs::path& part : relative.parent_path()) {
        at /= part;
        if (fs::is_symlink(at)) {
            const fs::path source = fs::read_symlink(at);
            fs::remove(at);
            fs::create_directory(at);
            for (const fs::directory_entry& entry : fs::directory_iterator(source)) {
                fs::create_symlink(entry.path(), at / entry.path().filename());
            }
        }
    }
    fs::remove(_path / relative);
}

GameFolder::~GameFolder() {
    std::error_code ignored;
    fs::current_path(_previous, ignored);
    fs::remove_all(_path, ignored);
}

void GameFixture::SetUp() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        GTEST_SKIP() << "no video here: " << SDL_GetError();
    }
    folder = std::make_unique<GameFolder>();
}

void GameFixture::TearDown() {
    _game.reset();
    folder.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TestGame& GameFixture::game() {
    if (!_game) {
        _game = std::make_unique<TestGame>(std::make_unique<testsupport::FakeEventSource>(),
                                           std::make_unique<testsupport::FakeDevice>());
    }
    return *_game;
}

void GameFixture::loadToMainMenu() {
    TestGame& g = game();
    g.init();
    g.splashZindle();
    g.splashQuendle();
    g.load();
    for (int i = 0; i < 20000 && g._state == Vortel::Game::STATE_LOADING; ++i) {
        frame(0.001);
    }
    ASSERT_EQ(g._state, Vortel::Game::STATE_MAIN_MENU);
}

bool GameFixture::send(UINT msg, WPARAM wParam, LPARAM lParam) {
    TestGame& g = game();
    return g.message(g.hwnd(), msg, wParam, lParam);
}

void GameFixture::hold(unsigned int code, bool down) {
    testsupport::FakeDevice& device = game().device;
    const unsigned char state = down ? 0x80 : 0x00;
    if (code >= 0x100) {
        device.mouse.buttons.at((code >> 8) - 1) = state;
    } else {
        device.keys.at(code) = state;
    }
}

void GameFixture::moveMouse(int dx, int dy) {
    testsupport::FakeDevice& device = game().device;
    device.mouse.x += dx;
    device.mouse.y += dy;
}

}  // namespace testgame
