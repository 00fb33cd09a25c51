#include "dlgWait.h"

#include "Help.h"
#include "ProgressBar.h"
#include "frmCodetree.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

dlgWait::dlgWait(frmCodetree& owner) : ModelessDialog(&owner), owner_(owner) {
    setWindowTitle("Codetree");

    lblWait = new QLabel("Opening file. Please wait...", this);
    lblWait->setMinimumWidth(360);
    prgProgress = new platform::ProgressBar(this);
    prgProgress->setTextVisible(false);
    cmdCancel = new QPushButton("Cancel", this);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdCancel);
    buttonRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(lblWait);
    layout->addWidget(prgProgress);
    layout->addLayout(buttonRow);

    platform::BindHelpKey(this, frmCodetree::kHelpTopic);
}

void dlgWait::cmdCancel_Click() {
    owner_.CancelCallback();
}

void dlgWait::reject() {
    // The dialog stays until the operation has seen the cancel and ended.
    cmdCancel_Click();
}
