#ifndef QUELLARIS_GAME_DIALTEXTS_H
#define QUELLARIS_GAME_DIALTEXTS_H

#include <cstdint>
#include <string>

namespace Vortel {

// What the cockpit dials show, apart from drawing them: the number printed over each dial and
// the fraction its ring lights. Widths pad with '0' between the sign and the digits (-5 in
// width 3 is "-05"); a longer number is printed whole.

std::string scoreDialText(std::uint32_t score);        // plain: 12345
std::string pointsToGoDialText(int pointsToGo);        // plain
// The craft's shield points as the float they are: 40 "40", 5 "05", 37.5 "37.5".
std::string shieldsDialText(float shieldPoints);
std::string ammoDialText(int rounds);                  // width 3: 7 "007"
std::string bombsDialText(int bombs);                  // plain
std::string densityDialText(int densityPercent);       // width 2: 100 "100"
std::string chasersDialText(int live, int total);      // "3/5"
std::string waveDialText(int stage);                   // width 2: 7 "07"

// Fills as the points to go fall: empty at the full quota, full at 0. A quota of 0 gives an
// empty ring, a full one while the points to go are below 0.
float scoreDialValue(int pointsToGo, int waveQuota);
// amount / limit in floats (shields, rounds, bombs). A limit of 0 gives an empty ring, a full
// one while the amount is above 0.
float limitDialValue(float amount, int limit);

}  // namespace Vortel

#endif
