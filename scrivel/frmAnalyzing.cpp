#include "frmAnalyzing.h"

#include "Help.h"
#include "ProgressBar.h"
#include "frmScrivel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmAnalyzing::frmAnalyzing(frmScrivel& owner) : ModelessDialog(&owner), owner_(owner) {
    setWindowTitle("Analyzing text");

    lblAnal = new QLabel("Analyzing text. Please wait...", this);
    lblAnal->setMinimumWidth(300);
    progAnal = new platform::ProgressBar(this);
    progAnal->setTextVisible(false);
    cmdCancel = new QPushButton("Cancel", this);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdCancel);
    buttonRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(lblAnal);
    layout->addWidget(progAnal);
    layout->addLayout(buttonRow);

    platform::BindHelpKey(this, frmScrivel::kHelpTopic);
}

void frmAnalyzing::cmdCancel_Click() {
    owner_.CancelAnalysis();
}

void frmAnalyzing::reject() {
    // The window stays until the pass has seen the cancel and ended.
    cmdCancel_Click();
}
