#include "PopupMenu.h"

#include "Dialogs.h"

namespace platform {

int PopupMenu::AddItem(const QString& caption) {
    entries_.push_back(caption);
    return itemCount_++;
}

void PopupMenu::AddSeparator() {
    entries_.push_back(QStringLiteral("-"));
}

void PopupMenu::ShowAt(QWidget* owner, QPoint at) {
    const int entry = Dialogs::Current().PopupMenu({entries_, owner, at});
    if (entry < 0 || entry >= entries_.size() || entries_[entry] == "-") {
        return;
    }
    int item = 0;
    for (int i = 0; i < entry; ++i) {
        if (entries_[i] != "-") {
            ++item;
        }
    }
    if (onChoose) {
        onChoose(item);
    }
}

} // namespace platform
