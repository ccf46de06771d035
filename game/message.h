#ifndef QUELLARIS_GAME_MESSAGE_H
#define QUELLARIS_GAME_MESSAGE_H

#include <sstream>
#include <string>

#include "platform/math.h"

namespace Stelkor {
class Renderer2D;
}

namespace Vortel {

// The centre-screen announcement of the play screen. Game code streams lines into _text and
// then calls showText(hold, fade): the text stays fully visible for the hold, fades out
// linearly over the fade and then hides and empties itself. Lines streamed while a message
// is shown are added to it; clear() first when the new text must replace the old.
// Per frame: animate(frame time), then draw() with the renderer's font already chosen.
class Message {
public:
    // Not owned: the renderer must outlive the message.
    explicit Message(Stelkor::Renderer2D& renderer);

    // The stream and the renderer reference cannot be copied meaningfully.
    Message(const Message&) = delete;
    Message& operator=(const Message&) = delete;

    // Hidden: shows from time 0 with this hold and fade. Shown: a hold longer than the hold
    // time left restarts the showing with it, a shorter one keeps the running hold; the fade
    // is replaced and full alpha restored either way. A fade below 0 counts as 0, and a hold
    // or fade that is not a number as 0.
    void showText(double hold, double fade);

    // Stored only; nothing reads them.
    void rows(int n) { _rows = n; }
    void alphaMultiplier(float m) { _alphaMultiplier = m; }

    // Empties the text only: the showing, its timers and the stream's state flags stay.
    void clear();

    // While shown: advances the clock; past the hold the alpha falls by the frame's share of
    // the fade (never below 0); past hold plus fade the message hides and empties its text.
    void animate(double dt);

    // While shown: the whole text, each line centred on _pos.x and the block's bottom edge on
    // _pos.y, in _color with alpha times the multiplier, in the renderer's current font.
    // Loads the identity modelview first.
    void draw();

    bool shown() const { return _shown; }
    float alpha() const { return _alpha; }
    double time() const { return _time; }
    double holdTime() const { return _holdTime; }
    double fadeTime() const { return _fadeTime; }

    // Written directly by game code.
    std::stringstream _text;
    Vector2<float> _pos;
    RGBA<float> _color;

private:
    const std::string& printedText();

    Stelkor::Renderer2D& _renderer;
    // The text as draw() last read it, in storage kept from frame to frame: reading the
    // stream's own copy would allocate every frame the message shows.
    std::string _printed;
    double _holdTime = 1.0;
    double _fadeTime = 0.5;
    double _time = 0.0;
    float _alpha = 0.0f;
    bool _shown = false;
    float _alphaMultiplier = 1.0f;
    int _rows = 3;
};

}  // namespace Vortel

#endif
