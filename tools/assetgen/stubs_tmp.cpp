#include "tools/assetgen/generators.h"
namespace assetgen {
void writeSoundEffects(const Output&) {}
void writeMusic(const Output&) {}
void writeVoices(const Output&) {}
}
