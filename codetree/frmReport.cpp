#include "frmReport.h"

#include "Help.h"
#include "frmCodetree.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kCaptions[frmReport::kRows] = {"Original file size",
                                                     "Compressed file size",
                                                     "Header",
                                                     "File size information",
                                                     "Tree",
                                                     "Compressed data",
                                                     "Padding"};

} // namespace

frmReport::frmReport(frmCodetree& owner) : QDialog(&owner), owner_(owner) {
    setWindowTitle("Compression successful");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(12);
    for (int i = 0; i < kRows; ++i) {
        lblDesc[i] = new QLabel(kCaptions[i], this);
        lblVal[i] = new QLabel("0", this);
        lblVal[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblVal[i]->setMinimumWidth(100);
        lblBits[i] = new QLabel("bits", this);
        rows->addWidget(lblDesc[i], i, 0);
        rows->addWidget(lblVal[i], i, 1);
        rows->addWidget(lblBits[i], i, 2);
    }

    cmdOK = new QPushButton("OK", this);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdOK);
    buttonRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(rows);
    layout->addSpacing(6);
    layout->addLayout(buttonRow);

    platform::BindHelpKey(this, frmCodetree::kHelpTopic);
}

void frmReport::SetValues(const std::array<uint64_t, kRows>& bits) {
    for (int i = 0; i < kRows; ++i)
        lblVal[i]->setText(QString::number(bits[i]));
}

void frmReport::cmdOK_Click() {
    accept();
    owner_.activateWindow();
}
