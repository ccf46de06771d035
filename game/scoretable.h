#ifndef QUELLARIS_GAME_SCORETABLE_H
#define QUELLARIS_GAME_SCORETABLE_H

#include <cstdint>
#include <iosfwd>
#include <list>
#include <string>

#include "engine2d/timeline.h"
#include "platform/math.h"

namespace Stelkor {
class Font;
class Renderer2D;
}  // namespace Stelkor

namespace Vortel {

// One row of a score table (ScoreTable::Entry).
struct ScoreTableEntry {
    ScoreTableEntry();
    ScoreTableEntry(std::uint32_t score, const std::string& name);

    // True when this row ranks above the other: an ascending sort puts the best first.
    bool operator<(const ScoreTableEntry& other) const;

    std::uint32_t score;
    std::string name;
};

// What a copy of a score table takes as it stands: rows, settings, colours and the cursor's
// clock. Kept apart so that one defaulted copy takes them all.
struct ScoreTableValues {
    ScoreTableValues(unsigned int maxEntries, unsigned int maxNameLength)
        : _maxEntries(maxEntries), _maxNameLength(maxNameLength) {}

    std::list<ScoreTableEntry> _entries;
    Stelkor::Font* _font = nullptr;
    Stelkor::Renderer2D* _renderer = nullptr;
    // The rows the table always holds: all it has room for on the screen.
    unsigned int _maxEntries;
    unsigned int _maxNameLength;
    RGBA<float> _textColor = RGBA<float>(1, 1, 1, 1);
    RGBA<float> _editColor;
    // Aimed at the table's own _editColor: a copy re-aims it.
    Stelkor::Timeline<RGBA<float> > _editColorTimeline;
    RGBA<float> _nameColor = RGBA<float>(0, 0, 0, 0);
    float _alpha = 1.0f;
    Vector2<float> _nameOffset;
    bool _cursorVisible = true;
    double _cursorPeriod = 0.3;
    double _cursorTime = 0.0;
    std::string _name;
    std::string _comment;
};

// One named high-score table: a fixed number of rows kept best first, the rule for whether a
// score enters, the typing of the new row's name (blinking cursor, pulsing colour) and the
// drawing as rank, score and name columns under a title. Tables are values: the table set
// keeps them in a list, and a copy is a table of its own with no row under edit.
class ScoreTable : private ScoreTableValues {
public:
    using Entry = ScoreTableEntry;

    // maxEntries rows of "NOBODY", 10 x maxEntries down to 10.
    ScoreTable(unsigned int maxEntries, unsigned int maxNameLength);
    // Rows and settings are copied; the copy has no row under edit and is not editing, so
    // no pointer into the source's rows survives in it.
    ScoreTable(const ScoreTable& other);
    ScoreTable& operator=(const ScoreTable& other);

    // Not owned: the font must outlive the table's printing. The table prints through the
    // renderer the font was made for.
    void font(Stelkor::Font& font);
    const std::string& name() const { return _name; }
    void name(const std::string& name) { _name = name; }
    // Free text carried through the score file, never shown.
    const std::string& comment() const { return _comment; }
    void comment(const std::string& comment) { _comment = comment; }
    const RGBA<float>& nameColor() const { return _nameColor; }
    void nameColor(const RGBA<float>& color) { _nameColor = color; }
    Vector2<float> nameOffset() const { return _nameOffset; }
    void nameOffset(Vector2<float> offset) { _nameOffset = offset; }
    float alpha() const { return _alpha; }
    void alpha(float alpha) { _alpha = alpha; }

    // Back to the "NOBODY" rows, with no row under edit.
    void reset();
    // True when the score beats the lowest row; an empty table's lowest row counts as 0.
    bool scoreQualifies(std::uint32_t score) const;
    // Adds the row (its name cut at a 0 byte and to the longest name) in score order, below
    // rows of the same score, and keeps exactly maxEntries rows. Returns the new row, now
    // under edit, when the score qualified and the row stayed in the table; else none, and
    // no row is under edit. The row keeps its address while it stays in the table.
    Entry* addEntry(const Entry& entry);
    Entry* addEntry(std::uint32_t score, const std::string& name);

    // Typing is on only when a row is under edit.
    void beginEditName();
    void endEditName() { _editing = false; }
    // Appends to the edited row's name when typing is on and the name has room. Without a
    // font every character but 0 is taken; with one only characters it has a glyph for.
    void typeChar(char c);
    void typeBackspace();

    // Cursor blink and edit-colour pulse.
    void animate(double dt);
    // The title and the top count rows (0: all); the row under edit in the pulsing colour
    // with a blinking "_". Nothing without a font. Leaves the renderer aligned left/top, in
    // the last row's colour.
    void print(const Vector2<float>& pos, unsigned int count);

    // The table's record of the score file: name, comment, title colour and offset, maximum
    // and rows. save is false when the stream failed. load takes a record only whole: on a
    // damaged or short record it returns false and the table is as it was. The table keeps
    // the rows it was made with whatever the record's count: of more rows, the best are kept;
    // of fewer, rows of score 0 and no name fill it up, so a score still enters. rowsHeld
    // (when given) says how many rows the record held.
    bool save(std::iostream& stream) const;
    bool load(std::iostream& stream, std::uint32_t* rowsHeld = nullptr);
    // The record alone in a file of its own; written safely (see platform/safewrite.h).
    bool save(const std::string& path, std::string* reason = nullptr) const;
    bool load(const std::string& path);

    const std::list<Entry>& entries() const { return _entries; }
    unsigned int maxEntries() const { return _maxEntries; }
    unsigned int maxNameLength() const { return _maxNameLength; }
    const Entry* editEntry() const { return _editEntry; }
    bool editing() const { return _editing; }
    bool cursorVisible() const { return _cursorVisible; }
    const RGBA<float>& editColor() const { return _editColor; }

private:
    std::string cutName(const std::string& name) const;
    // Sorts best first (stable: equal scores oldest first) and drops or pads to maxEntries.
    void sortAndTrim();
    bool readRecord(std::istream& in, std::uint32_t* rowsHeld);
    void printRow(const Entry& row, unsigned int rank, Vector2<float> pen);

    // The row under edit points into this table's own rows: a copy starts without one.
    Entry* _editEntry = nullptr;
    bool _editing = false;
    std::string _text;  // print's scratch text, kept to spare an allocation per row
};

}  // namespace Vortel

#endif
