#ifndef QUELLARIS_GAME_FONTCHARSETS_H
#define QUELLARIS_GAME_FONTCHARSETS_H

// The characters of the game's font sheets, glyph by glyph in sheet order. The game cuts its
// fonts with these strings and the asset generator draws the sheets from them, so the two can
// never disagree.
namespace fontcharsets {

// font_small.png and font_big.png: 81 characters.
inline constexpr char kCharsetA[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,:;!?_()*/+-=\"'&@ ";
// font.png: 93 characters.
inline constexpr char kCharsetB[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-=][';,./\\~!#%^&*()_+{}\":<>?|$ ";

}  // namespace fontcharsets

#endif
