#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine2d/bitmap.h"
#include "engine2d/font.h"
#include "engine2d/image.h"
#include "engine2d/menuslider.h"
#include "engine2d/simplemenu.h"
#include "engine2d/textsprite.h"
#include "tests/support/draw_recorder.h"
#include "tests/support/png_writer.h"

using Stelkor::Image;
using Stelkor::MenuSlider;
using Stelkor::Renderer2D;
using Stelkor::SimpleMenu;
using Stelkor::Sprite;
using Stelkor::TextSprite;

namespace {

// Glyphs "A" 10 and "B" 12 wide in rows of 20 with spacing 2.
class SimpleMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::RgbaPicture sheet(64, 32);
        for (int x : {10, 23, 24}) {
            sheet.set(x, 31, 255, 0, 0, 255);
        }
        testsupport::writePng("menu_font.png", sheet);
        font.reset(new Stelkor::Font("menu_font.png", "AB", 4, 20, 2, renderer, false));
        normal.font = font.get();
        normal.pos(0, 300);
        highlight.font = font.get();
        highlight.pos(0, 300);
        highlight.textColor = RGBA<float>(1, 1, 0, 1);
    }

    std::unique_ptr<SimpleMenu> menu() {
        std::unique_ptr<SimpleMenu> m(new SimpleMenu(normal, highlight));
        m->lineSpacing = 20;
        return m;
    }

    testsupport::DrawRecorder renderer;
    std::unique_ptr<Stelkor::Font> font;
    TextSprite normal;
    TextSprite highlight;
};

struct Called {
    std::string item;
    std::string value;
    void* user = nullptr;
};

void record(const std::string& item, const std::string& value, void* user) {
    Called* c = static_cast<Called*>(user);
    c->item = item;
    c->value = value;
    c->user = user;
}

}  // namespace

TEST_F(SimpleMenuTest, ItemsStepDownByTheLineSpacingAndTheirExtraGaps) {
    std::unique_ptr<SimpleMenu> m = menu();
    m->addItem("A", true);
    m->addItem("B", true);
    m->addVspace(99);
    SimpleMenu::Item& third = m->addItem("AB", true);
    EXPECT_EQ(m->item("A")->normal->pos().y, 300);
    EXPECT_EQ(m->item("B")->highlight->pos().y, 280);
    EXPECT_EQ(third.normal->pos().y, 240);
    EXPECT_EQ(m->itemID("AB"), 2);
    EXPECT_EQ(m->item("none"), nullptr);
    EXPECT_EQ(m->itemID("none"), -1);

    m->pos(Vector2<float>(100, 0));
    EXPECT_EQ(third.normal->posAbs(), Vector2<float>(100, 240));
}

TEST_F(SimpleMenuTest, SelectionWrapsAndSwapsTheShownSprites) {
    std::unique_ptr<SimpleMenu> m = menu();
    EXPECT_THROW(m->selectedItem(), std::runtime_error);
    m->selectedItemID(3);  // empty: nothing
    EXPECT_EQ(m->selectedItemID(), -1);

    m->addItem("A", true);
    m->addItem("B", true);
    m->addItem("AB", true);
    EXPECT_EQ(m->selectedItemID(), 0);
    EXPECT_TRUE(m->selectedItem().highlight->_visible);
    EXPECT_FALSE(m->selectedItem().normal->_visible);

    m->selectPreviousItem();
    EXPECT_EQ(m->selectedItemID(), 2);
    m->selectNextItem();
    EXPECT_EQ(m->selectedItemID(), 0);
    m->selectedItemID(-5);
    EXPECT_EQ(m->selectedItemID(), 2);
    m->selectedItemID(m->itemCount());
    EXPECT_EQ(m->selectedItemID(), 0);
    EXPECT_TRUE(m->item("AB")->normal->_visible);
    EXPECT_FALSE(m->item("AB")->highlight->_visible);

    m->selectedItem("B");
    EXPECT_EQ(m->selectedItemID(), 1);
    m->selectedItem("nothing");
    EXPECT_EQ(m->selectedItemID(), 1);
    EXPECT_TRUE(m->item("B")->highlight->_visible);
}

TEST_F(SimpleMenuTest, ValuesWrapOrStopAndReportChanges) {
    std::unique_ptr<SimpleMenu> m = menu();
    SimpleMenu::Item& stops = m->addItem("A", false);
    stops.addValue("x", false).addValue("y", true);
    EXPECT_EQ(stops.normal->text, "A: y");
    stops.selectNextValue();
    EXPECT_EQ(stops.selectedValueID(), 1);
    EXPECT_FALSE(stops.valueChanged());
    stops.selectPreviousValue();
    EXPECT_TRUE(stops.valueChanged());
    stops.selectedValueID(-4);
    EXPECT_EQ(stops.selectedValueID(), 0);

    m->valueSeparator(" = ");
    SimpleMenu::Item& wraps = m->addItem("B", true);
    wraps.addValue("x", false).addValue("y", false);
    wraps.selectNextValue();
    wraps.selectNextValue();
    EXPECT_EQ(wraps.selectedValueID(), 0);
    EXPECT_TRUE(wraps.valueChanged());
    EXPECT_EQ(wraps.highlight->text, "B = x");
    wraps.selectPreviousValue();
    EXPECT_EQ(wraps.selectedValueID(), 1);

    wraps.clearValues();
    EXPECT_EQ(wraps.selectedValueID(), -1);
    wraps.selectNextValue();
    EXPECT_FALSE(wraps.valueChanged());
}

TEST_F(SimpleMenuTest, IntegerRangesSelectTheirValueAndNeverHang) {
    std::unique_ptr<SimpleMenu> m = menu();
    SimpleMenu::Item& down = m->addItem("A", true).addIntRangeValues(10, 0, 5, 1);
    ASSERT_EQ(down.valueCount(), 11);
    EXPECT_EQ(down.values.front(), "0");
    EXPECT_EQ(down.values[down.selectedValueID()], "5");

    SimpleMenu::Item& coarse = m->addItem("B", true).addIntRangeValues(0, 10, 3, 5);
    EXPECT_EQ(coarse.values, (std::vector<std::string>{"0", "5", "10"}));
    EXPECT_EQ(coarse.selectedValueID(), 0);

    SimpleMenu::Item& negative = m->addItem("AB", true).addIntRangeValues(-2, 1, -1, 0);
    EXPECT_EQ(negative.values, (std::vector<std::string>{"-2", "-1", "0", "1"}));
    EXPECT_EQ(negative.selectedValueID(), 1);
}

TEST_F(SimpleMenuTest, CallbackGetsTheItemAndValueTexts) {
    std::unique_ptr<SimpleMenu> m = menu();
    Called called;
    SimpleMenu::Item& plain = m->addItem("A", true);
    plain.callAction();  // no callback: nothing
    plain.action(record, &called);
    plain.callAction();
    EXPECT_EQ(called.item, "A");
    EXPECT_EQ(called.value, "");
    EXPECT_EQ(called.user, &called);

    plain.addValue("on", false).addValue("off", false);
    plain.selectNextValue();
    plain.callAction();
    EXPECT_EQ(called.value, "off");
}

TEST_F(SimpleMenuTest, MouseHitsIncludeLowEdgesOnly) {
    std::unique_ptr<SimpleMenu> m = menu();
    m->addItem("A", true);
    m->addItem("B", true);
    m->animate(0);
    // "B" (12 x 20), left/top at (0, 280): box (0, 260)-(14, 280) with the spacing.
    const Quib::AABB2<float> box = m->item("B")->normal->boundingBox();
    EXPECT_EQ(m->selectItemByMouse(box.max), -1);
    EXPECT_EQ(m->selectItemByMouse(Vector2<float>(box.max.x, box.min.y)), -1);
    EXPECT_EQ(m->selectedItemID(), 0);
    EXPECT_EQ(m->selectItemByMouse(box.min), 1);
    EXPECT_EQ(m->selectedItemID(), 1);

    const Quib::AABB2<float> all = m->boundingBox();
    EXPECT_EQ(all.min, Vector2<float>(0, 260));
    EXPECT_EQ(all.max, Vector2<float>(14, 300));
    EXPECT_EQ(menu()->boundingBox(), Quib::AABB2<float>(0, 0, 0, 0));
}

TEST_F(SimpleMenuTest, SlidersFollowTheirItemAndDragTheValue) {
    Stelkor::Bitmap bitmap(Vector2<unsigned int>(128, 16), renderer, RGBA<float>(1, 1, 1, 1));
    Image barImage(bitmap, Quib::AABB2<int>(0, 0, 110, 4), Vector2<int>(0, 0), false);
    Image knobImage(bitmap, Quib::AABB2<int>(0, 8, 8, 16), Vector2<int>(0, 0), false);
    Sprite handle;
    Sprite bar;
    handle.image(knobImage);
    bar.image(barImage);
    MenuSlider shared(handle, bar);
    shared.pos(200, 0);
    shared.range(0, 10, 1.0f);

    std::unique_ptr<SimpleMenu> m = menu();
    m->addItem("A", true);
    SimpleMenu::Item& volume = m->addItem("B", true).addIntRangeValues(0, 10, 4, 1);
    volume.slider(shared);
    volume.slider(shared);  // the earlier copy is freed, not leaked
    EXPECT_EQ(volume.slider()->value(), 4);
    m->animate(0);
    EXPECT_EQ(volume.slider()->handle()->posAbs(), Vector2<float>(244, 280));

    // The slider's box counts for the hit test but not for the menu's box.
    EXPECT_EQ(m->selectItemByMouse(Vector2<float>(300, 281)), 1);
    EXPECT_EQ(m->boundingBox().max.x, 14);
    EXPECT_TRUE(m->mouseHitSliderHandle(Vector2<float>(246, 282)));

    volume.startDragSlider();
    EXPECT_TRUE(volume.dragging());
    volume.dragSlider(Vector2<float>(200, 0));
    EXPECT_EQ(volume.values[volume.selectedValueID()], "10");
    EXPECT_TRUE(volume.valueChanged());
    EXPECT_EQ(volume.slider()->handle()->pos().x, 110);  // not pulled back to 100 mid-drag
    volume.stopDragSlider();
    volume.selectPreviousValue();
    EXPECT_EQ(volume.slider()->value(), 9);

    SimpleMenu::Item& none = *m->item("A");
    none.dragSlider(Vector2<float>(5, 0));
    EXPECT_FALSE(none.dragging());
    m->selectedItemID(0);
    EXPECT_FALSE(m->mouseHitSliderHandle(Vector2<float>(246, 282)));

    renderer.calls.clear();
    m->draw();
    EXPECT_EQ(renderer.calls.size(), 4u);  // two visible texts of one glyph each, handle and bar
}
