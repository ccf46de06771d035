#include "actors/builtintricks.h"

#include <cstddef>

#include "actors/trick.h"
#include "actors/tricklibrary.h"

namespace Vortel {
namespace {

constexpr std::size_t MAX_TRICK_STEPS = 11;

struct PatternStep {
    unsigned int move;
    unsigned int surround;
};

struct TrickRow {
    const char* name;
    const char* subname;
    int score;
    const char* rank;
    PatternStep steps[MAX_TRICK_STEPS];
    const char* description;  // null: the trick has none
};

constexpr const char* SLICK_TEXT_LEFT = "Simple sharp turn left just \n in time to avoid crashing \ninto obstacle.";
constexpr const char* SLICK_TEXT_RIGHT = "Simple sharp turn right just \n in time to avoid crashing \ninto obstacle.";
constexpr const char* SLICK_TEXT_UP = "Simple sharp turn up just \n in time to avoid crashing \ninto obstacle.";
constexpr const char* SLICK_TEXT_DOWN = "Simple sharp turn down just \n in time to avoid crashing \ninto obstacle.";
constexpr const char* DOUBLE_SLICK_TEXT_LEFT =
    "Two consecutive left slicks.\nLook for specific obstacle\nconfiguration to perform it\nsuccessfully.";
constexpr const char* DOUBLE_SLICK_TEXT_RIGHT =
    "Two consecutive right slicks.\nLook for specific obstacle\nconfiguration to perform it\nsuccessfully.";
constexpr const char* DOUBLE_SLICK_TEXT_UP =
    "Two consecutive up slicks.\nLook for specific obstacle\nconfiguration to perform it\nsuccessfully.";
constexpr const char* DOUBLE_SLICK_TEXT_DOWN =
    "Two consecutive down slicks.\nLook for specific obstacle\nconfiguration to perform it\nsuccessfully.";
constexpr const char* U_TURN_TEXT = "Turning 180 degrees\naround the obstacle";
constexpr const char* BRIDGE_TEXT = "Going around obstacle\nwhile keeping the general\nmovement direction";
constexpr const char* ORBIT_TEXT = "Full 360 degrees turn\naround the obstacle";
constexpr const char* SNAKE_TEXT_SIDEWAYS = "Left-right wiggle\naround two obstacles";
constexpr const char* SNAKE_TEXT_UPRIGHT = "Up-down wiggle\naround two obstacles";
constexpr const char* CRAZY_GORVAN_TEXT = "Easiest trick that include\nmovement in all four\ndirections";

// A zero move ends a row's steps. Step values: move 1 left, 2 right, 4 up, 8 down,
// 16 straight, 64 any; surround the same sides with 16 front and 64 any.
// DOUBLE SLICK LEFT starts straight where its siblings accept any move, ORBIT RIGHT's
// short form comes after its long one, and VORTEL has only wildcard surrounds (hence no
// obstacles) and no description: the rows are kept exactly as the game has always had them.
constexpr TrickRow BUILT_IN_TRICKS[] = {
    {"SLICK", "LEFT", 50, "ROOKIE", {{64, 64}, {1, 16}}, SLICK_TEXT_LEFT},
    {"DOUBLE SLICK", "LEFT", 150, "INTERMEDIATE", {{16, 64}, {1, 16}, {1, 16}}, DOUBLE_SLICK_TEXT_LEFT},
    {"SLICK", "RIGHT", 50, "ROOKIE", {{64, 64}, {2, 16}}, SLICK_TEXT_RIGHT},
    {"DOUBLE SLICK", "RIGHT", 150, "INTERMEDIATE", {{64, 64}, {2, 16}, {2, 16}}, DOUBLE_SLICK_TEXT_RIGHT},
    {"SLICK", "UP", 50, "ROOKIE", {{64, 64}, {4, 16}}, SLICK_TEXT_UP},
    {"DOUBLE SLICK", "UP", 150, "INTERMEDIATE", {{64, 64}, {4, 16}, {4, 16}}, DOUBLE_SLICK_TEXT_UP},
    {"SLICK", "DOWN", 50, "ROOKIE", {{64, 64}, {8, 16}}, SLICK_TEXT_DOWN},
    {"DOUBLE SLICK", "DOWN", 150, "INTERMEDIATE", {{64, 64}, {8, 16}, {8, 16}}, DOUBLE_SLICK_TEXT_DOWN},
    {"U-TURN", "UP", 100, "INTERMEDIATE", {{16, 4}, {4, 64}, {16, 4}, {4, 64}, {64, 4}}, U_TURN_TEXT},
    {"U-TURN", "DOWN", 100, "INTERMEDIATE", {{16, 8}, {8, 64}, {16, 8}, {8, 64}, {64, 8}}, U_TURN_TEXT},
    {"U-TURN", "LEFT", 100, "INTERMEDIATE", {{16, 1}, {1, 64}, {16, 1}, {1, 64}, {64, 1}}, U_TURN_TEXT},
    {"U-TURN", "RIGHT", 100, "INTERMEDIATE", {{16, 2}, {2, 64}, {16, 2}, {2, 64}, {64, 2}}, U_TURN_TEXT},
    {"BRIDGE", "UP", 250, "ADVANCED", {{64, 64}, {4, 16}, {8, 64}, {16, 8}, {8, 64}, {4, 8}}, BRIDGE_TEXT},
    {"BRIDGE", "DOWN", 250, "ADVANCED", {{64, 64}, {8, 16}, {4, 64}, {16, 4}, {4, 64}, {8, 4}}, BRIDGE_TEXT},
    {"BRIDGE", "RIGHT", 250, "ADVANCED", {{64, 64}, {2, 16}, {1, 64}, {16, 1}, {1, 64}, {2, 1}}, BRIDGE_TEXT},
    {"BRIDGE", "LEFT", 250, "ADVANCED", {{64, 64}, {1, 16}, {2, 64}, {16, 2}, {2, 64}, {1, 2}}, BRIDGE_TEXT},
    {"ORBIT", "DOWN", 200, "ADVANCED",
     {{16, 8}, {8, 64}, {16, 8}, {8, 64}, {16, 8}, {8, 64}, {64, 64}}, ORBIT_TEXT},
    {"ORBIT", "UP", 200, "ADVANCED",
     {{16, 4}, {4, 64}, {16, 4}, {4, 64}, {16, 4}, {4, 64}, {64, 64}}, ORBIT_TEXT},
    {"ORBIT", "LEFT", 200, "ADVANCED",
     {{16, 1}, {1, 64}, {16, 1}, {1, 64}, {16, 1}, {1, 64}, {64, 64}}, ORBIT_TEXT},
    {"ORBIT", "DOWN", 200, "ADVANCED",
     {{16, 8}, {8, 64}, {16, 8}, {8, 64}, {16, 8}, {8, 64}, {64, 64}, {4, 64}}, ORBIT_TEXT},
    {"ORBIT", "UP", 200, "ADVANCED",
     {{16, 4}, {4, 64}, {16, 4}, {4, 64}, {16, 4}, {4, 64}, {64, 64}, {8, 64}}, ORBIT_TEXT},
    {"ORBIT", "LEFT", 200, "ADVANCED",
     {{16, 1}, {1, 64}, {16, 1}, {1, 64}, {16, 1}, {1, 64}, {64, 64}, {2, 64}}, ORBIT_TEXT},
    {"ORBIT", "RIGHT", 200, "ADVANCED",
     {{16, 2}, {2, 64}, {16, 2}, {2, 64}, {16, 2}, {2, 64}, {64, 64}, {1, 64}}, ORBIT_TEXT},
    {"ORBIT", "RIGHT", 200, "ADVANCED",
     {{16, 2}, {2, 64}, {16, 2}, {2, 64}, {16, 2}, {2, 64}, {64, 64}}, ORBIT_TEXT},
    {"CORNER", "DOWN", 50, "ROOKIE", {{16, 8}, {8, 64}}, "Turn down around the\nobstacle corner"},
    {"CORNER", "LEFT", 50, "ROOKIE", {{16, 1}, {1, 64}}, "Turn left around the\nobstacle corner"},
    {"CORNER", "RIGHT", 50, "ROOKIE", {{16, 2}, {2, 64}}, "Turn right around the\nobstacle corner"},
    {"CORNER", "UP", 50, "ROOKIE", {{16, 4}, {4, 64}}, "Turn up around the\nobstacle corner"},
    {"SNAKE", "RIGHT", 350, "EXPERT",
     {{64, 64}, {2, 16}, {1, 64}, {16, 1}, {1, 64}, {16, 2}, {2, 64}, {16, 2}, {2, 64}, {1, 64}},
     SNAKE_TEXT_SIDEWAYS},
    {"SNAKE", "LEFT", 350, "EXPERT",
     {{64, 64}, {1, 16}, {2, 64}, {16, 2}, {2, 64}, {16, 1}, {1, 64}, {16, 1}, {1, 64}, {2, 64}},
     SNAKE_TEXT_SIDEWAYS},
    {"SNAKE", "UP", 350, "EXPERT",
     {{64, 64}, {4, 16}, {8, 64}, {16, 8}, {8, 64}, {16, 4}, {4, 64}, {16, 4}, {4, 64}, {8, 64}},
     SNAKE_TEXT_UPRIGHT},
    {"SNAKE", "DOWN", 350, "EXPERT",
     {{64, 64}, {8, 16}, {4, 64}, {16, 4}, {4, 64}, {16, 8}, {8, 64}, {16, 8}, {8, 64}, {4, 64}},
     SNAKE_TEXT_UPRIGHT},
    {"CRAZY GORVAN", "UP-RIGHT", 350, "EXPERT",
     {{64, 64}, {4, 16}, {8, 64}, {4, 16}, {8, 64}, {2, 8}, {2, 8}, {8, 64}, {4, 8}, {8, 64}, {4, 8}},
     CRAZY_GORVAN_TEXT},
    {"CRAZY GORVAN", "UP-LEFT", 350, "EXPERT",
     {{64, 64}, {4, 16}, {8, 64}, {4, 16}, {8, 64}, {1, 8}, {1, 8}, {8, 64}, {4, 8}, {8, 64}, {4, 8}},
     CRAZY_GORVAN_TEXT},
    {"CRAZY GORVAN", "DOWN-RIGHT", 350, "EXPERT",
     {{64, 64}, {8, 16}, {4, 64}, {8, 16}, {4, 64}, {2, 4}, {2, 4}, {4, 64}, {8, 4}, {4, 64}, {8, 4}},
     CRAZY_GORVAN_TEXT},
    {"CRAZY GORVAN", "DOWN-LEFT", 350, "EXPERT",
     {{64, 64}, {8, 16}, {4, 64}, {8, 16}, {4, 64}, {1, 4}, {1, 4}, {4, 64}, {8, 4}, {4, 64}, {8, 4}},
     CRAZY_GORVAN_TEXT},
    {"VORTEL", "UP", 300, "EXPERT",
     {{16, 64}, {16, 64}, {4, 64}, {16, 64}, {4, 64}, {16, 64}, {4, 64}, {1, 64}, {4, 64}, {4, 64}, {16, 64}},
     nullptr},
};

}  // namespace

void addBuiltInTricks(TrickLibrary& library) {
    Trick trick;
    for (const TrickRow& row : BUILT_IN_TRICKS) {
        trick.clear();
        trick.name(row.name);
        trick.subname(row.subname);
        trick.score(row.score);
        for (const PatternStep& s : row.steps) {
            if (s.move == 0) {
                break;
            }
            trick.step(s.move, s.surround);
        }
        trick.autoGenerateObstacles();
        trick.generateKeySequence();
        trick.rank(row.rank);
        if (row.description != nullptr) {
            trick.description(row.description);
        }
        library.addTrick(trick);
    }
}

}  // namespace Vortel
