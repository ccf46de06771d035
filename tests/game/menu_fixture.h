#ifndef QUELLARIS_TESTS_GAME_MENU_FIXTURE_H
#define QUELLARIS_TESTS_GAME_MENU_FIXTURE_H

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "actors/builtintricks.h"
#include "engine2d/menuslider.h"
#include "engine2d/simplemenu.h"
#include "tests/game/game_fixture.h"

namespace testmenu {

// The real game that notes every sound it is asked to play.
class MenuGame : public testgame::TestGame {
public:
    using TestGame::TestGame;

    int playSound(const std::string& name, unsigned char volume, const Vector3<float>*) override {
        sounds.push_back(name);
        volumes.push_back(volume);
        return -1;
    }

    std::vector<std::string> sounds;
    std::vector<unsigned char> volumes;
};

// Item labels of a menu in order; the selection is back on the first item afterwards.
inline std::vector<std::string> labels(Stelkor::SimpleMenu& menu) {
    std::vector<std::string> names;
    for (int i = 0; i < menu.itemCount(); ++i) {
        menu.selectedItemID(i);
        names.push_back(menu.selectedItem().name);
    }
    menu.selectedItemID(0);
    return names;
}

inline Stelkor::SimpleMenu::Item& itemAt(Stelkor::SimpleMenu& menu, int index) {
    menu.selectedItemID(index);
    return menu.selectedItem();
}

// A game loaded to its main menu, with the built-in tricks, the shared menu slider and every
// menu made (what the loading does not make yet is made here), the main menu current.
class MenuFixture : public testgame::GameFixture {
protected:
    void TearDown() override {
        menuGame.reset();
        GameFixture::TearDown();
    }

    // Without a settings file, so the menus show the game's own start values. G may be a
    // MenuGame of the test's own.
    template <class G = MenuGame>
    G& loadedGame() {
        std::filesystem::remove("data/vasp.conf");
        menuGame = std::make_unique<G>(std::make_unique<testsupport::FakeEventSource>(),
                                       std::make_unique<testsupport::FakeDevice>());
        G& g = static_cast<G&>(*menuGame);
        g.init();
        g.load();
        for (int i = 0; i < 20000 && g._state == Vortel::Game::STATE_LOADING; ++i) {
            g.runFrame(0.001);
        }
        if (g._trickLibrary.tricks().empty()) {
            Vortel::addBuiltInTricks(g._trickLibrary);
        }
        if (!g._menuSlider) {
            g._menuSlider = std::make_unique<Stelkor::MenuSlider>(*g._sliderHandleSprite, *g._sliderBarSprite);
            g._menuSlider->pos(170.0f, 0.0f);
        }
        if (!g._menuMain) {
            g.menuSetup();
        }
        g.setCurrentMenu(g._menuMain.get());
        return g;
    }

    bool sendTo(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return menuGame->message(menuGame->hwnd(), msg, wParam, lParam);
    }

    std::unique_ptr<MenuGame> menuGame;
};

}  // namespace testmenu

#endif
