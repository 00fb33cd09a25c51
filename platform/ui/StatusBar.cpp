#include "StatusBar.h"

#include <QLabel>
#include <stdexcept>

namespace platform {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(true);
}

void StatusBar::AddPanel(const QString& key, const QString& text, int stretch) {
    auto* label = new QLabel(text, this);
    label->setObjectName(key);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setContentsMargins(3, 0, 3, 0);
    addPermanentWidget(label, stretch);
    panels_.emplace_back(key, label);
}

QLabel* StatusBar::Panel(const QString& key) const {
    for (const auto& [name, label] : panels_) {
        if (name == key) {
            return label;
        }
    }
    throw std::invalid_argument("no status panel keyed " + key.toStdString());
}

void StatusBar::SetPanelText(const QString& key, const QString& text) {
    Panel(key)->setText(text);
}

QString StatusBar::PanelText(const QString& key) const {
    return Panel(key)->text();
}

} // namespace platform
