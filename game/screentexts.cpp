#include "game/screentexts.h"

#include <algorithm>

#include "actors/trick.h"
#include "engine2d/renderer2d.h"

namespace Vortel {

std::string trickInformationText(const Trick& trick) {
    std::string text = "Rank: " + trick.rank() + "\nScore: " + std::to_string(trick.score()) + "\n\n";
    if (!trick.description().empty()) {
        text += "Description: \n" + trick.description() + "\n\n";
    }
    return text + "KeySequence: \n" + trick.keySequence() + "\n";
}

namespace {

float widthOf(const std::string& line, const Stelkor::Renderer2D& renderer, const Stelkor::Font& font) {
    Vector2<float> size;
    renderer.getTextSize(&size, nullptr, line, font, Vector2<float>(1.0f, 1.0f));
    return size.x;
}

// One line of the text, broken into shown lines appended to out.
void wrapLine(const std::string& line, float width, const Stelkor::Renderer2D& renderer, const Stelkor::Font& font,
              std::string& out) {
    std::string shown;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(' ', at);
        if (start == std::string::npos) {
            break;
        }
        const std::size_t end = std::min(line.find(' ', start), line.size());
        const std::string word = line.substr(start, end - start);
        const std::string longer = shown.empty() ? word : shown + " " + word;
        if (!shown.empty() && widthOf(longer, renderer, font) > width) {
            out += shown;
            out += '\n';
            shown = word;
        } else {
            shown = longer;
        }
        at = end;
    }
    out += shown;
}

}  // namespace

std::string wrapText(const std::string& text, float width, const Stelkor::Renderer2D& renderer,
                     const Stelkor::Font& font) {
    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end == text.size() && start == end && start != 0) {
            break;  // the text's last line break
        }
        if (start != 0) {
            out += '\n';
        }
        wrapLine(text.substr(start, end - start), width, renderer, font, out);
        start = end + 1;
    }
    return out;
}

TrickPanelPlace trickPanelPlace(float barHeight) {
    TrickPanelPlace place;
    // The longest variant, "CRAZY GORVAN DOWN-RIGHT", ends at x 458 in the menu's font; the
    // longest panel then fits the bar's height beside a picture of 153 x 138 (the picture's
    // own shape, 10 : 9), 8 pixels from the text and 13 from the window's right edge.
    place.text = Vector2<float>(466.0f, barHeight - 10.0f);
    place.textWidth = 160.0f;
    place.lineSpacing = -2;
    place.previewSize = Vector2<float>(153.0f, 138.0f);
    place.preview = Vector2<float>(634.0f, barHeight - 12.0f - place.previewSize.y);
    return place;
}

float scorePanelMargin(double time) {
    return static_cast<float>(std::max((0.7 - time) * 300.0, 80.0));
}

}  // namespace Vortel
