#include "game/multiscoretable.h"

#include <algorithm>
#include <iterator>
#include <sstream>

#include "game/scorefile.h"
#include "platform/boundedfile.h"
#include "platform/safewrite.h"

namespace Vortel {

namespace {

// A record's fixed fields: the two lengths, four colour and two offset components and the
// maximum row count.
const std::uint64_t kMinRecordBytes = 36;

bool hasTableNamed(const std::list<ScoreTable>& tables, const std::string& name) {
    return std::any_of(tables.begin(), tables.end(),
                       [&name](const ScoreTable& table) { return table.name() == name; });
}

}  // namespace

MultiScoreTable::MultiScoreTable(unsigned int maxEntries, unsigned int maxNameLength)
    : _maxEntries(maxEntries),
      _maxNameLength(maxNameLength),
      _currentTable(nullptr),
      _font(nullptr),
      _fadeFinished(true),
      _alpha(1.0f),
      _fadeRate(0.0f),
      _lastFadeType(FADE_IN) {}

void MultiScoreTable::font(Stelkor::Font& font) {
    _font = &font;
    for (ScoreTable& table : _tables) {
        table.font(font);
    }
}

ScoreTable* MultiScoreTable::getTable(const std::string& name) {
    if (ScoreTable* const found = findTable(name)) {
        return found;
    }
    _tables.emplace_back(_maxEntries, _maxNameLength);
    ScoreTable& table = _tables.back();
    table.name(name);
    if (_font != nullptr) {
        table.font(*_font);
    }
    return &table;
}

ScoreTable* MultiScoreTable::currentTable(const std::string& name) {
    _currentTable = getTable(name);
    return _currentTable;
}

ScoreTable* MultiScoreTable::createTable(const std::string& name, const std::string& comment) {
    ScoreTable* const table = getTable(name);
    table->comment(comment);
    _currentTable = table;
    return table;
}

void MultiScoreTable::nextTable() {
    if (_tables.empty()) {
        return;
    }
    auto table = currentByName();
    if (table != _tables.end()) {
        ++table;
    }
    if (table == _tables.end()) {
        table = _tables.begin();
    }
    _currentTable = &*table;
}

void MultiScoreTable::previousTable() {
    if (_tables.empty()) {
        return;
    }
    auto table = currentByName();
    if (table == _tables.begin() || table == _tables.end()) {
        table = _tables.end();
    }
    --table;
    _currentTable = &*table;
}

ScoreTable::Entry* MultiScoreTable::addEntry(std::uint32_t score, const std::string& name) {
    return _currentTable != nullptr ? _currentTable->addEntry(score, name) : nullptr;
}

ScoreTable::Entry* MultiScoreTable::addEntry(const ScoreTable::Entry& entry) {
    return _currentTable != nullptr ? _currentTable->addEntry(entry) : nullptr;
}

bool MultiScoreTable::scoreQualifies(std::uint32_t score) const {
    return _currentTable != nullptr && _currentTable->scoreQualifies(score);
}

void MultiScoreTable::beginEditName() {
    if (_currentTable != nullptr) {
        _currentTable->beginEditName();
    }
}

void MultiScoreTable::endEditName() {
    if (_currentTable != nullptr) {
        _currentTable->endEditName();
    }
}

void MultiScoreTable::typeChar(char c) {
    if (_currentTable != nullptr) {
        _currentTable->typeChar(c);
    }
}

void MultiScoreTable::typeBackspace() {
    if (_currentTable != nullptr) {
        _currentTable->typeBackspace();
    }
}

void MultiScoreTable::print(const Vector2<float>& pos, unsigned int count) {
    if (_currentTable != nullptr) {
        _currentTable->print(pos, count);
    }
}

void MultiScoreTable::fadeIn(double rate) {
    _fadeFinished = false;
    _fadeRate = std::max(0.0f, static_cast<float>(rate));
    _lastFadeType = FADE_IN;
}

void MultiScoreTable::fadeOut(double rate) {
    fadeIn(rate);
    _fadeRate = -_fadeRate;
    _lastFadeType = FADE_OUT;
}

void MultiScoreTable::animate(double dt) {
    if (!_fadeFinished) {
        // Landing exactly on 0 or 1 is not yet the end: the fade finishes on the step that
        // would pass it.
        _alpha += _fadeRate * static_cast<float>(dt);
        if (_alpha < 0.0f) {
            _alpha = 0.0f;
            _fadeFinished = true;
        } else if (_alpha > 1.0f) {
            _alpha = 1.0f;
            _fadeFinished = true;
        }
    }
    if (_currentTable != nullptr) {
        _currentTable->alpha(_alpha);
        _currentTable->animate(dt);
    }
}

bool MultiScoreTable::save(const std::string& path, std::string* reason) const {
    // Built whole in memory first: the file on disk is only ever replaced by a complete one.
    std::stringstream bytes;
    scorefile::writeUint32(bytes, static_cast<std::uint32_t>(_tables.size()));
    for (const ScoreTable& table : _tables) {
        if (!table.save(bytes)) {
            if (reason != nullptr) {
                *reason = "a table that cannot be written";
            }
            return false;
        }
    }
    // A file the next start would refuse would cost every table at the save after it.
    const std::string file = bytes.str();
    if (file.size() > scorefile::kMaxFileSize) {
        if (reason != nullptr) {
            *reason = "the tables would be larger than " + sizeText(scorefile::kMaxFileSize) +
                      ", which the game does not read";
        }
        return false;
    }
    return safeWrite(path, file, reason);
}

bool MultiScoreTable::load(const std::string& path, ReadFailure* failure, std::string* uneven) {
    std::string bytes;
    std::string unevenTable;
    if (uneven != nullptr) {
        uneven->clear();
    }
    if (!readBoundedFile(path, scorefile::kMaxFileSize, bytes, failure)) {
        return false;
    }
    std::stringstream in(bytes);
    bytes.clear();
    bytes.shrink_to_fit();
    const bool whole = read(in, unevenTable);
    if (uneven != nullptr) {
        *uneven = unevenTable;
    }
    if (!whole) {
        if (failure != nullptr) {
            *failure = ReadFailure();
            failure->reason = "damaged, not a whole score file";
        }
        return false;
    }
    return true;
}

bool MultiScoreTable::read(std::iostream& in, std::string& uneven) {
    std::uint32_t count = 0;
    // The count is signed in the file: 0 or negative means no tables.
    if (!scorefile::readUint32(in, count) || count == 0 || count > 0x7FFFFFFFu ||
        count * kMinRecordBytes > scorefile::bytesLeft(in)) {
        return false;
    }
    std::list<ScoreTable> tables;
    while (tables.size() < count) {
        tables.emplace_back(_maxEntries, _maxNameLength);
        std::uint32_t rows = 0;
        if (!tables.back().load(in, &rows)) {
            tables.pop_back();
            break;
        }
        if (rows != _maxEntries && uneven.empty()) {
            const bool more = rows > _maxEntries;
            uneven = "the " + tables.back().name() + " table holds " + std::to_string(rows) + " rows, " +
                     (more ? "more" : "fewer") + " than the " + std::to_string(_maxEntries) + " it shows, " +
                     (more ? "and keeps the best" : "and is filled up with empty rows");
        }
    }
    if (tables.empty()) {
        return false;
    }
    const bool whole = tables.size() == count;
    adopt(tables, whole);
    return whole;
}

// Makes the records read the set's tables, the first current. Unless the file was whole, the
// set's tables of other names stay after them: damage must not cost the player a table.
void MultiScoreTable::adopt(std::list<ScoreTable>& read, bool whole) {
    if (_font != nullptr) {
        for (ScoreTable& table : read) {
            table.font(*_font);
        }
    }
    if (!whole) {
        std::list<ScoreTable> others;
        for (auto table = _tables.begin(); table != _tables.end();) {
            const auto next = std::next(table);
            if (!hasTableNamed(read, table->name())) {
                others.splice(others.end(), _tables, table);
            }
            table = next;
        }
        read.splice(read.end(), others);
    }
    _currentTable = nullptr;
    _tables.swap(read);
    _currentTable = &_tables.front();
}

ScoreTable* MultiScoreTable::findTable(const std::string& name) {
    for (ScoreTable& table : _tables) {
        if (table.name() == name) {
            return &table;
        }
    }
    return nullptr;
}

// The first table with the current table's name, or the end when there is none.
std::list<ScoreTable>::iterator MultiScoreTable::currentByName() {
    if (_currentTable == nullptr) {
        return _tables.end();
    }
    const std::string& name = _currentTable->name();
    return std::find_if(_tables.begin(), _tables.end(),
                        [&name](const ScoreTable& table) { return table.name() == name; });
}

}  // namespace Vortel
