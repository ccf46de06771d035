#ifndef QUELLARIS_TESTS_ASSETS_CATALOGUE_H
#define QUELLARIS_TESTS_ASSETS_CATALOGUE_H

#include <string>
#include <vector>

// What the game folder must hold, as the game cuts and uses it.
namespace catalogue {

struct Picture {
    std::string file;   // under textures/
    int width, height;
    int cutWidth, cutHeight;  // the rectangle the game cuts from (0, 0)
};

inline const std::vector<Picture>& pictures()
{
    static const std::vector<Picture> list = {
        {"splash_lumisk.png", 1024, 1024, 800, 600},
        {"logo_zindle.png", 256, 128, 256, 128},
        {"logo_quendle.png", 256, 256, 256, 256},
        {"logo_small.png", 128, 32, 128, 32},
        {"loading_arrow.png", 32, 32, 32, 32},
        {"logo1.png", 256, 128, 256, 128},
        {"high_scores.png", 128, 32, 128, 32},
        {"paused.png", 64, 64, 41, 48},
        {"target.png", 32, 32, 32, 32},
        {"arrow_left.png", 64, 64, 64, 64},
        {"arrow_small.png", 16, 16, 16, 16},
        {"slider_handle.png", 16, 16, 12, 12},
        {"slider_bar.png", 128, 16, 81, 12},
        {"logo_zindle_small.png", 64, 32, 64, 32},
        {"logo_quendle_small.png", 64, 64, 64, 64},
        {"noise.png", 256, 128, 170, 128},
        {"cube7.png", 256, 256, 256, 256},
        {"chaser1.png", 256, 256, 256, 256},
        {"pow_score.png", 128, 128, 128, 128},
        {"pow_ammo.png", 128, 128, 128, 128},
        {"pow_shields.png", 128, 128, 128, 128},
        {"pow_emp.png", 128, 128, 128, 128},
        {"particle1.png", 64, 64, 64, 64},
        {"particle2.png", 32, 32, 32, 32},
        {"bubble.png", 32, 32, 32, 32},
        {"bullet.png", 64, 16, 64, 16},
        {"bullet_hole1.png", 32, 32, 32, 32},
        {"flare.png", 64, 64, 64, 64},
        {"environment0.png", 256, 256, 256, 256},
        {"environment1.png", 256, 256, 256, 256},
        {"environment2.png", 256, 256, 256, 256},
        {"environment3.png", 256, 256, 256, 256},
        {"environment4.png", 256, 256, 256, 256},
        {"environment5.png", 256, 256, 256, 256},
        {"font_small.png", 256, 64, 256, 64},
        {"font.png", 512, 32, 512, 32},
        {"font_big.png", 512, 128, 512, 128},
    };
    return list;
}

// Sprites drawn with linear filtering and repeat wrapping: their outermost pixels are clear.
inline const std::vector<std::string>& marginedSprites()
{
    static const std::vector<std::string> list = {"particle1.png", "particle2.png", "bubble.png",  "bullet.png",
                                                  "bullet_hole1.png", "flare.png",   "target.png",  "loading_arrow.png",
                                                  "arrow_left.png",  "arrow_small.png"};
    return list;
}

struct MeshExtent {
    std::string file;  // under mesh/
    float minX, maxX, minY, maxY, minZ, maxZ;
    float maxRadiusXZ;  // from the y axis (0: not checked)
    float maxRadiusXY;  // from the z axis (0: not checked)
    float maxRadius;    // from the centre (0: not checked)
};

inline const std::vector<MeshExtent>& meshes()
{
    static const std::vector<MeshExtent> list = {
        {"cube.obj", -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0, 0, 0},
        {"cube_bevel.obj", -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0, 0, 0},
        {"sphere.obj", -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0, 0, 0.5f},
        {"shiva.obj", -0.45f, 0.45f, -0.12f, 0.18f, -0.5f, 0.5f, 0, 0, 0},
        {"rocker.obj", -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0, 0, 0},
        {"flare.obj", -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0, 0, 0},
        {"gun1.obj", -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0, 0, 0},
        {"explosionRing.obj", -1.06f, 1.06f, -0.06f, 0.06f, -1.06f, 1.06f, 1.06f, 0, 0},
        {"pow_score.obj", -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0, 0, 0},
        {"pow_shields.obj", -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0, 0, 0},
        {"pow_ammo.obj", -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0, 0, 0},
        {"pow_emp.obj", -0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0, 0, 0},
        {"bullet.obj", -0.035f, 0.035f, -0.035f, 0.035f, -0.6f, 0.6f, 0, 0.035f, 0},
    };
    return list;
}

enum class SoundKind { Effect, Positional, Voice, Loop, Music };

struct Sound {
    std::string name;
    SoundKind kind;
};

// The 52 names the loader reads plus the intro jingle.
inline const std::vector<Sound>& sounds()
{
    using K = SoundKind;
    static const std::vector<Sound> list = {
        {"lazer", K::Effect}, {"menu_up_down", K::Effect}, {"menu_left_right", K::Effect}, {"menu_enter", K::Effect},
        {"swoosh_left", K::Effect}, {"swoosh_right", K::Effect}, {"swoosh_up", K::Effect}, {"swoosh_down", K::Effect},
        {"explosion", K::Positional}, {"bullet_hit", K::Effect}, {"next_wave_signal", K::Effect}, {"bump", K::Effect},
        {"block_explode", K::Positional}, {"pickup", K::Effect}, {"good", K::Voice}, {"verygood", K::Voice},
        {"excellent", K::Voice}, {"superior", K::Voice}, {"getready", K::Voice}, {"gameover", K::Voice},
        {"chaserentered", K::Voice}, {"chaserdestroyed", K::Voice}, {"chasercutoff", K::Voice}, {"2combo", K::Voice},
        {"3combo", K::Voice}, {"4combo", K::Voice}, {"5combo", K::Voice}, {"6combo", K::Voice}, {"7combo", K::Voice},
        {"8combo", K::Voice}, {"9combo", K::Voice}, {"10combo", K::Voice}, {"score", K::Voice}, {"ammo", K::Voice},
        {"emp", K::Voice}, {"shields", K::Voice}, {"warning_low_shields", K::Voice}, {"weapon_empty", K::Effect},
        {"trick", K::Effect}, {"combo", K::Effect}, {"emp_blast", K::Effect}, {"melt_all", K::Effect},
        {"hum_player", K::Loop}, {"hum_chaser", K::Positional}, {"signal_left", K::Effect}, {"signal_right", K::Effect},
        {"signal_up", K::Effect}, {"signal_down", K::Effect}, {"trick_failed", K::Effect}, {"theme_main", K::Music},
        {"theme_play", K::Music}, {"theme_game_over", K::Music}, {"quendle_intro", K::Effect},
    };
    return list;
}

}  // namespace catalogue

#endif
