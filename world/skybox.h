#ifndef QUELLARIS_WORLD_SKYBOX_H
#define QUELLARIS_WORLD_SKYBOX_H

#include <vector>

#include "platform/math.h"

namespace Vortel {

// The surroundings as six ordinary 2D textures, drawn as the inside of a cube round the
// current origin. Slots: 0 the face at +x, 1 at -x, 2 at +y, 3 at -y, 4 at +z, 5 at -z.
// The same six pictures make the trail cubes' reflection cube map; the box keeps them as
// flat textures so the surroundings can also be drawn directly.
class SkyBox {
public:
    static constexpr int FACE_COUNT = 6;

    SkyBox();
    SkyBox(int posX, int negX, int posY, int negY, int posZ, int negZ);

    // Takes the six texture names in slot order and clamps each to its edges, so the faces
    // meet without a seam of wrapped texels. Needs the GL context.
    void assignTextures(int posX, int negX, int posY, int negY, int posZ, int negZ);

    // Six textured quads, 2 * size across, tinted by color. Leaves fog off.
    void draw(float size, const RGBA<float>& color) const;

    const std::vector<int>& textures() const { return _textures; }

private:
    std::vector<int> _textures;
};

}  // namespace Vortel

#endif
