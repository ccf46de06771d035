#ifndef QUELLARIS_GAME_MULTISCORETABLE_H
#define QUELLARIS_GAME_MULTISCORETABLE_H

namespace Vortel {

// The high-score tables, one per game speed. Stand-in: holds no table yet.
class MultiScoreTable {
public:
    MultiScoreTable(unsigned int maxEntries, unsigned int maxNameLength)
        : _maxEntries(maxEntries), _maxNameLength(maxNameLength) {}
    MultiScoreTable(const MultiScoreTable&) = delete;
    MultiScoreTable& operator=(const MultiScoreTable&) = delete;

private:
    unsigned int _maxEntries;
    unsigned int _maxNameLength;
};

}  // namespace Vortel

#endif
