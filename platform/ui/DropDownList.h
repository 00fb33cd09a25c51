#pragma once

#include <QComboBox>
#include <QString>
#include <cstdint>
#include <functional>

// A drop-down list: a closed box showing the chosen item and a list to choose
// from, nothing typed. Items are text with a 32-bit item data, indexed from 0;
// ListIndex -1 means none is chosen, as after the first items are added.
//
// onClick runs when the user chooses an item (from the list, with the arrow keys
// or the wheel), also when it is the one already chosen; and when code changes
// ListIndex (SetListIndex, SelectText), only if the index really changes. Adding,
// removing and clearing raise nothing; removing the chosen item leaves none chosen.
//
// Indices out of range throw std::out_of_range.

namespace platform {

class DropDownList : public QComboBox {
public:
    explicit DropDownList(QWidget* parent = nullptr);

    std::function<void()> onClick;

    // Appends an item; returns its index.
    int AddItem(const QString& text, int itemData = 0);
    void RemoveItem(int index);
    void Clear();

    int ListCount() const { return count(); }
    QString List(int index) const;
    int ItemData(int index) const;
    void SetItemData(int index, int data);

    int ListIndex() const { return currentIndex(); }
    // -1 chooses none.
    void SetListIndex(int index);
    // The chosen item's text, empty for none.
    QString Text() const;
    // Chooses the first item whose text equals text exactly, like SetListIndex;
    // false, and nothing changes, when there is none.
    bool SelectText(const QString& text);

    // Background of the box as 0x00BBGGRR or a system colour (Color.h); the
    // window colour at first.
    uint32_t BackColor() const { return backColor_; }
    void SetBackColor(uint32_t color);

    // Chooses an item as the user would; a disabled list ignores it.
    void Choose(int index);

private:
    void CheckIndex(int index) const;
    void RaiseClick();

    uint32_t backColor_;
};

} // namespace platform
