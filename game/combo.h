#ifndef QUELLARIS_GAME_COMBO_H
#define QUELLARIS_GAME_COMBO_H

namespace Vortel {

// What a finished combo earns, apart from playing it: the points of its tricks taken
// together and the rating those points reach.

// The points of a combo of `tricks` tricks whose own points add up to `sum`: a share of the
// sum that grows with the count (0.4 for two tricks, 1.4 for ten), at least 50, brought to
// the nearest multiple of 25 (a remainder of 13 and more goes up) and at most 2000.
int comboPoints(int tricks, int sum);

// One row of the rating table: the words of the announcement, the rewards, the spoken word.
struct ComboRating {
    const char* text;   // " (GOOD) " ... " (SUPERIOR) "
    int shields;
    int ammo;
    const char* sound;  // "good" ... "superior"
};

// The rating combo points reach: GOOD below 250, VERY GOOD below 750, EXCELLENT below 1500,
// SUPERIOR from there on.
const ComboRating& comboRating(int points);

}  // namespace Vortel

#endif
