#ifndef QUELLARIS_ENGINE2D_TIMELINESPRITE_H
#define QUELLARIS_ENGINE2D_TIMELINESPRITE_H

#include <array>
#include <cstddef>
#include <vector>

#include "engine2d/sprite.h"
#include "engine2d/timeline.h"

namespace Stelkor {

// A sprite carrying copies of float timelines aimed at its own fields (or anything else) and
// advancing them after its own motion, unless it is paused.
class TimelineSprite : public virtual Sprite {
public:
    TimelineSprite() = default;
    ~TimelineSprite() override = default;

    void animate(double dt) override;
    Sprite* duplicate() const override;

    // Aims the caller's timeline at field, then stores a copy of it in place of the one
    // already aimed there, if any.
    void setTimeline(float& field, Timeline<float>& timeline);
    void rewindAllTimelines();
    void rewindNonLoopingTimelines();
    std::vector<Timeline<float> >& timelines() { return _timelines; }

    // Copies the timelines only; those aimed at this sprite's own animated fields are aimed
    // at the same fields of target, any other keeps its target.
    void copyTo(TimelineSprite* target) const;

protected:
    void animateTimelines(double dt);
    // Aims every timeline that follows from[i] at to[i] instead.
    template <std::size_t N>
    void reaimTimelines(const std::array<const float*, N>& from, const std::array<float*, N>& to) {
        for (Timeline<float>& t : _timelines) {
            for (std::size_t i = 0; i < N; ++i) {
                if (t.target() == from[i]) {
                    t.targetObject(to[i]);
                    break;
                }
            }
        }
    }

    std::vector<Timeline<float> > _timelines;
};

}  // namespace Stelkor

#endif
