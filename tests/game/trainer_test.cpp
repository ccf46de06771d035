#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine2d/font.h"
#include "engine2d/simplemenu.h"
#include "platform/virtualkeys.h"
#include "tests/game/menu_fixture.h"
#include "tests/support/gl_readback.h"

namespace {

using Vortel::Game;
using Vortel::OcTree;
using Vortel::Trick;
using TrickTrainerGL = testmenu::MenuFixture;

const unsigned int ESCAPE = 1;
const unsigned int UNBOUND_KEY = 30;
const Vector3<int> START(16, 16, 0);

Trick trickWith(const std::vector<Vector3<int> >& obstacles) {
    Trick trick;
    for (const Vector3<int>& cell : obstacles) {
        trick.addObstacle(cell);
    }
    return trick;
}

std::vector<Vector3<int> > solidCells(OcTree& field) {
    std::vector<Vector3<int> > cells;
    for (int x = 0; x < field.size(); ++x) {
        for (int y = 0; y < field.size(); ++y) {
            for (int z = 0; z < field.size(); ++z) {
                if (field.getTerminalNode(Vector3<int>(x, y, z))->count() != 0) {
                    cells.emplace_back(x, y, z);
                }
            }
        }
    }
    return cells;
}

// Notes the key messages Input sends to the window while it stands in for the game.
struct KeyRecorder : WindowProcedure {
    LRESULT winProc(HWND, UINT, WPARAM wParam, LPARAM) override {
        keys.push_back(static_cast<unsigned int>(wParam));
        return 1;
    }
    std::vector<unsigned int> keys;
};

TEST_F(TrickTrainerGL, StartingEmptiesTheFieldPlacesTheObstaclesAndWaitsOnTheIntroPanel) {
    testmenu::MenuGame& g = loadedGame();
    Trick* const slick = g._trickLibrary.trickByName("SLICK", "LEFT");
    const Trick empty = trickWith({});
    const Trick placed = trickWith({{0, 0, 25}, {0, 1, 0}, {3, 0, 0}, {0, 1, 0}});
    g.startTrickTrainer(nullptr);
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);

    const struct {
        const Trick* trick;
        std::vector<Vector3<int> > cells;
    } cases[] = {
        {&placed, {{16, 15, 10}, {16, 16, 3}, {19, 16, 10}}},
        {&empty, {}},
        {slick, {{16, 16, 12}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        g._octree.setTerminalNode(Vector3<int>(1, 2, 3), OcTree::CELL_SOLID_1, 0);
        g._musicChannel = FSOUND_PlaySound(FSOUND_FREE, g._soundSamples["hum_player"]);
        g._bombs = 3;
        g._gun.ammo(40);
        g._player._hitpoints = 7.0f;
        g._liveBotCount = 2;
        g._waveBotCount = 5;
        g._score = 900;
        g._trickDone = true;
        g._trickSucceeded = true;
        g._trickResultPanel = true;
        g._player.orientation(Vector3<int>::X_MINUS);
        g._player.up(Vector3<int>::Z_PLUS);
        g._trickTrainer.trick(*slick);
        g._trickTrainer.beginTrick();  // left in mid-trick
        const int music = g._musicChannel;
        g.startTrickTrainer(const_cast<Trick*>(c.trick));
        EXPECT_EQ(solidCells(g._octree), c.cells);
        for (const Vector3<int>& cell : c.cells) {
            EXPECT_EQ(g._octree.getTerminalNode(cell)->count(), OcTree::CELL_SOLID_1);
            EXPECT_EQ(g._octree.getTerminalNode(cell)->colorIndex(), g._player._trailColor);
        }
        EXPECT_EQ(g._state, Game::STATE_TRICK_TRAINER);
        EXPECT_EQ(g._trainedTrick, c.trick);
        EXPECT_FALSE(g._trickTrainer.doingTrick());
        EXPECT_EQ(g._player._cell, START);
        EXPECT_EQ(g._player._forward, Vector3<int>::Z_PLUS);
        EXPECT_EQ(g._player._up, Vector3<int>::Y_PLUS);
        EXPECT_EQ(g._player._hitpoints, 50.0f);
        EXPECT_EQ(g._bombs, 0);
        EXPECT_EQ(g._gun.ammo(), 0);
        EXPECT_TRUE(g._bots.empty());
        EXPECT_EQ(g._liveBotCount, 0);
        EXPECT_EQ(g._waveBotCount, 0);
        EXPECT_EQ(g._score, 0u);
        EXPECT_EQ(g._musicChannel, -1);
        EXPECT_FALSE(FSOUND_IsPlaying(music));
        EXPECT_TRUE(FSOUND_GetPaused(g._humChannel));
        EXPECT_TRUE(g._paused);
        EXPECT_TRUE(g._trickIntroPanel);
        EXPECT_FALSE(g._trickResultPanel);
        EXPECT_FALSE(g._trickDone);
        EXPECT_TRUE(g._trickSucceeded);  // until the next verdict
        EXPECT_FALSE(g._cursorVisible);
        EXPECT_EQ(g._currentMenu, nullptr);
        EXPECT_EQ(g._bottomBar.targetHeight(), 0.0f);
    }

    // Every key answers the panel, not only the bound ones.
    KeyRecorder recorder;
    WindowProcedure* const game = g.hwnd()->procedure;
    g.hwnd()->procedure = &recorder;
    g.device.keys.at(UNBOUND_KEY) = 0x80;
    g._input.update();
    g.hwnd()->procedure = game;
    EXPECT_EQ(recorder.keys, std::vector<unsigned int>{UNBOUND_KEY});
}

// The panels are answered by the play input of the trainer's state.
bool playInputAnswers(testmenu::MenuGame& g) {
    return g.message(g.hwnd(), g._wmKeyUpDI, UNBOUND_KEY, 0);
}

TEST_F(TrickTrainerGL, EachPanelAnswersEscapeAndAnyOtherKeyAsTheTrainerPlans) {
    testmenu::MenuGame& g = loadedGame();
    Trick* const slick = g._trickLibrary.trickByName("SLICK", "LEFT");
    g.startTrickTrainer(slick);
    ASSERT_TRUE(playInputAnswers(g));
    enum Outcome { TRICKS_MENU, FLYING, STARTED_OVER };
    const struct {
        bool intro, result, succeeded, paused;
        unsigned int key;
        Outcome outcome;
    } rows[] = {
        {true, false, false, true, ESCAPE, TRICKS_MENU},
        {true, false, false, true, UNBOUND_KEY, FLYING},
        {false, true, false, true, ESCAPE, STARTED_OVER},
        {false, true, false, true, UNBOUND_KEY, STARTED_OVER},
        {false, true, true, true, ESCAPE, STARTED_OVER},
        {false, true, true, true, UNBOUND_KEY, FLYING},  // on freely, panel closed
        {false, false, false, true, ESCAPE, STARTED_OVER},
        {false, false, false, true, UNBOUND_KEY, FLYING},
        {false, false, true, false, ESCAPE, STARTED_OVER},
    };
    Stelkor::SimpleMenu* const tricksMenu = g._trickSubmenus.front().get();
    const Vector3<int> elsewhere(5, 5, 5);
    // Through the dispatch, and through the trainer's own handler, which hands on to play's.
    for (const bool own : {false, true}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(&row - rows);
            SCOPED_TRACE(own);
            g.startTrickTrainer(slick);
            g._trickTrainerReturnMenu = tricksMenu;
            g._trickIntroPanel = row.intro;
            g._trickResultPanel = row.result;
            g._trickSucceeded = row.succeeded;
            g._paused = row.paused;
            g._player.position(elsewhere);
            if (own) {
                EXPECT_TRUE(g.messageTrickTrainer(g.hwnd(), g._wmKeyDownDI, row.key, 0));
            } else {
                EXPECT_TRUE(g.message(g.hwnd(), g._wmKeyDownDI, row.key, 0));
            }
            if (row.outcome == TRICKS_MENU) {
                EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
                EXPECT_EQ(g._currentMenu, tricksMenu);
                continue;
            }
            const bool startedOver = row.outcome == STARTED_OVER;
            EXPECT_EQ(g._state, Game::STATE_TRICK_TRAINER);
            EXPECT_EQ(g._player._cell, startedOver ? START : elsewhere);
            EXPECT_EQ(g._paused, startedOver);
            EXPECT_EQ(g._trickIntroPanel, startedOver);
            EXPECT_FALSE(g._trickResultPanel);
            EXPECT_EQ(g._trickSucceeded, row.succeeded);
        }
    }
    g.startTrickTrainer(slick);
    const std::int32_t motion[2] = {1, 1};
    EXPECT_FALSE(g.messageTrickTrainer(g.hwnd(), g._wmMouseMoveDI, 0, reinterpret_cast<LPARAM>(motion)));
    EXPECT_TRUE(g.messageTrickTrainer(g.hwnd(), WM_KEYDOWN, VK_LEFT, 0));
    EXPECT_FALSE(g.messageTrickTrainer(g.hwnd(), WM_LBUTTONDOWN, 0, 0));
}

// Each start of a trick stops every sound and starts the engine's hum afresh, under a new
// channel handle; a result panel that hears ESCAPE starts the trick over once, as the FAILED
// panel does for any other key, so the hum's handle moves on by as much.
TEST_F(TrickTrainerGL, EscapeOnAResultPanelStartsTheTrickOverOnce) {
    testmenu::MenuGame& g = loadedGame();
    Trick* const slick = g._trickLibrary.trickByName("SLICK", "LEFT");
    const auto humHandleStep = [&](bool succeeded, unsigned int key) {
        g.startTrickTrainer(slick);
        g._trickIntroPanel = false;
        g._trickResultPanel = true;
        g._trickSucceeded = succeeded;
        const int before = g._humChannel;
        EXPECT_TRUE(g.message(g.hwnd(), g._wmKeyDownDI, key, 0));
        EXPECT_TRUE(g._trickIntroPanel);
        return g._humChannel - before;
    };
    const int oneStart = humHandleStep(false, UNBOUND_KEY);
    ASSERT_GT(oneStart, 0) << "the hum did not start";
    EXPECT_EQ(humHandleStep(false, ESCAPE), oneStart) << "FAILED panel";
    EXPECT_EQ(humHandleStep(true, ESCAPE), oneStart) << "SUCCESS panel";
}

// Chooses TRICK TRAINER › SLICK › the variant by Enter, as a player does in the menus.
void chooseTrick(testmenu::MenuGame& g, const char* variant) {
    for (const char* label : {"TRICK TRAINER", "SLICK", variant}) {
        const std::vector<std::string> items = testmenu::labels(*g._currentMenu);
        const auto item = std::find(items.begin(), items.end(), label);
        ASSERT_NE(item, items.end()) << label;
        g._currentMenu->selectedItemID(static_cast<int>(item - items.begin()));
        g.message(g.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    }
}

// A key pressed for one frame and let go the next, as a player taps it.
void press(testmenu::MenuGame& g, unsigned int key) {
    g.device.keys.at(key) = 0x80;
    g.runFrame(1.0 / 60);
    g.device.keys.at(key) = 0x00;
    g.runFrame(1.0 / 60);
}

// Flies from the moment the intro panel closed until the verdict; steered, every signal is
// answered with its turn key, else the trick fails a few cells on.
void flyToTheVerdict(testmenu::MenuGame& g, bool steered) {
    const std::vector<std::pair<std::string, unsigned int> > turns = {
        {"signal_left", g._keyLeft}, {"signal_right", g._keyRight}, {"signal_up", g._keyUp}, {"signal_down", g._keyDown}};
    std::size_t heard = g.sounds.size();
    for (int i = 0; i < 60 * 30 && !g._trickDone; ++i) {
        g.runFrame(1.0 / 60);
        while (steered && heard < g.sounds.size()) {
            const std::string sound = g.sounds[heard++];
            for (const auto& turn : turns) {
                if (sound == turn.first) {
                    press(g, turn.second);
                }
            }
        }
    }
    ASSERT_TRUE(g._trickResultPanel);
    ASSERT_EQ(g._trickSucceeded, steered);
    ASSERT_TRUE(g._paused);
}

TEST_F(TrickTrainerGL, ATrickPickedInTheMenuIsFlownToSuccessAndStartedOverWithEscape) {
    testmenu::MenuGame& g = loadedGame();
    ASSERT_NO_FATAL_FAILURE(chooseTrick(g, "SLICK LEFT"));
    ASSERT_EQ(g._state, Game::STATE_TRICK_TRAINER);
    ASSERT_TRUE(playInputAnswers(g));
    ASSERT_EQ(g._trainedTrick, g._trickLibrary.trickByName("SLICK", "LEFT"));
    EXPECT_EQ(g._trickTrainerReturnMenu, g._trickSubmenus.front().get());

    press(g, UNBOUND_KEY);
    ASSERT_FALSE(g._paused);
    ASSERT_NO_FATAL_FAILURE(flyToTheVerdict(g, true));

    press(g, ESCAPE);
    EXPECT_EQ(g._state, Game::STATE_TRICK_TRAINER);
    EXPECT_TRUE(g._trickIntroPanel);
    EXPECT_FALSE(g._trickResultPanel);
    EXPECT_TRUE(g._trickSucceeded);
    EXPECT_EQ(g._player._cell, START);
    EXPECT_EQ(solidCells(g._octree), (std::vector<Vector3<int> >{{16, 16, 12}}));
}

// Whether the input layer now reports the key to the game; the game does not hear it.
bool reported(testmenu::MenuGame& g, unsigned int key) {
    KeyRecorder recorder;
    WindowProcedure* const game = g.hwnd()->procedure;
    g.hwnd()->procedure = &recorder;
    g.device.keys.at(key) = 0x80;
    g._input.update();
    g.device.keys.at(key) = 0x00;
    g._input.update();
    g.hwnd()->procedure = game;
    return std::find(recorder.keys.begin(), recorder.keys.end(), key) != recorder.keys.end();
}

TEST_F(TrickTrainerGL, EveryPanelMetInFlightAnswersSpaceAndEscapeAsItSays) {
    testmenu::MenuGame& g = loadedGame();
    const unsigned int SPACE = 0x39;
    Trick* const slick = g._trickLibrary.trickByName("SLICK", "LEFT");
    Stelkor::SimpleMenu* const tricksMenu = g._trickSubmenus.front().get();
    enum Panel { INTRO_AGAIN, FAILED, SUCCESS };
    enum Outcome { TRICKS_MENU, FLYING, STARTED_OVER };
    const struct {
        Panel panel;
        unsigned int key;
        Outcome outcome;
    } rows[] = {
        {INTRO_AGAIN, SPACE, FLYING},         {INTRO_AGAIN, ESCAPE, TRICKS_MENU}, {FAILED, SPACE, STARTED_OVER},
        {FAILED, ESCAPE, STARTED_OVER},       {SUCCESS, SPACE, FLYING},           {SUCCESS, ESCAPE, STARTED_OVER},
    };
    for (const auto& row : rows) {
        const char* const panelNames[] = {"intro again", "FAILED", "SUCCESS"};
        SCOPED_TRACE(std::string(panelNames[row.panel]) + " key " + std::to_string(row.key));
        g.startTrickTrainer(slick);
        g._trickTrainerReturnMenu = tricksMenu;
        press(g, SPACE);
        ASSERT_FALSE(g._paused);
        ASSERT_NO_FATAL_FAILURE(flyToTheVerdict(g, row.panel == SUCCESS));
        if (row.panel == INTRO_AGAIN) {
            press(g, g._keyLeft);  // a flight key starts over from the FAILED panel
            ASSERT_TRUE(g._trickIntroPanel);
        }
        const Vector3<int> panelCell = g._player._cell;

        press(g, row.key);
        if (row.outcome == TRICKS_MENU) {
            EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
            EXPECT_EQ(g._currentMenu, tricksMenu);
            continue;
        }
        EXPECT_EQ(g._state, Game::STATE_TRICK_TRAINER);
        EXPECT_FALSE(g._trickResultPanel);
        const bool startedOver = row.outcome == STARTED_OVER;
        EXPECT_EQ(g._paused, startedOver);
        EXPECT_EQ(g._trickIntroPanel, startedOver);
        if (startedOver) {
            EXPECT_EQ(g._player._cell, START);
        } else {
            for (int i = 0; i < 30; ++i) {
                g.runFrame(1.0 / 60);
            }
            EXPECT_NE(g._player._cell, panelCell);  // on the move again
        }
        // A panel hears every key; flight only its own.
        EXPECT_EQ(reported(g, UNBOUND_KEY), startedOver);
    }
}

// Unsteered, the trick fails a few cells on; the verdict pauses the world in the cell where it
// fell, also when a single long frame would have carried the craft much further.
TEST_F(TrickTrainerGL, TheVerdictStopsTheCraftInTheSameCellInOneLongFrameAsInShortOnes) {
    testmenu::MenuGame& g = loadedGame();
    Trick* const slick = g._trickLibrary.trickByName("SLICK", "LEFT");
    struct Run {
        Vector3<int> cell;
        std::vector<Vector3<int> > solid;
    };
    const auto fly = [&g, slick](double seconds, double dt) {
        g.startTrickTrainer(slick);
        EXPECT_TRUE(g.message(g.hwnd(), g._wmKeyDownDI, UNBOUND_KEY, 0));
        EXPECT_FALSE(g._paused);
        for (double t = 0.0; t < seconds - 1e-9; t += dt) {
            g.runFrame(dt);
        }
        EXPECT_TRUE(g._trickDone);
        EXPECT_TRUE(g._paused);
        return Run{g._player._cell, solidCells(g._octree)};
    };
    const Run reference = fly(6.0, 1.0 / 60);
    EXPECT_NE(reference.cell, START);
    for (const double dt : {0.5, 6.0}) {
        SCOPED_TRACE(dt);
        const Run run = fly(6.0, dt);
        EXPECT_EQ(run.cell, reference.cell);
        EXPECT_EQ(run.solid, reference.solid);
    }
}

TEST_F(TrickTrainerGL, EscapeOnTheIntroPanelComesBackOnTheTrickThatWasChosen) {
    testmenu::MenuGame& g = loadedGame();
    ASSERT_NO_FATAL_FAILURE(chooseTrick(g, "SLICK RIGHT"));
    ASSERT_EQ(g._state, Game::STATE_TRICK_TRAINER);
    Stelkor::SimpleMenu* const slicks = g._trickTrainerReturnMenu;
    // The bar of the trainer's screen, not a menu's.
    g._bottomBar.set(0.0f, g._barSpeed);

    g.device.keys.at(ESCAPE) = 0x80;
    g.runFrame(1.0 / 60);
    g.device.keys.at(ESCAPE) = 0x00;
    ASSERT_EQ(g._state, Game::STATE_MAIN_MENU);
    ASSERT_EQ(g._currentMenu, slicks);
    EXPECT_EQ(slicks->selectedItem().name, "SLICK RIGHT");
    const Quib::AABB2<float> box = slicks->boundingBox();
    EXPECT_FLOAT_EQ(g._bottomBar.targetHeight(),
                    std::max(g._barMenuMinHeight, box.max.y - box.min.y + g._barMenuMargin));
}

// The frame on a still world: what it draws over what the play frame alone draws.
class TrainerScreen {
public:
    explicit TrainerScreen(testmenu::MenuGame& game) : g(game) {
        g.frameTime(0.0);
        g.framePlay();
        world = testsupport::readScreen();
        g.frameTrickTrainer();
        screen = testsupport::readScreen();
    }

    const unsigned char* at(const std::vector<unsigned char>& pixels, int x, int y) const {
        return &pixels[4 * (y * 800 + x)];
    }
    // The pixel shows the world under the colour laid over it at its alpha.
    void expectOver(int x, int y, const RGBA<float>& color) const {
        const float over[3] = {color.r, color.g, color.b};
        for (int channel = 0; channel < 3; ++channel) {
            const float expected = 255.0f * over[channel] * color.a + at(world, x, y)[channel] * (1.0f - color.a);
            EXPECT_NEAR(at(screen, x, y)[channel], expected, 2.0f) << x << ", " << y << " channel " << channel;
        }
    }
    void expectWorld(int x, int y) const {
        EXPECT_TRUE(std::equal(at(screen, x, y), at(screen, x, y) + 3, at(world, x, y))) << x << ", " << y;
    }
    // The box around the pixels of exactly this colour in the window rectangle from
    // (x0, y0) to (x1, y1): left, bottom, right, top.
    std::vector<int> pixelsOf(unsigned char r, unsigned char gr, unsigned char b, int x0, int y0, int x1,
                              int y1) const {
        std::vector<int> box = {800, 600, -1, -1};
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const unsigned char* p = at(screen, x, y);
                if (p[0] == r && p[1] == gr && p[2] == b) {
                    box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
                }
            }
        }
        return box;
    }

    testmenu::MenuGame& g;
    std::vector<unsigned char> world;
    std::vector<unsigned char> screen;
};

Vector2<float> textSize(Game& g, const std::string& text, Stelkor::Font& font, int lineSpacing) {
    const int kept = g._renderer.lineSpacing();
    g._renderer.lineSpacing(lineSpacing);
    Vector2<float> size;
    g._renderer.getTextSize(&size, nullptr, text, font, Vector2<float>(1.0f, 1.0f));
    g._renderer.lineSpacing(kept);
    return size;
}

TEST_F(TrickTrainerGL, TheFrameDrawsTheCaptionTheIllustrationAndThePanelOfTheFlags) {
    testmenu::MenuGame& g = loadedGame();
    g.startTrickTrainer(g._trickLibrary.trickByName("SLICK", "LEFT"));
    for (int i = 0; i < 40; ++i) {
        g.runFrame(0.05);  // the bar slides away; the paused world stands
    }
    g._hudColor = RGBA<float>(1.0f, 0.0f, 1.0f, 1.0f);
    g._renderer.lineSpacing(7);

    const struct {
        bool intro, result, succeeded;
        RGBA<float> color;
        int right, bottom;
        std::string text;
    } panels[] = {
        {true, false, false, {0.0f, 0.0f, 0.8f, 0.8f}, 350, 158,
         "Briefly continue to fly forward.\n\t\t\tWhen in position to perform the trick\n\t\t\tfollow the displayed "
         "movement sequence.\n\n\t\t\tPress ESC to return to tricks menu.\n\t\t\tPress any other key to start."},
        {false, true, true, {0.0f, 0.4f, 0.0f, 0.8f}, 420, 173,
         "SUCCESS!\n\n\t\t\t\tPress any key to continue free flying and practicing.\n\t\t\t\tArrows will appear "
         "whenever you are in position\n\t\t\t\tto perform the trick.\n\n\t\t\t\tPress ESC at any time to start over."},
        {false, true, false, {0.7f, 0.0f, 0.0f, 0.8f}, 280, 93, "FAILED!\n\n\t\t\t\tPress any key to start over."},
    };
    for (const auto& panel : panels) {
        SCOPED_TRACE(panel.text.substr(0, 8));
        g._trickIntroPanel = panel.intro;
        g._trickResultPanel = panel.result;
        g._trickSucceeded = panel.succeeded;
        const TrainerScreen s(g);
        EXPECT_EQ(g._renderer.lineSpacing(), 7);
        const int top = 600 - 8, bottom = 600 - panel.bottom;
        // A box narrower than its text in the game's font widens to hold it.
        const Vector2<float> size = textSize(g, panel.text, *g._font, 4);
        const int right = std::max(panel.right, 26 + static_cast<int>(size.x) + 18);
        for (const int x : {8, right - 1}) {
            for (const int y : {bottom, top - 1}) {
                s.expectOver(x, y, panel.color);
            }
        }
        for (const int x : {7, right}) {
            s.expectWorld(x, bottom + 1);
        }
        s.expectWorld(9, bottom - 1);
        s.expectWorld(9, top);

        const std::vector<int> text = s.pixelsOf(255, 255, 255, 8, bottom, right, top);
        EXPECT_LT(text[2], right - 8) << "the text runs to the box's edge";
        EXPECT_NEAR(text[0], 26, 3);
        EXPECT_NEAR(text[3], 600 - 20, 4);
        EXPECT_NEAR(text[1], 600 - 20 - size.y, 5);
    }

    // The caption sits in the bottom right corner over the trick's picture; without a trick
    // its second line stays empty and no picture is drawn.
    g._trickIntroPanel = g._trickResultPanel = false;
    for (const bool trained : {true, false}) {
        SCOPED_TRACE(trained);
        g._trainedTrick = trained ? g._trickLibrary.trickByName("SLICK", "LEFT") : nullptr;
        const std::string caption = trained ? "Training\nSLICK LEFT" : "Training\n";
        const TrainerScreen s(g);
        const Vector2<float> size = textSize(g, caption, *g._fontSmall, -5);
        // The bottom right quarter: the HUD colour also tints the aim cursor in the middle.
        const std::vector<int> box = s.pixelsOf(255, 0, 255, 480, 0, 800, 240);
        EXPECT_NEAR(box[2], 800 - 12, 3);
        EXPECT_NEAR(box[0], 800 - 12 - size.x, 4);
        EXPECT_NEAR(box[3], 8 + size.y, 5);
        for (const int x : {800 - 136, 800 - 9}) {
            if (trained) {
                EXPECT_FALSE(std::equal(s.at(s.screen, x, 135), s.at(s.screen, x, 135) + 3, s.at(s.world, x, 135)));
            } else {
                s.expectWorld(x, 135);
            }
        }
        s.expectWorld(800 - 137, 135);
        s.expectWorld(800 - 9, 136);
        s.expectWorld(8, 600 - 9);  // no panel
    }
}

}  // namespace
