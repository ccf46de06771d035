#ifndef QUELLARIS_GAME_CREDITS_H
#define QUELLARIS_GAME_CREDITS_H

#include <list>
#include <string>

#include "platform/math.h"

namespace Stelkor {
class Font;
class Renderer2D;
}  // namespace Stelkor

namespace Vortel {

// The credits roll: entries of a title and a text block, stacked downwards as they are added
// and rising up the screen at a constant speed. After the last entry and a blank space have
// passed it starts again from the top and counts one loop. Set the fonts before adding
// entries (they are measured when added); per frame: animate(frame time), then draw().
class Credits {
public:
    struct Entry {
        std::string title;
        std::string text;
        float titleY;  // top of the title, 0 for the first entry, negative below it
        float textY;
        RGBA<float> titleColor;
        RGBA<float> textColor;
    };

    // Not owned: the renderer must outlive the credits.
    explicit Credits(Stelkor::Renderer2D& renderer);

    Credits(const Credits&) = delete;
    Credits& operator=(const Credits&) = delete;

    // Not owned: the fonts must outlive the credits' drawing.
    void font(Stelkor::Font& title, Stelkor::Font& text) {
        _titleFont = &title;
        _textFont = &text;
    }
    // The colours of entries added from now on.
    void colors(const RGBA<float>& title, const RGBA<float>& text) {
        _titleColor = title;
        _textColor = text;
    }
    // The top-left of the first entry at scroll 0.
    void pos(const Vector2<float>& p) { _pos = p; }
    // Extra pixels between lines, truncated to whole pixels.
    void leading(float l) { _leading = l; }
    void endBlankSpace(float space) { _endBlankSpace = space; }
    // The gap below an entry's text.
    void spaceBetweenTitles(float space) { _spaceBetweenTitles = space; }
    void scroll(float s) { _scroll = s; }
    float scroll() const { return _scroll; }
    void scrollSpeed(float pixelsPerSecond) { _scrollSpeed = pixelsPerSecond; }
    void resetLoopCounter() { _loops = 0; }
    int loops() const { return _loops; }

    // Appends an entry below the last, measured with the fonts: an empty title takes no room
    // and an empty text neither room nor gap. Without fonts the entry takes no room at all.
    // Leaves the renderer with the leading as line spacing and left/top alignment.
    void addEntry(const std::string& title, const std::string& text);
    void clearEntries();
    const std::list<Entry>& entries() const { return _entries; }
    // Where the next entry would start: 0 or below.
    float length() const { return _length; }

    // A step that would scroll past all entries plus the blank space restarts at 0 instead
    // (the overshoot is dropped) and counts a loop.
    void animate(double dt);

    // Every entry, without fonts nothing. Loads the identity modelview first; leaves the
    // renderer with the text font, the leading, left/top alignment and the last colour.
    void draw();

private:
    void prepareRenderer();

    Stelkor::Renderer2D& _renderer;
    Stelkor::Font* _titleFont = nullptr;
    Stelkor::Font* _textFont = nullptr;
    RGBA<float> _titleColor = RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f);
    RGBA<float> _textColor = RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f);
    float _length = 0.0f;  // y is up, so it falls as entries are added
    Vector2<float> _pos;
    float _scroll = 0.0f;
    float _scrollSpeed = 4.0f;
    float _leading = 0.0f;
    float _spaceBetweenTitles = 0.0f;
    std::list<Entry> _entries;
    float _endBlankSpace = 0.0f;
    int _loops = 0;
};

}  // namespace Vortel

#endif
