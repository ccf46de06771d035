#ifndef QUELLARIS_GAME_PICKUPPOINTS_H
#define QUELLARIS_GAME_PICKUPPOINTS_H

namespace Vortel {

// The points a score pick-up holds for one draw r of the C-runtime generator (0 .. 32767):
// 500 for the lower half of the draws (0 .. 16383), 250 for the upper.
int scorePickupPoints(int r);

}  // namespace Vortel

#endif
