#include "ToolBar.h"

#include <QAction>
#include <stdexcept>

namespace platform {

ToolBar::ToolBar(QWidget* parent) : QToolBar(parent) {
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void ToolBar::AddButton(const QString& key, const QIcon& image, const QString& toolTip) {
    if (HasButton(key)) {
        throw std::invalid_argument("toolbar key added twice: " + key.toStdString());
    }
    QAction* action = addAction(image, toolTip);
    action->setToolTip(toolTip);
    action->setObjectName(key);
    connect(action, &QAction::triggered, this, [this, key] {
        if (onButtonClick) {
            onButtonClick(key);
        }
    });
    buttons_.emplace_back(key, action);
}

void ToolBar::AddSeparator() {
    addSeparator();
}

QAction* ToolBar::Action(const QString& key) const {
    for (const auto& [name, action] : buttons_) {
        if (name == key) {
            return action;
        }
    }
    throw std::invalid_argument("no toolbar button keyed " + key.toStdString());
}

void ToolBar::SetButtonEnabled(const QString& key, bool enabled) {
    Action(key)->setEnabled(enabled);
}

bool ToolBar::IsButtonEnabled(const QString& key) const {
    return Action(key)->isEnabled();
}

bool ToolBar::HasButton(const QString& key) const {
    for (const auto& button : buttons_) {
        if (button.first == key) {
            return true;
        }
    }
    return false;
}

std::vector<QString> ToolBar::Keys() const {
    std::vector<QString> keys;
    for (const auto& button : buttons_) {
        keys.push_back(button.first);
    }
    return keys;
}

void ToolBar::Click(const QString& key) {
    // Straight to the handler, not through Qt's signal machinery, so that a test's
    // failure raised inside the handler unwinds only through our own frames.
    if (IsButtonEnabled(key) && onButtonClick) {
        onButtonClick(key);
    }
}

} // namespace platform
