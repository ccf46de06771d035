#ifndef QUELLARIS_GAME_MULTISCORETABLE_H
#define QUELLARIS_GAME_MULTISCORETABLE_H

#include <cstdint>
#include <iosfwd>
#include <list>
#include <string>

#include "game/scoretable.h"

struct ReadFailure;

namespace Stelkor {
class Font;
}  // namespace Stelkor

namespace Vortel {

// The set of all high-score tables, one per game speed, found by name. One table is current:
// the set forwards row and editing calls to it, fades it in and out with the set's own
// opacity, steps through the tables in order, and keeps the whole set in one score file.
// Without a current table (nothing created or loaded yet) the forwarding calls do nothing.
class MultiScoreTable {
public:
    enum { FADE_IN = 0, FADE_OUT = 1 };

    // Every table the set creates gets maxEntries rows and names of at most maxNameLength.
    MultiScoreTable(unsigned int maxEntries, unsigned int maxNameLength);

    // Tables point at the set's current table; a copy would point into the source.
    MultiScoreTable(const MultiScoreTable&) = delete;
    MultiScoreTable& operator=(const MultiScoreTable&) = delete;

    // Not owned. Given to every table present and every table created or loaded later.
    void font(Stelkor::Font& font);

    // The first table of that name, created (with its "NOBODY" rows and the font) at the end
    // of the set when there is none. Leaves the current table as it is.
    ScoreTable* getTable(const std::string& name);
    // getTable, made current.
    ScoreTable* currentTable(const std::string& name);
    // getTable with the comment set, made current.
    ScoreTable* createTable(const std::string& name, const std::string& comment);
    // None before any table exists.
    ScoreTable* currentTable() const { return _currentTable; }
    // The table after (before) the current one, wrapping round; nothing on an empty set.
    void nextTable();
    void previousTable();

    ScoreTable::Entry* addEntry(std::uint32_t score, const std::string& name);
    ScoreTable::Entry* addEntry(const ScoreTable::Entry& entry);
    bool scoreQualifies(std::uint32_t score) const;
    void beginEditName();
    void endEditName();
    void typeChar(char c);
    void typeBackspace();
    void print(const Vector2<float>& pos, unsigned int count);

    float alpha() const { return _alpha; }
    void alpha(float alpha) { _alpha = alpha; }
    // Start moving the opacity up (down) by rate per second from where it is; a negative
    // rate counts as 0, a fade that never moves. A fade finishes on the step that would take
    // the opacity past 1 (0).
    void fadeIn(double rate);
    void fadeOut(double rate);
    bool fadeFinished() const { return _fadeFinished; }
    // Ends the fade at once, leaving the opacity where it is.
    void finishFade() { _fadeFinished = true; }
    int lastFadeType() const { return _lastFadeType; }

    // Moves the fade, then hands the opacity to the current table and animates it.
    void animate(double dt);

    // Writes every table in the set's order. The file is replaced safely (see
    // platform/safewrite.h): on false the old file is as it was, and reason (when given) says
    // why; on true it says what may still cost the save, if anything (a folder that did not
    // sync). Tables that load() would refuse as too large are not written.
    bool save(const std::string& path, std::string* reason = nullptr) const;
    // Reads the set from the file. An intact file replaces the set in file order, its first
    // table current, and gives true. A damaged file gives false and never costs a table: the
    // records read before the damage replace the tables of their names and come first, the
    // others stay after them, and the first record read is current. A file without one
    // whole record (missing, empty, too large, damaged at once) changes nothing. On false,
    // failure (when given) tells a missing file from one that is there but does not read
    // whole, and why; only a regular file is read (see platform/boundedfile.h). A table keeps
    // the rows the set makes whatever its record held (see ScoreTable::load); uneven (when
    // given) then names the first table whose record held more or fewer, how many and what
    // became of it, else it is emptied.
    bool load(const std::string& path, ReadFailure* failure = nullptr, std::string* uneven = nullptr);

    const std::list<ScoreTable>& tables() const { return _tables; }

private:
    // The tables of a file's bytes, as load() takes them; false unless they were whole.
    bool read(std::iostream& in, std::string& uneven);
    ScoreTable* findTable(const std::string& name);
    std::list<ScoreTable>::iterator currentByName();
    void adopt(std::list<ScoreTable>& read, bool whole);

    unsigned int _maxEntries;
    unsigned int _maxNameLength;
    std::list<ScoreTable> _tables;
    ScoreTable* _currentTable;
    Stelkor::Font* _font;
    bool _fadeFinished;
    float _alpha;
    float _fadeRate;
    int _lastFadeType;
};

}  // namespace Vortel

#endif
