#include <gtest/gtest.h>

#include "engine2d/bitmap.h"
#include "engine2d/menuslider.h"
#include "engine2d/textsprite.h"
#include "tests/game/game_fixture.h"
#include "world/mesh.h"
#include "world/meshchrome.h"
#include "world/particle.h"
#include "world/starfield.h"

namespace {

using Vortel::Game;
using AfterLoadGL = testgame::GameFixture;

TEST_F(AfterLoadGL, LoadingEndsWithEveryTextureListTableAndScreenSpriteInPlace) {
    testgame::TestGame& g = game();
    g.init();
    g.splashZindle();
    g.splashQuendle();
    g.load();
    for (int i = 0; i < 20000 && g._state == Game::STATE_LOADING; ++i) {
        frame(0.001);
    }
    ASSERT_EQ(g._state, Game::STATE_MAIN_MENU);

    const auto texture = [&](const char* name) { return static_cast<int>(g._bitmapManager.get(name)->texture()); };
    for (const char* name : {"cube7.png", "noise.png", "logo1.png", "environment3.png"}) {
        EXPECT_NE(texture(name), 0) << name;
    }
    for (Vortel::Mesh* mesh : {g._flareMesh, g._gunMesh, g._bulletMesh, g._scorePickupMesh}) {
        EXPECT_NE(mesh->_displayList, 0u);
    }
    const std::vector<int> sky = g._skyBox.textures();
    ASSERT_EQ(sky.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(sky[i], texture(("environment" + std::to_string(i) + ".png").c_str()));
    }
    EXPECT_EQ(g._playerMesh->_texId, texture("chaser1.png"));
    EXPECT_EQ(g._playerMesh->_chromeTexId, texture("cube7.png"));
    EXPECT_EQ(g._rockerMeshes[0]->_texId, 0);
    EXPECT_EQ(g._rockerMeshes[2]->_chromeTexId, texture("cube7.png"));
    EXPECT_EQ(g._empPickupMesh->_texId, texture("pow_emp.png"));
    EXPECT_EQ(g._ammoPickupMesh->_texId, texture("pow_ammo.png"));

    EXPECT_EQ(g._starfield->numParticles(), 400);
    // Read back at load, so that no frame of play waits for it.
    for (const char* spark : {"particle1.png", "particle2.png", "bubble.png"}) {
        EXPECT_TRUE(Vortel::Particle::batch().knowsShape(texture(spark))) << spark;
    }
    EXPECT_FLOAT_EQ(g._message._pos.x, 400.0f);
    EXPECT_FLOAT_EQ(g._message._pos.y, 342.0f);
    EXPECT_FLOAT_EQ(g._menuDescription.pos().x, 220.0f);
    EXPECT_FLOAT_EQ(g._menuDescription.pos().y, 3.0f);
    EXPECT_EQ(g._menuDescription.font, g._fontSmall.get());
    EXPECT_EQ(g._menuDescription.vAlign, Stelkor::Renderer2D::ALIGN_BOTTOM);
    ASSERT_NE(g._menuSlider, nullptr);

    Stelkor::TextSprite& banner = *g._overlayText;
    EXPECT_FLOAT_EQ(banner.pos().x, 400.0f);
    EXPECT_FLOAT_EQ(banner.pos().y, 340.0f);
    EXPECT_EQ(banner.font, g._fontBig.get());
    banner.animate(0.0);
    EXPECT_NEAR(banner._scale.x, 0.0f, 1e-5);
    banner.animate(0.15);
    EXPECT_NEAR(banner._scale.y, 1.3f, 1e-5);
    banner.animate(0.04);
    EXPECT_NEAR(banner._scale.x, 1.0f, 1e-5);
    banner.animate(1.61);
    EXPECT_NEAR(banner.textColor.a, 1.0f, 1e-5);
    banner.animate(1.0);
    EXPECT_NEAR(banner.textColor.a, 0.0f, 1e-5);

    EXPECT_EQ(g._credits.entries().size(), 10u);
    EXPECT_EQ(g._trickLibrary.tricks().size(), 37u);
    EXPECT_EQ(g._trickLibrary.tricks().front().name() + " " + g._trickLibrary.tricks().front().subname(),
              "SLICK LEFT");
    EXPECT_EQ(g._trickLibrary.tricks().back().name() + " " + g._trickLibrary.tricks().back().subname(), "VORTEL UP");
    EXPECT_TRUE(g._obstacleTrickLibrary.tricks().empty());
}

}  // namespace
