#include "dlgHistory.h"

#include "Conversions.h"
#include "Dialogs.h"
#include "Help.h"
#include "TextBox.h"
#include "frmLifeboard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

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

// Enter types nothing in the box: it goes on to press OK.
bool dlgHistory::txtHistLimit_KeyPress(int character) const {
    return (character >= '0' && character <= '9') || character == '\r';
}

void dlgHistory::OKButton_Click() {
    // Ten digits already pass the int32 range, and pasted text is not filtered:
    // a limit the engine cannot hold is refused, and the dialog stays open.
    int32_t limit = 0;
    if (!platform::ToInt32Rounded(platform::Val(txtHistLimit->text().toStdString()), limit)) {
        platform::MessageBox("The number of events stored must not exceed 2147483647.",
                             windowTitle(), platform::MessageIcon::Exclamation);
        txtHistLimit->setFocus();
        txtHistLimit->selectAll();
        return;
    }
    owner_.ChangeHist(limit);
    close();
}
