#include "game/scoretable.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "engine2d/font.h"
#include "engine2d/renderer2d.h"
#include "game/scorefile.h"
#include "platform/safewrite.h"

namespace Vortel {

namespace {

using Key = Stelkor::Timeline<RGBA<float> >::Keyframe;
using Stelkor::Renderer2D;

const RGBA<float> kYellow(1, 1, 0, 1);
const RGBA<float> kRed(1, 0, 0, 1);

const float kRowStep = 16;
const float kScoreColumn = 70;  // right edge of the scores, from the right edge of the ranks
const float kNameColumn = 20;   // left edge of the names, from the right edge of the scores
const std::uint32_t kMinRowBytes = 5;  // a score and the 0 byte ending an empty name

// Reads bytes up to a 0 byte, keeping at most the first keep of them. False when the stream
// ends before the 0 byte.
bool readZeroEnded(std::istream& in, std::size_t keep, std::string& text) {
    text.clear();
    for (;;) {
        const std::istream::int_type c = in.get();
        if (c == std::istream::traits_type::eof()) {
            return false;
        }
        if (c == 0) {
            return true;
        }
        if (text.size() < keep) {
            text += static_cast<char>(c);
        }
    }
}

// Reads a length and that many bytes; a length the stream cannot hold is damage, and
// nothing is allocated for it.
bool readSized(std::istream& in, std::string& text) {
    std::uint32_t length = 0;
    if (!scorefile::readUint32(in, length) || length > scorefile::bytesLeft(in)) {
        return false;
    }
    text.assign(length, '\0');
    return length == 0 || static_cast<bool>(in.read(&text[0], length));
}

void writeSized(std::ostream& out, const std::string& text) {
    scorefile::writeUint32(out, static_cast<std::uint32_t>(text.size()));
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace

ScoreTableEntry::ScoreTableEntry() : score(0) {}

ScoreTableEntry::ScoreTableEntry(std::uint32_t score_, const std::string& name_) : score(score_), name(name_) {}

bool ScoreTableEntry::operator<(const ScoreTableEntry& other) const {
    return score > other.score;
}

ScoreTable::ScoreTable(unsigned int maxEntries, unsigned int maxNameLength)
    : ScoreTableValues(maxEntries, maxNameLength) {
    _editColor = kYellow;
    _editColorTimeline.addKey(Key{0.0, kYellow, Stelkor::Timeline<RGBA<float> >::KEY_ABSOLUTE});
    _editColorTimeline.addKey(Key{0.5, kRed, Stelkor::Timeline<RGBA<float> >::KEY_ABSOLUTE});
    _editColorTimeline.addKey(Key{1.0, kYellow, Stelkor::Timeline<RGBA<float> >::KEY_ABSOLUTE});
    _editColorTimeline.loop = true;
    _editColorTimeline.targetObject(_editColor);
    reset();
}

ScoreTable::ScoreTable(const ScoreTable& other) : ScoreTableValues(other) {
    _editColorTimeline.targetObject(_editColor);
}

ScoreTable& ScoreTable::operator=(const ScoreTable& other) {
    if (this == &other) {
        return *this;
    }
    // Cleared before the rows go, so no pointer into them outlives them.
    _editEntry = nullptr;
    _editing = false;
    ScoreTableValues::operator=(other);
    _editColorTimeline.targetObject(_editColor);
    return *this;
}

void ScoreTable::font(Stelkor::Font& font) {
    _font = &font;
    _renderer = &font.renderer();
}

void ScoreTable::reset() {
    _editEntry = nullptr;
    _entries.clear();
    for (unsigned int i = 1; i <= _maxEntries; ++i) {
        _entries.push_back(Entry(10 * i, cutName("NOBODY")));
    }
    sortAndTrim();
}

bool ScoreTable::scoreQualifies(std::uint32_t score) const {
    const std::uint32_t lowest = _entries.empty() ? 0 : _entries.back().score;
    return score > lowest;
}

ScoreTable::Entry* ScoreTable::addEntry(const Entry& entry) {
    const bool qualifies = scoreQualifies(entry.score);
    _editEntry = nullptr;
    _entries.push_back(Entry(entry.score, cutName(entry.name)));
    Entry* const added = &_entries.back();
    // std::list sorts stably by moving nodes, so the new row stays below older equal scores
    // and a row under edit keeps its address.
    _entries.sort();
    bool kept = false;
    unsigned int rank = 0;
    for (auto row = _entries.begin(); row != _entries.end() && rank < _maxEntries; ++row, ++rank) {
        kept = kept || &*row == added;
    }
    _entries.resize(_maxEntries);
    if (qualifies && kept) {
        _editEntry = added;
    }
    return _editEntry;
}

ScoreTable::Entry* ScoreTable::addEntry(std::uint32_t score, const std::string& name) {
    return addEntry(Entry(score, name));
}

void ScoreTable::beginEditName() {
    if (_editEntry != nullptr) {
        _editing = true;
    }
}

void ScoreTable::typeChar(char c) {
    if (_editEntry == nullptr || !_editing) {
        return;
    }
    // A 0 byte would end the name early in the score file and split its row on reading.
    if (c == '\0' || (_font != nullptr && _font->charImage(static_cast<unsigned char>(c)) == nullptr)) {
        return;
    }
    if (_editEntry->name.size() < _maxNameLength) {
        _editEntry->name += c;
    }
}

void ScoreTable::typeBackspace() {
    if (_editEntry == nullptr || !_editing || _editEntry->name.empty()) {
        return;
    }
    _editEntry->name.pop_back();
}

void ScoreTable::animate(double dt) {
    _cursorTime += dt;
    // Tables are copied by value, so the timeline may still aim at the source's colour.
    _editColorTimeline.targetObject(_editColor);
    _editColorTimeline.animate(dt);
    // Odd phases show the cursor; fmod keeps a long run clear of integer overflow.
    _cursorVisible = std::fmod(std::trunc(_cursorTime / _cursorPeriod), 2.0) != 0.0;
}

void ScoreTable::print(const Vector2<float>& pos, unsigned int count) {
    if (count == 0) {
        count = _maxEntries;
    }
    if (_font == nullptr) {
        return;
    }
    _renderer->_font = _font;
    _renderer->color(_nameColor.r, _nameColor.g, _nameColor.b, _alpha);
    _renderer->textAlign(Renderer2D::ALIGN_LEFT, Renderer2D::ALIGN_TOP);
    _renderer->print(_name, Vector2<float>(pos.x - 30 + _nameOffset.x, pos.y + 20 + _nameOffset.y),
                     Vector2<float>(1, 1));

    Vector2<float> pen(pos.x, pos.y - kRowStep);
    unsigned int rank = 1;
    for (auto row = _entries.begin(); row != _entries.end() && rank <= count; ++row, ++rank) {
        printRow(*row, rank, pen);
        pen.y -= kRowStep;
    }
}

void ScoreTable::printRow(const Entry& row, unsigned int rank, Vector2<float> pen) {
    const bool edited = _editing && &row == _editEntry;
    const RGBA<float>& color = edited ? _editColor : _textColor;
    const Vector2<float> unit(1, 1);
    _renderer->color(color.r, color.g, color.b, _alpha);

    _renderer->textAlign(Renderer2D::ALIGN_RIGHT, Renderer2D::ALIGN_TOP);
    _text = std::to_string(rank);
    _text += '.';
    _renderer->print(_text, pen, unit);
    pen.x += kScoreColumn;
    _text = std::to_string(row.score);
    _renderer->print(_text, pen, unit);

    _renderer->textAlign(Renderer2D::ALIGN_LEFT, Renderer2D::ALIGN_TOP);
    pen.x += kNameColumn;
    _text = row.name;
    if (edited && _cursorVisible) {
        _text += '_';
    }
    _renderer->print(_text, pen, unit);
}

bool ScoreTable::save(std::iostream& stream) const {
    writeSized(stream, _name);
    writeSized(stream, _comment);
    for (const float f : {_nameColor.r, _nameColor.g, _nameColor.b, _nameColor.a, _nameOffset.x, _nameOffset.y}) {
        scorefile::writeFloat(stream, f);
    }
    // The table always holds its maximum of rows; the count written is the rows that follow,
    // so the record can always be read back.
    scorefile::writeUint32(stream, static_cast<std::uint32_t>(_entries.size()));
    for (const Entry& row : _entries) {
        scorefile::writeUint32(stream, row.score);
        stream.write(row.name.c_str(), static_cast<std::streamsize>(row.name.size() + 1));
    }
    return !stream.fail();
}

bool ScoreTable::load(std::iostream& stream, std::uint32_t* rowsHeld) {
    ScoreTable record(*this);
    if (!record.readRecord(stream, rowsHeld)) {
        return false;
    }
    *this = record;
    return true;
}

bool ScoreTable::readRecord(std::istream& in, std::uint32_t* rowsHeld) {
    std::string name;
    std::string comment;
    if (!readSized(in, name) || !readSized(in, comment)) {
        return false;
    }
    float fields[6];
    for (float& f : fields) {
        if (!scorefile::readFloat(in, f)) {
            return false;
        }
    }
    std::uint32_t maxEntries = 0;
    if (!scorefile::readUint32(in, maxEntries) ||
        static_cast<std::uint64_t>(maxEntries) * kMinRowBytes > scorefile::bytesLeft(in)) {
        return false;
    }
    // The rows come in sorted again and all at once, so a row the file holds is never
    // pushed out by the padding of a table still filling up.
    std::list<Entry> rows;
    Entry row;
    for (std::uint32_t i = 0; i < maxEntries; ++i) {
        if (!scorefile::readUint32(in, row.score) || !readZeroEnded(in, _maxNameLength, row.name)) {
            return false;
        }
        rows.push_back(row);
    }
    _entries.swap(rows);
    _name = name;
    _comment = comment;
    _nameColor.set(fields[0], fields[1], fields[2], fields[3]);
    _nameOffset.set(fields[4], fields[5]);
    if (rowsHeld != nullptr) {
        *rowsHeld = maxEntries;
    }
    // The table keeps its own count whatever the record's: more rows than it shows would be
    // drawn off the panel, and slowly; fewer would take no new score, or too few, for good.
    sortAndTrim();
    return true;
}

bool ScoreTable::save(const std::string& path, std::string* reason) const {
    std::stringstream bytes;
    return save(bytes) && safeWrite(path, bytes.str(), reason);
}

bool ScoreTable::load(const std::string& path) {
    std::fstream file(path, std::ios::in | std::ios::binary);
    return file.is_open() && load(file);
}

std::string ScoreTable::cutName(const std::string& name) const {
    std::string cut = name.substr(0, name.find('\0'));
    if (cut.size() > _maxNameLength) {
        cut.resize(_maxNameLength);
    }
    return cut;
}

void ScoreTable::sortAndTrim() {
    _entries.sort();
    _entries.resize(_maxEntries);
}

}  // namespace Vortel
