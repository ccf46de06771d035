#include "tools/assetgen/generators.h"
namespace assetgen {
void writeMusic(const Output&) {}
void writeVoices(const Output&) {}
}
