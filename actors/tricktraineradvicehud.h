#ifndef QUELLARIS_ACTORS_TRICKTRAINERADVICEHUD_H
#define QUELLARIS_ACTORS_TRICKTRAINERADVICEHUD_H

#include <vector>

#include "actors/trick.h"
#include "engine2d/sprite.h"
#include "engine2d/timelinesprite.h"
#include "platform/math.h"

namespace Stelkor {
class Image;
}

namespace Vortel {

// The row of arrows that shows the trick being trained, one per step in flying order from
// left to right: passed steps green, the step to fly now yellow and pulsing, later ones
// white; all green on success, the failed step red. It follows its own copy of the trick and
// is stepped by the play frame alongside the trainer, and stays up for a moment after the
// run ends so the result can be seen.
class TrickTrainerAdviceHud {
public:
    TrickTrainerAdviceHud();

    TrickTrainerAdviceHud(const TrickTrainerAdviceHud&) = delete;
    TrickTrainerAdviceHud& operator=(const TrickTrainerAdviceHud&) = delete;

    // The image must point left unrotated and outlive the display; arrows already built keep
    // the image they were built with.
    void arrowImage(Stelkor::Image& image);
    void center(const Vector2<float>& point);
    void clear();
    void clearSpriteHilites();

    // Builds the row; the run only starts with beginTrick(), so the old row's time runs on.
    void trick(const Trick& trick);
    void beginTrick();
    void step();
    // The run failed: the arrow of the step being judged, the one before the current, turns red.
    void endTrick();
    void endTrickSuccess();

    void animate(double dt);
    void draw();

private:
    Stelkor::TimelineSprite* newArrow(unsigned int move) const;
    void recolour();
    int stepCount() const { return static_cast<int>(_trick.steps().size()); }

    Stelkor::Sprite _rowSprite;  // at the row's centre; owns the arrows
    Stelkor::TimelineSprite _arrowLeft;
    Stelkor::TimelineSprite _arrowRight;
    Stelkor::TimelineSprite _arrowUp;
    Stelkor::TimelineSprite _arrowDown;
    Trick _trick;
    std::vector<Stelkor::TimelineSprite*> _arrows;  // _rowSprite's children, in the same order
    // Index of the current arrow; the step count while none is (before the first step, after the end).
    int _currentStep;
    bool _ended;  // also true before any run, so nothing counts down or shows by accident
    float _arrowSpacing;
    double _displayTimer;  // seconds still drawn; falls only once the run has ended
    double _displayTime;
};

}  // namespace Vortel

#endif
