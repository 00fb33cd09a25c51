#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QLayout>
#include <QSize>
#include <QString>
#include <QToolBar>
#include <QWidget>
#include <gtest/gtest.h>

// Checks of a window's size for the window tests of every program: what it
// becomes when the user drags it as small as it goes, and whether its child
// controls then still lie whole inside it.

namespace platform_test {

// Shrinks window as far as it goes: it must stop at minimum, with every
// visible child control inside. The window gets its size back afterwards.
inline ::testing::AssertionResult StopsShrinkingAt(QWidget& window, QSize minimum) {
    const QSize before = window.size();
    window.resize(1, 1);
    const QSize reached = window.size();
    QString cut;
    for (const QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!control->isWindow() && control->isVisibleTo(&window) &&
            !window.rect().contains(control->geometry()))
            cut += control->objectName() + " " + control->metaObject()->className() + "; ";
    window.resize(before);
    if (reached != minimum)
        return ::testing::AssertionFailure()
               << "shrinks to " << reached.width() << " x " << reached.height() << ", not "
               << minimum.width() << " x " << minimum.height();
    if (!cut.isEmpty())
        return ::testing::AssertionFailure() << "controls cut off: " << cut.toStdString();
    return ::testing::AssertionSuccess();
}

// A window of fixed size keeps it, whatever size it is asked to take.
inline ::testing::AssertionResult KeepsItsSize(QWidget& window) {
    // A layout fixes a dialog's size once it is activated, as showing it does.
    if (window.layout())
        window.layout()->activate();
    const QSize size = window.size();
    for (const QSize asked : {QSize(1, 1), size * 2}) {
        window.resize(asked);
        if (window.size() != size)
            return ::testing::AssertionFailure()
                   << "resized to " << window.width() << " x " << window.height();
    }
    return ::testing::AssertionSuccess();
}

// Shrinks window as far as it goes: every button of its toolbar must still
// be shown whole inside it, none moved into the toolbar's overflow menu.
inline ::testing::AssertionResult KeepsEveryToolButton(QWidget& window, QToolBar& toolbar) {
    const QSize before = window.size();
    window.resize(1, 1);
    QCoreApplication::sendPostedEvents();
    QString hidden;
    for (QAction* action : toolbar.actions()) {
        const QWidget* button = toolbar.widgetForAction(action);
        if (!action->isSeparator() &&
            (!button || !button->isVisible() ||
             !window.rect().contains(QRect(button->mapTo(&window, QPoint(0, 0)), button->size()))))
            hidden += action->objectName() + " ";
    }
    window.resize(before);
    if (!hidden.isEmpty())
        return ::testing::AssertionFailure() << "buttons hidden: " << hidden.toStdString();
    return ::testing::AssertionSuccess();
}

} // namespace platform_test
