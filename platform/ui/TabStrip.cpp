#include "TabStrip.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <algorithm>
#include <stdexcept>
#include <string>

namespace platform {

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        if (adding_ || index < 0) {
            return;
        }
        const auto found = tabFrames_.find(index + 1);
        if (found != tabFrames_.end() && found->second) {
            BringToFront(found->second);
        }
        if (onClick) {
            onClick();
        }
    });
}

int TabStrip::AddTab(const QString& caption) {
    adding_ = true;
    const int index = bar_->addTab(caption);
    adding_ = false;
    bar_->resize(width(), bar_->sizeHint().height());
    return index + 1;
}

int TabStrip::TabCount() const {
    return bar_->count();
}

void TabStrip::CheckTab(int tab) const {
    if (tab < 1 || tab > bar_->count()) {
        throw std::out_of_range("no tab numbered " + std::to_string(tab));
    }
}

QString TabStrip::TabCaption(int tab) const {
    CheckTab(tab);
    return bar_->tabText(tab - 1);
}

int TabStrip::SelectedIndex() const {
    return bar_->currentIndex() + 1;
}

void TabStrip::Select(int tab) {
    CheckTab(tab);
    bar_->setCurrentIndex(tab - 1);
}

void TabStrip::AddFrame(QWidget* frame) {
    if (std::find(frames_.begin(), frames_.end(), frame) == frames_.end()) {
        frames_.emplace_back(frame);
    }
}

void TabStrip::SetTabFrame(int tab, QWidget* frame) {
    CheckTab(tab);
    AddFrame(frame);
    tabFrames_[tab] = frame;
}

void TabStrip::BringToFront(QWidget* frame) {
    AddFrame(frame);
    for (const QPointer<QWidget>& other : frames_) {
        if (other && other != frame) {
            other->hide();
        }
    }
    frame->show();
    frame->raise();
    front_ = frame;
}

QRect TabStrip::ClientArea() const {
    return rect().adjusted(0, bar_->height(), 0, 0);
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
}

void TabStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    option.rect = ClientArea();
    option.shape = QTabBar::RoundedNorth;
    option.tabBarSize = bar_->size();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
}

} // namespace platform
