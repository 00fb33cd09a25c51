#pragma once

#include <QStatusBar>
#include <QString>
#include <vector>

class QLabel;

// A status bar of text panels named by keys, left to right in the order added.
// Keys not added throw std::invalid_argument.

namespace platform {

class StatusBar : public QStatusBar {
public:
    explicit StatusBar(QWidget* parent = nullptr);

    // stretch 0 keeps the panel as wide as its text; panels with stretch > 0 share
    // the remaining width in proportion.
    void AddPanel(const QString& key, const QString& text, int stretch = 1);
    void SetPanelText(const QString& key, const QString& text);
    QString PanelText(const QString& key) const;

private:
    QLabel* Panel(const QString& key) const;

    std::vector<std::pair<QString, QLabel*>> panels_;
};

} // namespace platform
