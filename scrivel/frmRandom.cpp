#include "frmRandom.h"

#include "Dialogs.h"
#include "Help.h"
#include "MultiLineTextBox.h"
#include "SafeReplace.h"
#include "Windows1252.h"
#include "frmScrivel.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frmRandom::frmRandom(QWidget* owner) : QDialog(owner) {
    setWindowTitle("Random text");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    txtText = new platform::MultiLineTextBox(this, platform::MultiLineTextBox::kVertical);
    txtText->setFixedSize(560, 380);
    cmdOK = new QPushButton("OK", this);
    cmdOK->setDefault(true);
    cmdSave = new QPushButton("Save", this);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdOK);
    buttonRow->addWidget(cmdSave);
    buttonRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(txtText);
    layout->addLayout(buttonRow);

    platform::BindHelpKey(this, frmScrivel::kHelpTopic);
}

void frmRandom::cmdOK_Click() {
    accept();
}

void frmRandom::cmdSave_Click() {
    platform::FileRequest request;
    request.filter = "Text files (*.txt)|*.txt";
    request.defaultExt = "txt";
    const QString path = platform::SaveFileDialog(request);
    if (path.isEmpty())
        return;
    const std::string bytes = platform::ToWindows1252(txtText->Text()) + "\r\n";
    if (!platform::ReplaceFileContents(QFile::encodeName(path).toStdString(), bytes))
        platform::MessageBox("Error saving file", "Save random text",
                             platform::MessageIcon::Critical);
}
