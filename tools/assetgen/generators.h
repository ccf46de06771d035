#ifndef QUELLARIS_ASSETGEN_GENERATORS_H
#define QUELLARIS_ASSETGEN_GENERATORS_H

#include "tools/assetgen/output.h"

namespace assetgen {

// Each group writes its files of the game folder; the groups are independent of each other.
void writeFontSheets(const Output& out);
void writeLogos(const Output& out);
void writeInterface(const Output& out);
void writeSprites(const Output& out);
void writeMaterials(const Output& out);
void writeEnvironment(const Output& out);
void writeMeshes(const Output& out);
void writeSoundEffects(const Output& out);
void writeMusic(const Output& out);
void writeVoices(const Output& out);

}  // namespace assetgen

#endif
