#ifndef QUELLARIS_WORLD_SPARKLAYER_H
#define QUELLARIS_WORLD_SPARKLAYER_H

namespace Vortel {

// Draws additive sparks at half the screen's resolution, then adds them to the picture.
//
// A software GL pays for a spark by its pixels, and an explosion's glow near the eye covers
// screens of them. Sparks that add light and write no depth come out the same in any order,
// so they can be gathered in a buffer of their own, cleared to black, and added to the
// picture in one pass: each screen pixel then gets the sum its four-pixel block gathered,
// smoothed across blocks. The walls still hide sparks, through a copy of the depth buffer at
// the buffer's size. A soft glow looks the same; a spark a pixel or two across is spread
// over a block, so only sparks big on screen belong here.
//
// Where the GL has no framebuffer objects, the buffer cannot be made or take the picture's
// depth, or the picture's size is odd, begin() says so and the sparks are drawn straight
// onto the picture as before.
class SparkLayer {
public:
    // Sparks narrower than this, in the picture's pixels, are drawn onto the picture: spread
    // over blocks they would lose their peak.
    static constexpr float SMALLEST = 24.0f;
    // The layer costs a copy of the depth, a clear and a pass over the whole picture, and
    // each change of target waits for the software GL to finish what came before. It saves
    // three quarters of the big sparks' pixels, but what they cover as sent says nothing of
    // the pixels the walls then reject, which cost little. Measured: sparks covering 5.9
    // screens, most of them behind walls at 30 % fill, drew a quarter slower with the layer
    // and took no less processor time; covering 8.9 to 10.3 on fields of 0-10 %, they took a
    // quarter to two fifths less. So the layer is begun once the big sparks not wholly hidden
    // cover WORTH_SCREENS screens, and goes on until they cover fewer than WORTH_UNTIL, so
    // that a view shaking near the limit does not flip the sparks' rims between the two
    // pictures frame by frame.
    static constexpr double WORTH_SCREENS = 7.5;
    static constexpr double WORTH_UNTIL = 6.0;

    SparkLayer() = default;
    SparkLayer(const SparkLayer&) = delete;
    SparkLayer& operator=(const SparkLayer&) = delete;
    // Needs the context the layer was made in, if it was made.
    ~SparkLayer();

    // Takes the depth drawn so far and makes the layer the target of drawing, cleared, with
    // the viewport at its size. False, with nothing changed, where there is no layer: draw
    // onto the picture then. Needs a current GL context; the projection and modelview stay.
    bool begin();
    // Makes the layer for the current viewport ahead of the first begin(), which would
    // otherwise make it in a frame. False where there is no layer.
    bool prepare();
    // Makes the picture the layer was begun on the target again, with its viewport, and adds
    // the layer to it unless nothing was drawn into it. Leaves blending, depth test, fog,
    // texturing and the matrices as it found them.
    void end(bool add);

    // Whether gathering pays this frame, for big sparks covering `screens` screens: see
    // WORTH_SCREENS. Remembers its answer for the next frame.
    bool worth(double screens) {
        _worth = screens >= (_worth ? WORTH_UNTIL : WORTH_SCREENS);
        return _worth;
    }

    // Frees the GL objects; the next begin() makes them again, unless making them failed
    // once. Needs the context they were made in.
    void release();

private:
    bool make(int width, int height);
    void copyDepth() const;

    unsigned int _framebuffer = 0;
    unsigned int _color = 0;  // a texture
    unsigned int _depth = 0;  // a renderbuffer
    int _width = 0;           // the picture's size the layer was made for
    int _height = 0;
    bool _failed = false;     // the layer could not be made: do not try each frame
    int _previous = 0;        // the framebuffer the layer was begun on
    int _viewport[4] = {0, 0, 0, 0};
    bool _worth = false;      // gathering paid in the latest frame
};

}  // namespace Vortel

#endif
