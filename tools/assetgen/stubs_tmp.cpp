#include "tools/assetgen/generators.h"
namespace assetgen {
void writeMusic(const Output&) {}
}
