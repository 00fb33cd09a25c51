#include "ProgressWindow.h"

#include "Help.h"
#include "ProgressBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform {

ProgressWindow::ProgressWindow(QWidget* owner, ProgressWindowSetup setup)
    : ModelessDialog(owner), onCancel_(std::move(setup.onCancel)) {
    setWindowTitle(setup.title);

    label_ = new QLabel(setup.text, this);
    label_->setMinimumWidth(setup.textWidth);
    progress_ = new ProgressBar(this);
    progress_->setTextVisible(false);
    cmdCancel = new QPushButton("Cancel", this);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdCancel);
    buttonRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(label_);
    layout->addWidget(progress_);
    layout->addLayout(buttonRow);

    if (!setup.helpTopic.isEmpty())
        BindHelpKey(this, setup.helpTopic);
}

void ProgressWindow::cmdCancel_Click() {
    if (onCancel_)
        onCancel_();
}

void ProgressWindow::reject() {
    // The window stays until the operation has seen the cancel and ended.
    cmdCancel_Click();
}

} // namespace platform
