#include "dlgHistory.h"

#include "Conversions.h"
#include "Help.h"
#include "TextBox.h"
#include "frmLifeboard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

dlgHistory::dlgHistory(frmLifeboard& owner) : ModelessDialog(&owner), owner_(owner) {
    setWindowTitle("History settings");

    lblExplanation = new QLabel(
        "The application stores the evolution of the system to enable running it backwards. "
        "Increasing this value allows for running back further, but causes the application to "
        "consume more memory.",
        this);
    lblExplanation->setWordWrap(true);
    lblExplanation->setFixedWidth(320);

    lblHistLimit = new QLabel("Number of events stored", this);
    txtHistLimit = new platform::TextBox(this);
    txtHistLimit->keyFilter = [this](int character) { return txtHistLimit_KeyPress(character); };
    lblHistLimit->setBuddy(txtHistLimit);

    OKButton = new QPushButton("OK", this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });

    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(lblHistLimit);
    limitRow->addWidget(txtHistLimit, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(OKButton);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(lblExplanation);
    layout->addSpacing(6);
    layout->addLayout(limitRow);
    layout->addSpacing(6);
    layout->addLayout(buttonRow);

    platform::BindHelpKey(this, frmLifeboard::kHelpTopic);
}

bool dlgHistory::txtHistLimit_KeyPress(int character) const {
    return character >= '0' && character <= '9';
}

void dlgHistory::OKButton_Click() {
    // Ten digits already pass the int32 range, and pasted text is not filtered:
    // beyond the range take the nearest value the engine can hold.
    const double typed = platform::Val(txtHistLimit->text().toStdString());
    int32_t limit = 0;
    if (!platform::ToInt32Rounded(typed, limit)) {
        limit = std::signbit(typed) ? std::numeric_limits<int32_t>::min()
                                    : std::numeric_limits<int32_t>::max();
    }
    owner_.ChangeHist(limit);
    close();
}
