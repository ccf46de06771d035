#include "tools/assetgen/output.h"

#include <filesystem>

namespace assetgen {

std::string Output::path(const std::string& relative) const
{
    const std::filesystem::path full = std::filesystem::path(_root) / relative;
    std::filesystem::create_directories(full.parent_path());
    return full.string();
}

}  // namespace assetgen
