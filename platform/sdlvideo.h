#ifndef QUELLARIS_PLATFORM_SDLVIDEO_H
#define QUELLARIS_PLATFORM_SDLVIDEO_H

// Holds SDL's video system open for the application's lifetime. SDL puts the desktop's own
// display mode back by itself when a full-screen window goes, so the mode is only checked.
class SdlVideo {
public:
    SdlVideo();
    ~SdlVideo();
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;

    // Whether the driver SDL took draws into memory only, where no screen shows the frames.
    bool showsNothing() const;
};

#endif
