#ifndef QUELLARIS_ASSETGEN_OUTPUT_H
#define QUELLARIS_ASSETGEN_OUTPUT_H

#include <string>

namespace assetgen {

// The game folder being written: turns a game-relative name into a path, creating its folder.
class Output {
public:
    explicit Output(std::string root) : _root(std::move(root)) {}
    std::string path(const std::string& relative) const;
    const std::string& root() const { return _root; }

private:
    std::string _root;
};

}  // namespace assetgen

#endif
