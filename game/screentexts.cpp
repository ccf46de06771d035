#include "game/screentexts.h"

#include <algorithm>

#include "actors/trick.h"

namespace Vortel {

std::string trickInformationText(const Trick& trick) {
    std::string text = "Rank: " + trick.rank() + "\nScore: " + std::to_string(trick.score()) + "\n\n";
    if (!trick.description().empty()) {
        text += "Description: \n" + trick.description() + "\n\n";
    }
    return text + "KeySequence: \n" + trick.keySequence() + "\n";
}

float scorePanelMargin(double time) {
    return static_cast<float>(std::max((0.7 - time) * 300.0, 80.0));
}

}  // namespace Vortel
