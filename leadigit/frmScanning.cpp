#include "frmScanning.h"

#include "Color.h"
#include "Help.h"
#include "frmLeadigit.h"

#include <QLabel>
#include <QPushButton>

frmScanning::frmScanning(frmLeadigit& owner) : ModelessDialog(&owner), owner_(owner) {
    using platform::TwipsRect;
    lblFile = new QLabel(this);
    lblFile->setGeometry(TwipsRect(120, 120, 6600, 600));
    lblFile->setWordWrap(true);
    lblFile->setTextFormat(Qt::PlainText);
    cmdStop = new QPushButton("Stop", this);
    cmdStop->setGeometry(TwipsRect(2670, 840, 1500, 400));
    setFixedSize(platform::TwipsToPixels(6840), platform::TwipsToPixels(1380));
    platform::BindHelpKey(this, frmLeadigit::kHelpTopic);
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
}

void frmScanning::cmdStop_Click() {
    owner_.scan = false;
}

void frmScanning::reject() {
    // The scan closes the window once it has seen the stop.
    cmdStop_Click();
}
