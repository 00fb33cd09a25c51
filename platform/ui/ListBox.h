#pragma once

#include <QListWidget>
#include <QString>
#include <functional>
#include <vector>

// A list box of text items, each carrying a 32-bit item data, indexed from 0.
//
// Single selection: ListIndex is the selected item, -1 for none. Multiple
// selection (extended: Ctrl toggles, Shift extends): any number of items are
// Selected, and ListIndex is the item with the focus rectangle.
//
// Events:
// - onClick: the user clicks an item (even the one already selected; raised on
//   release) or changes the selection with the keys; and code changes ListIndex or an item's Selected
//   state, when the value really changes, so that selecting from code raises the
//   same handling as a click. Adding, removing and clearing raise nothing. A click
//   below the last item changes nothing and raises nothing.
// - onDblClick: the user double-clicks an item, after the Click of its first press.
// - onGotFocus, onLostFocus: the keyboard focus enters or leaves the list within
//   its window, also when the window is first shown with the focus here;
//   switching to another window or program and back, or a message box or menu
//   opened over the window, raises neither. A LostFocus handler may call
//   setFocus() to keep the focus here.
//
// Indices out of range throw std::out_of_range.

namespace platform {

enum class ListSelection { Single, Multiple };

class ListBox : public QListWidget {
public:
    explicit ListBox(QWidget* parent = nullptr, ListSelection selection = ListSelection::Single);

    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;

    // Appends an item; returns its index.
    int AddItem(const QString& text, int itemData = 0);
    void RemoveItem(int index);
    void Clear();

    int ListCount() const { return count(); }
    QString List(int index) const;
    void SetList(int index, const QString& text);
    int ItemData(int index) const;
    void SetItemData(int index, int data);

    int ListIndex() const;
    // -1 clears the selection (single) or the focus item (multiple).
    void SetListIndex(int index);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    // The text of ListIndex's item, empty for none.
    QString Text() const;

    // Clicks an item as the user would, with ShiftKeys held (kCtrlKey toggles and
    // kShiftKey extends in a multiple-selection list); a disabled list ignores it.
    void ClickItem(int index, int shift = 0);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct State {
        int listIndex = -1;
        std::vector<int> selected;
        bool operator==(const State&) const = default;
    };

    QListWidgetItem& Item(int index) const;
    State Snapshot() const;
    void RaiseClick();
    // Runs change() and raises Click when it changed the selection or ListIndex.
    template <class Change> void ClickOnChange(Change change);

    bool multiple_;
    bool pressedOnItem_ = false;
    // The window lost the activation while the list had the focus.
    bool focusParked_ = false;
};

} // namespace platform
