#include "engine2d/simplemenu.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "engine2d/menuslider.h"
#include "engine2d/textsprite.h"

namespace Stelkor {

namespace {

TextSprite* textCopy(const TextSprite& s) {
    Sprite* const copy = s.duplicate();
    TextSprite* const text = dynamic_cast<TextSprite*>(copy);
    if (!text) {
        delete copy;
    }
    return text;
}

void setVisible(TextSprite* s, bool visible) {
    if (s) {
        s->_visible = visible;
    }
}

void restart(TextSprite* s) {
    if (s) {
        s->rewindNonLoopingTimelines();
    }
}

void settle(TextSprite* s) {
    if (s) {
        s->animate(0.0);
    }
}

Quib::AABB2<float> united(const Quib::AABB2<float>& a, const Quib::AABB2<float>& b) {
    return Quib::AABB2<float>(std::min(a.min.x, b.min.x), std::min(a.min.y, b.min.y), std::max(a.max.x, b.max.x),
                              std::max(a.max.y, b.max.y));
}

}  // namespace

// --- Item ---

SimpleMenu::Item::Item(TextSprite& normalSprite, TextSprite& highlightSprite, const std::string& itemName,
                       bool wrapValues, const std::string& valueSeparator)
    : normal(textCopy(normalSprite)),
      highlight(textCopy(highlightSprite)),
      childMenu(nullptr),
      name(itemName),
      separator(valueSeparator),
      selectedValue(-1),
      wrap(wrapValues),
      vspace(0),
      callback(nullptr),
      userData(nullptr),
      menuSlider(nullptr),
      changed(false) {
    if (normal) {
        normal->text = name;
    }
    if (highlight) {
        highlight->text = name;
    }
}

SimpleMenu::Item& SimpleMenu::Item::addValue(const std::string& value, bool select) {
    values.push_back(value);
    if (values.size() == 1) {
        selectedValueID(0);
    }
    if (select) {
        selectedValueID(valueCount() - 1);
    }
    return *this;
}

SimpleMenu::Item& SimpleMenu::Item::addIntRangeValues(int from, int to, int selected, int step) {
    if (to < from) {
        std::swap(from, to);
    }
    step = std::max(1, step);
    for (long long i = from; i <= to; i += step) {
        std::ostringstream text;
        text << i;
        addValue(text.str(), i == selected);
    }
    return *this;
}

SimpleMenu::Item& SimpleMenu::Item::clearValues() {
    values.clear();
    selectedValue = -1;
    return *this;
}

SimpleMenu::Item& SimpleMenu::Item::action(ActionCallback cb, void* user) {
    callback = cb;
    userData = user;
    return *this;
}

void SimpleMenu::Item::replaceSlider(MenuSlider* s) {
    delete menuSlider;
    menuSlider = s;
}

SimpleMenu::Item& SimpleMenu::Item::slider(const MenuSlider& s) {
    replaceSlider(new MenuSlider(s));
    menuSlider->value(selectedValue);
    return *this;
}

SimpleMenu::Item& SimpleMenu::Item::slider(Sprite& handle, Sprite& bar) {
    replaceSlider(new MenuSlider(handle, bar));
    return *this;
}

void SimpleMenu::Item::startDragSlider() {
    if (menuSlider) {
        menuSlider->startDrag();
    }
}

void SimpleMenu::Item::stopDragSlider() {
    if (menuSlider) {
        menuSlider->stopDrag();
    }
}

bool SimpleMenu::Item::dragging() const {
    return menuSlider && menuSlider->dragging();
}

void SimpleMenu::Item::dragSlider(const Vector2<float>& movement) {
    if (!menuSlider) {
        return;
    }
    menuSlider->drag(movement);
    if (values.empty()) {
        changed = false;
        return;
    }
    selectedValueID(menuSlider->value() % valueCount());
}

void SimpleMenu::Item::selectedValueID(int id) {
    if (values.empty()) {
        changed = false;
        return;
    }
    const int old = selectedValue;
    const int n = valueCount();
    if (id >= n) {
        id = wrap ? 0 : n - 1;
    } else if (id < 0) {
        id = wrap ? n - 1 : 0;
    }
    selectedValue = id;
    changed = selectedValue != old;

    const std::string shown = name + separator + values[selectedValue];
    if (normal) {
        normal->text = shown;
    }
    if (highlight) {
        highlight->text = shown;
    }
    if (menuSlider && !menuSlider->dragging()) {
        menuSlider->value(selectedValue);
    }
}

void SimpleMenu::Item::callAction() const {
    if (callback) {
        callback(name, selectedValue < 0 ? std::string() : values[selectedValue], userData);
    }
}

// --- SimpleMenu ---

SimpleMenu::SimpleMenu(const TextSprite& normal, const TextSprite& highlight)
    : parentMenu(nullptr),
      lineSpacing(0),
      separator(": "),
      normalPrototype(textCopy(normal)),
      highlightPrototype(textCopy(highlight)),
      selected(-1) {}

// The item text sprites go with the root; the sliders are the items' own.
SimpleMenu::~SimpleMenu() {
    delete normalPrototype;
    delete highlightPrototype;
    for (Item& item : items) {
        delete item.menuSlider;
    }
}

SimpleMenu::Item& SimpleMenu::addItem(const std::string& name, bool wrap) {
    Item item(*normalPrototype, *highlightPrototype, name, wrap, separator);
    if (!items.empty()) {
        const Item& last = items.back();
        const float spacing = static_cast<float>(lineSpacing);
        const float gap = static_cast<float>(last.vspace);
        if (item.normal && last.normal) {
            item.normal->pos(last.normal->pos().x, last.normal->pos().y - spacing - gap);
        }
        if (item.highlight && last.highlight) {
            item.highlight->pos(last.highlight->pos().x, last.highlight->pos().y - spacing - gap);
        }
    }
    for (TextSprite* s : {item.normal, item.highlight}) {
        if (s) {
            s->parent(&root);
        }
    }
    setVisible(item.normal, true);
    setVisible(item.highlight, false);
    settle(item.normal);
    settle(item.highlight);
    items.push_back(item);
    if (selected == -1) {
        selectedItemID(0);
    }
    return items.back();
}

void SimpleMenu::addVspace(int) {
    if (!items.empty()) {
        items.back().vspace = lineSpacing;
    }
}

void SimpleMenu::valueSeparator(const std::string& s) {
    separator = s;
    for (Item& item : items) {
        item.separator = s;
    }
}

void SimpleMenu::showNormal(Item& item) {
    setVisible(item.normal, true);
    setVisible(item.highlight, false);
}

void SimpleMenu::highlightSelected() {
    Item& item = items[static_cast<std::size_t>(selected)];
    setVisible(item.normal, false);
    setVisible(item.highlight, true);
    restart(item.normal);
    restart(item.highlight);
    settle(item.normal);
    settle(item.highlight);
}

void SimpleMenu::selectedItemID(int id) {
    if (items.empty()) {
        return;
    }
    if (selected >= 0) {
        showNormal(items[static_cast<std::size_t>(selected)]);
    }
    const int n = itemCount();
    selected = id >= n ? 0 : (id < 0 ? n - 1 : id);
    highlightSelected();
}

SimpleMenu::Item& SimpleMenu::selectedItem() {
    if (selected < 0 || selected >= itemCount()) {
        throw std::runtime_error("SimpleMenu - no item selected");
    }
    return items[static_cast<std::size_t>(selected)];
}

void SimpleMenu::selectedItem(const std::string& name) {
    if (items.empty()) {
        return;
    }
    if (selected >= 0) {
        showNormal(items[static_cast<std::size_t>(selected)]);
    }
    const int found = itemID(name);
    if (found >= 0) {
        selected = found;
    }
    if (selected >= 0) {
        highlightSelected();
    }
}

int SimpleMenu::itemID(const std::string& name) const {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

SimpleMenu::Item* SimpleMenu::item(const std::string& name) {
    const int id = itemID(name);
    return id < 0 ? nullptr : &items[static_cast<std::size_t>(id)];
}

TextSprite* SimpleMenu::shownSprite(Item& item, int index) {
    return index == selected ? item.highlight : item.normal;
}

int SimpleMenu::selectItemByMouse(const Vector2<float>& p) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        Item& item = items[i];
        TextSprite* const shown = shownSprite(item, static_cast<int>(i));
        if (!shown) {
            continue;
        }
        Quib::AABB2<float> box = shown->boundingBox();
        if (item.menuSlider) {
            box = united(box, item.menuSlider->bbox());
        }
        if (box.pointInside(p)) {
            selectedItemID(static_cast<int>(i));
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool SimpleMenu::mouseHitSliderHandle(const Vector2<float>& p) {
    if (selected < 0 || selected >= itemCount()) {
        return false;
    }
    const MenuSlider* const s = items[static_cast<std::size_t>(selected)].menuSlider;
    return s && s->mouseHitHandle(p);
}

void SimpleMenu::pos(const Vector2<float>& p) {
    root.pos(p);
    root.animate(0.0);
}

void SimpleMenu::animate(double dt) {
    root.animate(dt);
    for (std::size_t i = 0; i < items.size(); ++i) {
        Item& item = items[i];
        if (!item.menuSlider) {
            continue;
        }
        if (TextSprite* const shown = shownSprite(item, static_cast<int>(i))) {
            item.menuSlider->origin(shown->posAbs());
        }
        item.menuSlider->animate(dt);
    }
}

void SimpleMenu::draw() {
    root.drawLocal();
    for (Item& item : items) {
        if (item.menuSlider) {
            item.menuSlider->draw();
        }
    }
}

Quib::AABB2<float> SimpleMenu::boundingBox() {
    if (items.empty()) {
        return Quib::AABB2<float>(0, 0, 0, 0);
    }
    bool any = false;
    Quib::AABB2<float> box(0, 0, 0, 0);
    for (Item& item : items) {
        for (TextSprite* s : {item.normal, item.highlight}) {
            if (!s) {
                continue;
            }
            const Quib::AABB2<float>& b = s->boundingBox();
            box = any ? united(box, b) : b;
            any = true;
        }
    }
    return box;
}

}  // namespace Stelkor
