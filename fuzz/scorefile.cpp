// The high-score file data/scores: the game makes its five speed tables and then loads the
// file over them, so whatever the file holds must leave a set of tables within the game's
// bounds, and what the game saves must read back whole and save again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/support/scratch.h"
#include "game/multiscoretable.h"

using fuzzsupport::require;

namespace {

// The game's rows per table and longest name.
constexpr unsigned int kRows = 20;
constexpr unsigned int kNameLength = 32;

void makeSpeedTables(Vortel::MultiScoreTable& tables) {
    for (const char* const name : {"VERY SLOW", "SLOW", "NORMAL", "FAST", "INSANE"}) {
        tables.createTable(name, "");
    }
}

void checkTables(const Vortel::MultiScoreTable& tables) {
    require(tables.currentTable() != nullptr, "no table is current after loading");
    for (const Vortel::ScoreTable& table : tables.tables()) {
        require(table.entries().size() == table.maxEntries(), "a table holds another count of rows than its maximum");
        Vortel::ScoreTable::Entry previous(UINT32_MAX, "");
        for (const Vortel::ScoreTable::Entry& row : table.entries()) {
            require(row.name.size() <= kNameLength, "a row's name is longer than the game allows");
            require(!(row < previous), "the rows are not kept best first");
            previous = row;
        }
    }
}

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = fuzzsupport::writeScratchFile("scores", data, size);
    Vortel::MultiScoreTable tables(kRows, kNameLength);
    makeSpeedTables(tables);
    tables.load(input);
    checkTables(tables);

    const std::string first = fuzzsupport::scratchPath("saved");
    require(tables.save(first), "the loaded tables could not be saved");
    Vortel::MultiScoreTable again(kRows, kNameLength);
    makeSpeedTables(again);
    require(again.load(first), "a saved score file did not load whole");
    require(again.tables().size() == tables.tables().size(), "a saved score file read back another count of tables");
    const std::string second = fuzzsupport::scratchPath("saved-again");
    require(again.save(second), "tables read from a saved file could not be saved again");
    require(contents(first) == contents(second), "a second save differs from the first");
    return 0;
}
