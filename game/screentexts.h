#ifndef QUELLARIS_GAME_SCREENTEXTS_H
#define QUELLARIS_GAME_SCREENTEXTS_H

#include <string>

#include "platform/vector2.h"

namespace Stelkor {
class Font;
class Renderer2D;
}  // namespace Stelkor

namespace Vortel {

class Trick;

// What the main menu and the score screens show, apart from drawing them.

// The trick trainer's panel beside a trick's illustration: rank, score, the description when
// the trick has one, and the key sequence, each under its heading.
std::string trickInformationText(const Trick& trick);

// The text as it is shown in a room width pixels wide in the font: each of its lines broken at
// blanks into lines no wider than the room (a word wider than the room stands alone), and the
// blanks at the start and the end of every line shown dropped. Lines are joined by '\n'; a
// line break that ends the text starts no further line.
std::string wrapText(const std::string& text, float width, const Stelkor::Renderer2D& renderer,
                     const Stelkor::Font& font);

// Where a trick's menu of variants shows the selected variant, on a bottom bar barHeight
// pixels high: the panel of text (printed in the small font, top-aligned from text, lines
// lineSpacing pixels closer than the font's rows and wrapped to textWidth) right of the menu's
// longest item, and the trick's picture beside it on the right.
struct TrickPanelPlace {
    Vector2<float> text;
    float textWidth = 0.0f;
    int lineSpacing = 0;
    Vector2<float> preview;
    Vector2<float> previewSize;
};
TrickPanelPlace trickPanelPlace(float barHeight);

// The margin of the dark panel under the score tables, time seconds after the screen opened:
// it opens from 210 pixels to 80 within about 0.43 seconds and stays at 80.
float scorePanelMargin(double time);

}  // namespace Vortel

#endif
