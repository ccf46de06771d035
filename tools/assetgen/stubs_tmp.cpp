#include "tools/assetgen/generators.h"
namespace assetgen {
void writeInterface(const Output&) {}
void writeSprites(const Output&) {}
void writeMaterials(const Output&) {}
void writeEnvironment(const Output&) {}
void writeSoundEffects(const Output&) {}
void writeMusic(const Output&) {}
void writeVoices(const Output&) {}
}
