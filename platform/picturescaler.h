#ifndef QUELLARIS_PLATFORM_PICTURESCALER_H
#define QUELLARIS_PLATFORM_PICTURESCALER_H

#include "platform/picturefit.h"

// Shows the game's picture scaled up on a screen larger than it. The game keeps drawing its
// picture at its own size in the bottom-left corner of the drawable; before the buffers are
// swapped, present() copies that corner into a texture and draws it back over the whole
// drawable at the fit's place, on black. Every GL state it touches is given back, so the game
// finds its viewport, matrices, bindings and switches as it left them. Needs the GL context
// current; the texture is made on first use and freed with the scaler.
class PictureScaler {
public:
    PictureScaler() = default;
    ~PictureScaler();
    PictureScaler(const PictureScaler&) = delete;
    PictureScaler& operator=(const PictureScaler&) = delete;

    // fit: the picture's place on the drawable, counted as its pixels are.
    void present(const PictureFit& fit);
    // Frees the texture while the context is still current.
    void release();

private:
    void makeTexture(const PictureFit& fit);

    unsigned int _texture = 0;
    int _textureWidth = 0;
    int _textureHeight = 0;
};

#endif
