#include "game/combo.h"

#include <algorithm>

namespace Vortel {

namespace {

constexpr int MIN_POINTS = 50;
constexpr int MAX_POINTS = 2000;
constexpr int STEP = 25;

struct RatingRow {
    int below;
    ComboRating rating;
};

constexpr RatingRow ratings[] = {
    {250, {" (GOOD) ", 1, 5, "good"}},
    {750, {" (VERY GOOD) ", 2, 15, "verygood"}},
    {1500, {" (EXCELLENT) ", 3, 25, "excellent"}},
};
constexpr ComboRating superior = {" (SUPERIOR) ", 5, 50, "superior"};

}  // namespace

int comboPoints(int tricks, int sum) {
    // 0.4 is the single-precision constant widened: in floats 0.125 + 0.4 rounds down and an
    // exact product such as 0.525 x 120 would lose its last point.
    const double share = (tricks - 2) * 0.125 + static_cast<double>(0.4f);
    // Far past the cap already; bounded so that the conversion to int stays defined.
    const double raw = std::clamp(share * sum, 0.0, 2.0 * MAX_POINTS);
    const int p = std::max(static_cast<int>(raw), MIN_POINTS);
    int q = p / STEP * STEP;
    if (p % STEP > STEP / 2) {
        q += STEP;
    }
    return std::min(q, MAX_POINTS);
}

const ComboRating& comboRating(int points) {
    for (const RatingRow& row : ratings) {
        if (points < row.below) {
            return row.rating;
        }
    }
    return superior;
}

}  // namespace Vortel
