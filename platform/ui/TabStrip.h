#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

class QTabBar;

// A tab strip: a row of tabs, numbered from 1 in the order added, over a framed
// area on which the form lays frames of controls (widgets of its own, anywhere in
// the form, placed over the area). Of the frames added to the strip one is in
// front at a time: BringToFront shows it and hides the others, so the controls of
// a frame behind can be neither seen nor reached. A frame given to a tab comes to
// the front when that tab is selected.
//
// onClick runs when the selected tab changes, by a click on a tab, the keyboard,
// or Select; after the tab's frame, if it has one, is in front. Selecting the tab
// that is selected, and adding tabs, raise nothing. Tab numbers outside 1 to
// TabCount() throw std::out_of_range.

namespace platform {

class TabStrip : public QWidget {
public:
    explicit TabStrip(QWidget* parent = nullptr);

    std::function<void()> onClick;

    // Returns the new tab's number; the first tab added is selected.
    int AddTab(const QString& caption);
    int TabCount() const;
    QString TabCaption(int tab) const;

    // The selected tab, 0 when there is none.
    int SelectedIndex() const;
    void Select(int tab);

    void AddFrame(QWidget* frame);
    // Adds the frame if need be; it comes to the front whenever tab is selected.
    void SetTabFrame(int tab, QWidget* frame);
    void BringToFront(QWidget* frame);
    // The frame in front, null before any.
    QWidget* FrontFrame() const { return front_; }

    QTabBar* Bar() const { return bar_; }
    // The framed area below the tabs, in the strip's coordinates.
    QRect ClientArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CheckTab(int tab) const;

    QTabBar* bar_;
    std::vector<QPointer<QWidget>> frames_;
    std::map<int, QPointer<QWidget>> tabFrames_;
    QPointer<QWidget> front_;
    bool adding_ = false;
};

} // namespace platform
