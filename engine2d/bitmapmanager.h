#ifndef QUELLARIS_ENGINE2D_BITMAPMANAGER_H
#define QUELLARIS_ENGINE2D_BITMAPMANAGER_H

#include <string>

#include "engine2d/bitmap.h"
#include "engine2d/resourcemanager.h"

namespace Stelkor {

class Renderer2D;

// Bitmaps by file name. They are decoded without a texture, so any thread may fill the cache;
// the thread holding the GL context then makes every texture with activateAll().
class BitmapManager : public ResourceManager<Bitmap> {
public:
    explicit BitmapManager(Renderer2D& renderer);
    ~BitmapManager() override = default;

    // Bitmaps that already have a texture keep it.
    void activateAll();

protected:
    Bitmap* createObject(const std::string& path) override;

private:
    Renderer2D* _renderer;
};

}  // namespace Stelkor

#endif
