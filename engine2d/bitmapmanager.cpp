#include "engine2d/bitmapmanager.h"

namespace Stelkor {

BitmapManager::BitmapManager(Renderer2D& renderer) : _renderer(&renderer) {
    addPath("images");
    addPath("bitmaps");
    addPath("resources");
    addPath("resources/images");
    addPath("resources/bitmaps");
}

void BitmapManager::activateAll() {
    for (const EntryMap::value_type& e : entries()) {
        e.second.object->activate();
    }
}

Bitmap* BitmapManager::createObject(const std::string& path) {
    return new Bitmap(path, *_renderer, false);
}

}  // namespace Stelkor
