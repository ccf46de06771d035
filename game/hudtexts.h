#ifndef QUELLARIS_GAME_HUDTEXTS_H
#define QUELLARIS_GAME_HUDTEXTS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>

#include "platform/aabb2.h"
#include "platform/rgba.h"

namespace Vortel {

class Bot;

// What the overlays and the text bar show, apart from drawing it. Texts are written into a
// string the caller keeps, so that drawing them every frame reuses its buffer.

// ---- combo and boost -------------------------------------------------------------------------

// The combo ring empties as the combo window runs out: full at 0, empty at the window's end.
// A window of 0 or less gives an empty ring.
float comboDialValue(double comboTime, double comboWindow);
// The way to the next boost level, and a full ring at the top level.
float speedingDialValue(float speedLevel, int speedLevelRounded, int topLevel);
// "x3".
void speedingText(int speedLevelRounded, std::string& out);

// ---- text bar --------------------------------------------------------------------------------

// The counters the text bar shows.
struct BarHudValues {
    std::uint32_t score = 0;
    int pointsToGo = 0;
    float shields = 0.0f;
    int ammo = 0;
    int bombs = 0;
    int liveChasers = 0;
    int chasers = 0;
    int density = 0;
};

// One item of the bar: its colour and the x of its column.
struct BarHudColumn {
    RGBA<float> color;
    float x = 0.0f;
};

// The text of item 0 .. 6 in the columns' order: "SCORE: 001234", "TO GO: 250",
// "SHIELDS: 40", "AMMO: 007", "EMP: 3", "CHASERS: 2/4", "DENS: 05". Widths are minimums.
void barHudText(std::size_t item, const BarHudValues& values, std::string& out);
// The longest text of item 0 .. 6 that a game shows, with digit in every place of a number:
// "SCORE: 88888888", "TO GO: -888888", "SHIELDS: 88", "AMMO: 888", "EMP: 8",
// "CHASERS: 88/88", "DENS: 888".
void barHudWidestText(std::size_t item, char digit, std::string& out);
// The columns in their order and colours, placed for texts no wider than widths (pixels): in
// whole pixels, spread across a row of rowWidth with equal gaps of at least 8 pixels and
// margins of 16 while there is room, and with gaps of 8 centred when there is not.
std::array<BarHudColumn, 7> barHudColumns(const std::array<float, 7>& widths, float rowWidth);

// ---- chaser labels -----------------------------------------------------------------------------

// "NAME (type)", "NAME " or "(type)"; empty with both off.
void chaserLabel(const std::string& name, const std::string& type, bool showName, bool showType, std::string& out);
// How far the hit-point bar hangs below the chaser's box: clear of a label when one is shown.
float hitpointBarOffset(bool showName, bool showType);

// A chaser's hit-point bar: a black frame 38 x 7 pixels below its screen box, and inside it a
// filled box in green, orange or red as the points run out.
struct HitpointBar {
    Quib::AABB2<float> frame;
    bool hasFill = false;
    Quib::AABB2<float> fill;
    RGBA<float> fillColor;
};

// False (no bar) when the maximum is 0 or below. No fill while the points are 0 or below; a
// fill too short to show is 0 wide.
bool hitpointBar(const Quib::AABB2<float>& screenBox, float hitpoints, int hitpointsMax, float offset,
                 HitpointBar& out);

// ---- respawn list and frame rate -------------------------------------------------------------

// "CHASER RESPAWN:\n" and a line "NAME 3\n" per chaser, whole seconds left; empty, without the
// heading, when no chaser waits.
void respawnListText(const std::list<Bot*>& deadBots, std::string& out);
// "59 fps\n", or empty when the frame rate is not shown.
void frameRateText(bool show, double framesPerSecond, std::string& out);

}  // namespace Vortel

#endif
