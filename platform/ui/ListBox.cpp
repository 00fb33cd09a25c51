#include "ListBox.h"

#include "InputEvents.h"

#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <algorithm>
#include <stdexcept>
#include <string>

namespace platform {

ListBox::ListBox(QWidget* parent, ListSelection selection)
    : QListWidget(parent), multiple_(selection == ListSelection::Multiple) {
    setSelectionMode(multiple_ ? QAbstractItemView::ExtendedSelection
                               : QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    // A long item is cut at the edge, as the list's width was designed for.
    setTextElideMode(Qt::ElideNone);
}

QListWidgetItem& ListBox::Item(int index) const {
    QListWidgetItem* found = index >= 0 ? item(index) : nullptr;
    if (found == nullptr) {
        throw std::out_of_range("list index " + std::to_string(index) + " of " +
                                std::to_string(count()));
    }
    return *found;
}

int ListBox::AddItem(const QString& text, int itemData) {
    auto* added = new QListWidgetItem(text);
    added->setData(Qt::UserRole, itemData);
    addItem(added);
    return count() - 1;
}

void ListBox::RemoveItem(int index) {
    Item(index);
    // Qt moves the focus and, in a single-selection list, the selection to a
    // neighbour of a removed current item; the list keeps them as they were.
    State before = Snapshot();
    delete takeItem(index);
    std::erase(before.selected, index);
    for (int& row : before.selected) {
        row -= row > index ? 1 : 0;
    }
    const int current = before.listIndex == index  ? -1
                        : before.listIndex > index ? before.listIndex - 1
                                                   : before.listIndex;
    clearSelection();
    selectionModel()->setCurrentIndex(current < 0 ? QModelIndex() : model()->index(current, 0),
                                      QItemSelectionModel::NoUpdate);
    for (int row : before.selected) {
        item(row)->setSelected(true);
    }
}

void ListBox::Clear() {
    clear();
}

QString ListBox::List(int index) const {
    return Item(index).text();
}

void ListBox::SetList(int index, const QString& text) {
    Item(index).setText(text);
}

int ListBox::ItemData(int index) const {
    return Item(index).data(Qt::UserRole).toInt();
}

void ListBox::SetItemData(int index, int data) {
    Item(index).setData(Qt::UserRole, data);
}

int ListBox::ListIndex() const {
    if (multiple_) {
        return currentRow();
    }
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void ListBox::SetListIndex(int index) {
    if (index != -1) {
        Item(index);
    }
    ClickOnChange([&] {
        const QModelIndex at = index < 0 ? QModelIndex() : model()->index(index, 0);
        if (multiple_) {
            selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
        } else if (index < 0) {
            clearSelection();
            selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
        } else {
            selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
        }
    });
}

bool ListBox::Selected(int index) const {
    return Item(index).isSelected();
}

void ListBox::SetSelected(int index, bool selected) {
    QListWidgetItem& target = Item(index);
    if (!multiple_) {
        if (selected != target.isSelected()) {
            SetListIndex(selected ? index : -1);
        }
        return;
    }
    ClickOnChange([&] { target.setSelected(selected); });
}

int ListBox::SelCount() const {
    return static_cast<int>(selectionModel()->selectedIndexes().size());
}

QString ListBox::Text() const {
    const int index = ListIndex();
    return index < 0 ? QString() : item(index)->text();
}

void ListBox::ClickItem(int index, int shift) {
    Item(index);
    if (!isEnabled()) {
        return;
    }
    QItemSelectionModel& selection = *selectionModel();
    const QModelIndex at = model()->index(index, 0);
    if (multiple_ && (shift & kCtrlKey)) {
        selection.setCurrentIndex(at, QItemSelectionModel::Toggle);
    } else if (multiple_ && (shift & kShiftKey) && currentRow() >= 0) {
        const QModelIndex anchor = model()->index(currentRow(), 0);
        selection.select(QItemSelection(std::min(anchor, at), std::max(anchor, at)),
                         QItemSelectionModel::ClearAndSelect);
        selection.setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    } else {
        selection.setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    }
    RaiseClick();
}

ListBox::State ListBox::Snapshot() const {
    State state;
    state.listIndex = ListIndex();
    for (const QModelIndex& at : selectionModel()->selectedIndexes()) {
        state.selected.push_back(at.row());
    }
    std::sort(state.selected.begin(), state.selected.end());
    return state;
}

void ListBox::RaiseClick() {
    if (onClick) {
        onClick();
    }
}

template <class Change> void ListBox::ClickOnChange(Change change) {
    const State before = Snapshot();
    change();
    if (Snapshot() != before) {
        RaiseClick();
    }
}

void ListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !indexAt(event->position().toPoint()).isValid()) {
        // Only the left button on an item selects; elsewhere the list just takes
        // the focus and keeps its selection.
        pressedOnItem_ = false;
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    pressedOnItem_ = true;
    QListWidget::mousePressEvent(event);
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
    // An extended selection settles on release when an already selected item is
    // pressed, so the click is raised then, once.
    QListWidget::mouseReleaseEvent(event);
    if (pressedOnItem_ && event->button() == Qt::LeftButton) {
        pressedOnItem_ = false;
        RaiseClick();
    }
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !indexAt(event->position().toPoint()).isValid()) {
        event->accept();
        return;
    }
    // Qt treats a double click on another item than the first press as a press.
    pressedOnItem_ = false;
    QListWidget::mouseDoubleClickEvent(event);
    if (!pressedOnItem_ && onDblClick) {
        onDblClick();
    }
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    ClickOnChange([&] { QListWidget::keyPressEvent(event); });
}

// The focus coming back with the window's activation raises nothing; a window
// shown for the first time gives its first control the focus for the same
// reason, and that raises GotFocus.
void ListBox::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    const bool returning = focusParked_ && !IsFocusMove(event->reason());
    focusParked_ = false;
    if (!returning && onGotFocus) {
        onGotFocus();
    }
}

void ListBox::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    if (!IsFocusMove(event->reason())) {
        focusParked_ = true;
        return;
    }
    if (onLostFocus) {
        onLostFocus();
    }
}

} // namespace platform
