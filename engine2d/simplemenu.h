#ifndef QUELLARIS_ENGINE2D_SIMPLEMENU_H
#define QUELLARIS_ENGINE2D_SIMPLEMENU_H

#include <string>
#include <vector>

#include "engine2d/sprite.h"
#include "platform/math.h"

namespace Stelkor {

class MenuSlider;
class TextSprite;

// A vertical list of text entries, each with optional values shown after its name, a
// sub-menu, a help text, a slider mirroring the selected value and a callback. The menu keeps
// the selection, lays the items out under one root sprite, draws and animates them and answers
// mouse hit tests; it reads no input itself. Once it has items, exactly one is selected: it
// shows its highlight text sprite, every other item its normal one.
class SimpleMenu {
public:
    typedef void (*ActionCallback)(const std::string& itemText, const std::string& valueText, void* user);

    class Item {
    public:
        Item(TextSprite& normal, TextSprite& highlight, const std::string& name, bool wrap,
             const std::string& separator);

        Item& addValue(const std::string& value, bool select);
        // Decimal values from..to (swapped when reversed) by step; a step below one counts as one.
        Item& addIntRangeValues(int from, int to, int selectedValue, int step);
        Item& clearValues();

        Item& child(SimpleMenu* menu) {
            childMenu = menu;
            return *this;
        }
        SimpleMenu* child() const { return childMenu; }
        Item& action(ActionCallback cb, void* user);
        Item& description(const std::string& text) {
            descriptionText = text;
            return *this;
        }
        const std::string& description() const { return descriptionText; }

        // The item keeps its own copy, set to the selected value.
        Item& slider(const MenuSlider& s);
        Item& slider(Sprite& handle, Sprite& bar);
        MenuSlider* slider() const { return menuSlider; }
        void startDragSlider();
        void stopDragSlider();
        bool dragging() const;
        // Moves a dragged slider and selects the value under its handle.
        void dragSlider(const Vector2<float>& movement);

        int selectedValueID() const { return selectedValue; }
        // Out-of-range indexes wrap round or stop at the ends by the item's wrap flag.
        void selectedValueID(int id);
        void selectNextValue() { selectedValueID(selectedValue + 1); }
        void selectPreviousValue() { selectedValueID(selectedValue - 1); }
        int valueCount() const { return static_cast<int>(values.size()); }
        bool valueChanged() const { return changed; }
        const std::string& text() const { return name; }
        void callAction() const;

        TextSprite* normal;     // a child of the menu's root
        TextSprite* highlight;  // a child of the menu's root
        SimpleMenu* childMenu;  // not owned
        std::string name;
        std::string separator;
        std::vector<std::string> values;
        int selectedValue;
        bool wrap;
        int vspace;  // extra gap below this item
        ActionCallback callback;
        void* userData;
        std::string descriptionText;
        MenuSlider* menuSlider;  // freed by the menu
        bool changed;

    private:
        void replaceSlider(MenuSlider* s);
    };

    SimpleMenu(const TextSprite& normal, const TextSprite& highlight);
    ~SimpleMenu();

    SimpleMenu(const SimpleMenu&) = delete;
    SimpleMenu& operator=(const SimpleMenu&) = delete;

    // The reference lasts until the next item is added.
    Item& addItem(const std::string& name, bool wrap);
    // Gives the last item an extra gap of lineSpacing below it; the amount is not used.
    void addVspace(int amount);
    // Shown texts change at each item's next value selection.
    void valueSeparator(const std::string& s);

    int selectedItemID() const { return selected; }
    // Past the end selects the first item, below 0 the last; selecting restarts the new item's
    // one-shot animations.
    void selectedItemID(int id);
    void selectNextItem() { selectedItemID(selected + 1); }
    void selectPreviousItem() { selectedItemID(selected - 1); }
    // The menu must have items.
    Item& selectedItem();
    void selectedItem(const std::string& name);
    int itemID(const std::string& name) const;
    Item* item(const std::string& name);
    int itemCount() const { return static_cast<int>(items.size()); }
    // Index of the item hit (now selected), or -1 with the selection unchanged.
    int selectItemByMouse(const Vector2<float>& p);
    bool mouseHitSliderHandle(const Vector2<float>& p);

    void pos(const Vector2<float>& p);
    void pos(float x, float y) { root.pos(x, y); }
    const Vector2<float>& pos() const { return root.pos(); }
    void animate(double dt);
    void draw();
    // The union of the items' text boxes, sliders left out; all zero for an empty menu.
    Quib::AABB2<float> boundingBox();

    SimpleMenu* parentMenu;  // the menu one level up; the menu itself never uses it
    int lineSpacing;

private:
    void showNormal(Item& item);
    void highlightSelected();
    TextSprite* shownSprite(Item& item, int index);

    std::string separator;
    std::vector<Item> items;
    TextSprite* normalPrototype;
    TextSprite* highlightPrototype;
    int selected;
    Sprite root;
};

}  // namespace Stelkor

#endif
