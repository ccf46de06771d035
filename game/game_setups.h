#ifndef QUELLARIS_GAME_GAME_SETUPS_H
#define QUELLARIS_GAME_GAME_SETUPS_H

// The game's one-off set-up steps run after loading, each on the main thread with the GL
// context current.

namespace Stelkor {
class BitmapManager;
}

namespace Vortel {

// ---------------------------------------------------------------------------------------
// Reflection cube map
// ---------------------------------------------------------------------------------------

// Uploads "environment0.png" ... "environment5.png" from the bitmap cache as the cube-map
// faces +x, -x, +y, -y, +z, -z of a cube-map texture of its own, linear-filtered without
// mipmaps, and leaves it bound on the active texture unit: the playfield's reflection pass
// enables the cube-map target there without binding anything. The bitmaps must still hold
// their pixels and be square and of one power-of-two size. A picture the cache cannot
// provide throws its error before any face is touched. Returns the texture name, which
// stays for the run.
unsigned int setupCubeMap(Stelkor::BitmapManager& bitmaps);

}  // namespace Vortel

#endif
