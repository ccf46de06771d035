#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "engine2d/simplemenu.h"
#include "game/keybindings.h"
#include "game/usersettings.h"
#include "platform/settings.h"
#include "tests/game/menu_fixture.h"

namespace {

using Vortel::Game;
using Vortel::SettingKind;
using Vortel::UserSetting;
using UserSettingsTableGL = testmenu::MenuFixture;

TEST(UserSettingsTable, NamesEachOfTheThirtyTwoKeysOnceAndEveryBindingInEachOrder) {
    std::set<std::string> keys;
    int bindingRows = 0;
    for (const UserSetting& row : Vortel::userSettings) {
        if (row.kind == SettingKind::Bindings) {
            ++bindingRows;
            continue;
        }
        ASSERT_NE(row.key, nullptr);
        EXPECT_TRUE(keys.insert(row.key).second) << row.key;
    }
    EXPECT_EQ(bindingRows, 1);
    for (const Vortel::KeyBinding& binding : Vortel::keyBindings) {
        EXPECT_TRUE(keys.insert(binding.key).second) << binding.key;
    }
    EXPECT_EQ(keys.size(), 32u);

    // Each order holds every binding once.
    for (const Vortel::BindingOrder& order : {Vortel::flightKeyOrder, Vortel::redefineMenuOrder}) {
        for (const Vortel::KeyBinding& binding : Vortel::keyBindings) {
            EXPECT_EQ(std::count(order.begin(), order.end(), binding.member), 1) << binding.key;
        }
    }
}

TEST(UserSettingsTable, VolumeLevelsAndBytesGoBothWays) {
    const std::vector<int> bytes = {0, 25, 51, 76, 102, 127, 153, 178, 204, 229, 255};
    for (int level = 0; level <= 10; ++level) {
        EXPECT_EQ(Vortel::volumeByte(level), bytes[level]) << level;
        EXPECT_EQ(Vortel::volumeLevel(Vortel::volumeByte(level)), level) << level;
    }
    EXPECT_EQ(Vortel::volumeByte(-3), 0);
    EXPECT_EQ(Vortel::volumeByte(14), 255);
}

// Each switch of the DISPLAY menu stands on its line, and its item changes its own member and
// its own key alone.
TEST_F(UserSettingsTableGL, EachDisplaySwitchChangesItsOwnMemberAndKeyAlone) {
    Game& g = loadedGame();
    std::vector<const UserSetting*> switches;
    for (const UserSetting& row : Vortel::userSettings) {
        if (row.displayLine >= 0) {
            switches.push_back(&row);
        }
    }
    ASSERT_FALSE(switches.empty());
    for (const UserSetting* row : switches) {
        SCOPED_TRACE(row->key);
        Stelkor::SimpleMenu::Item& item = testmenu::itemAt(*g._menuDisplay, row->displayLine);
        EXPECT_EQ(item.name, row->label);
        for (const bool on : {false, true, false}) {
            std::vector<bool> before;
            for (const UserSetting* other : switches) {
                before.push_back(g.*other->flag);
            }
            item.selectedValueID(on ? 0 : 1);
            item.callAction();
            Settings file;
            file.load("data/vasp.conf", false);
            EXPECT_EQ(file[row->key].i, on ? 1 : 0);
            for (std::size_t i = 0; i < switches.size(); ++i) {
                EXPECT_EQ(g.*switches[i]->flag, switches[i] == row ? on : before[i]) << switches[i]->key;
            }
        }
    }
    // A switch without a callback of its own is found by its label.
    Vortel::changeDisplaySwitch(switches.front()->label, "ON", &g);
    EXPECT_TRUE(g.*switches.front()->flag);
}

}  // namespace
