#ifndef QUELLARIS_GAME_SCREENTEXTS_H
#define QUELLARIS_GAME_SCREENTEXTS_H

#include <string>

namespace Vortel {

class Trick;

// What the main menu and the score screens show, apart from drawing them.

// The trick trainer's panel beside a trick's illustration: rank, score, the description when
// the trick has one, and the key sequence, each under its heading.
std::string trickInformationText(const Trick& trick);

// The margin of the dark panel under the score tables, time seconds after the screen opened:
// it opens from 210 pixels to 80 within about 0.43 seconds and stays at 80.
float scorePanelMargin(double time);

}  // namespace Vortel

#endif
