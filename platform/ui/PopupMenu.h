#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// A pop-up menu of captioned items and separator lines, shown through the Dialogs
// service (so tests choose from it by caption). Items are numbered from 0 in the
// order added, separators not counted; the chosen item's number goes to onChoose.

namespace platform {

class PopupMenu {
public:
    std::function<void(int item)> onChoose;

    // Returns the new item's number.
    int AddItem(const QString& caption);
    void AddSeparator();
    int ItemCount() const { return itemCount_; }

    // Shows the menu with its top-left corner at `at` relative to `owner`, and
    // waits for a choice; onChoose runs before this returns. Dismissing it chooses
    // nothing.
    void ShowAt(QWidget* owner, QPoint at);

private:
    QStringList entries_;
    int itemCount_ = 0;
};

} // namespace platform
