#pragma once

#include <QIcon>
#include <QString>
#include <QToolBar>
#include <functional>
#include <vector>

// A toolbar of buttons named by keys, each with an image and a tool tip, in the
// order they are added. A click on an enabled button calls onButtonClick with its
// key. Keys not added throw std::invalid_argument, so a mistyped key fails at once.

class QAction;

namespace platform {

class ToolBar : public QToolBar {
public:
    explicit ToolBar(QWidget* parent = nullptr);

    std::function<void(const QString& key)> onButtonClick;

    void AddButton(const QString& key, const QIcon& image, const QString& toolTip);
    void AddSeparator();

    void SetButtonEnabled(const QString& key, bool enabled);
    bool IsButtonEnabled(const QString& key) const;
    bool HasButton(const QString& key) const;
    // Keys in order, left to right.
    std::vector<QString> Keys() const;

    // Clicks the button as the user would: nothing happens when it is disabled.
    void Click(const QString& key);

    QAction* Action(const QString& key) const;

private:
    std::vector<std::pair<QString, QAction*>> buttons_;
};

} // namespace platform
