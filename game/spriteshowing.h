#ifndef QUELLARIS_GAME_SPRITESHOWING_H
#define QUELLARIS_GAME_SPRITESHOWING_H

#include <memory>

#include "engine2d/image.h"
#include "engine2d/sprite.h"

namespace Vortel {

// A new sprite of the given kind at the origin, showing the image (which it does not own).
template <typename SpriteType = Stelkor::Sprite>
std::unique_ptr<SpriteType> spriteShowing(Stelkor::Image& image) {
    std::unique_ptr<SpriteType> sprite = std::make_unique<SpriteType>();
    sprite->image(image);
    return sprite;
}

}  // namespace Vortel

#endif
