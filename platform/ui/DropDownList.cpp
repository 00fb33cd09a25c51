#include "DropDownList.h"

#include "Color.h"

#include <QPalette>
#include <stdexcept>
#include <string>

namespace platform {

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent), backColor_(kWindowColor) {
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this] { RaiseClick(); });
}

void DropDownList::CheckIndex(int index) const {
    if (index < 0 || index >= count()) {
        throw std::out_of_range("list index " + std::to_string(index) + " of " +
                                std::to_string(count()));
    }
}

int DropDownList::AddItem(const QString& text, int itemData) {
    const int before = currentIndex();
    addItem(text, itemData);
    // Qt chooses the first item added to an empty box; the list chooses none.
    if (before < 0) {
        setCurrentIndex(-1);
    }
    return count() - 1;
}

void DropDownList::RemoveItem(int index) {
    CheckIndex(index);
    const int before = currentIndex();
    removeItem(index);
    setCurrentIndex(before == index ? -1 : before > index ? before - 1 : before);
}

void DropDownList::Clear() {
    clear();
}

QString DropDownList::List(int index) const {
    CheckIndex(index);
    return itemText(index);
}

int DropDownList::ItemData(int index) const {
    CheckIndex(index);
    return itemData(index).toInt();
}

void DropDownList::SetItemData(int index, int data) {
    CheckIndex(index);
    setItemData(index, data);
}

void DropDownList::SetListIndex(int index) {
    if (index != -1) {
        CheckIndex(index);
    }
    if (index == currentIndex()) {
        return;
    }
    setCurrentIndex(index);
    RaiseClick();
}

QString DropDownList::Text() const {
    return currentIndex() < 0 ? QString() : itemText(currentIndex());
}

bool DropDownList::SelectText(const QString& text) {
    for (int i = 0; i < count(); ++i) {
        if (itemText(i) == text) {
            SetListIndex(i);
            return true;
        }
    }
    return false;
}

void DropDownList::SetBackColor(uint32_t color) {
    backColor_ = color;
    QPalette colors = palette();
    // The closed box is painted as a button by some styles and as a field by others.
    colors.setColor(QPalette::Base, ToQColor(color));
    colors.setColor(QPalette::Button, ToQColor(color));
    setPalette(colors);
}

void DropDownList::Choose(int index) {
    CheckIndex(index);
    if (!isEnabled()) {
        return;
    }
    setCurrentIndex(index);
    RaiseClick();
}

void DropDownList::RaiseClick() {
    if (onClick) {
        onClick();
    }
}

} // namespace platform
