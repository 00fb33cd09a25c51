#include "frmFile.h"

#include "DefaultButtons.h"
#include "Dialogs.h"
#include "Help.h"
#include "TextBox.h"
#include "frmCodetree.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

frmFile::frmFile(frmCodetree& owner) : ModelessDialog(&owner), owner_(owner) {
    setWindowTitle("Compress file");

    lblCompress = new QLabel("Compress filename to", this);
    txtFile = new platform::TextBox(this);
    txtFile->setMinimumWidth(320);
    cmdBrowse = new QPushButton("...", this);
    cmdBrowse->setFixedWidth(cmdBrowse->fontMetrics().horizontalAdvance("...") + 16);
    cmdCompress = new QPushButton("Compress", this);
    // No default button: a key press meant for the file name or for "..." never
    // writes over a file. Enter presses the button that has the focus.
    cmdBrowse->setAutoDefault(false);
    cmdCompress->setAutoDefault(false);
    new platform::DefaultButtons(this);
    connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
    connect(cmdCompress, &QPushButton::clicked, this, [this] { cmdCompress_Click(); });

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(txtFile, 1);
    fileRow->addWidget(cmdBrowse);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdCompress);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(lblCompress);
    layout->addLayout(fileRow);
    layout->addLayout(buttonRow);

    // The page of the help context the Save command set, compress or decompress.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this] { platform::ShowHelp(HelpPage()); });
}

QString frmFile::HelpPage() const {
    return QString("%1#%2").arg(frmCodetree::kHelpTopic).arg(helpContext);
}

void frmFile::cmdBrowse_Click() {
    platform::FileRequest request;
    request.fileName = txtFile->text();
    const QString chosen = platform::SaveFileDialog(request);
    if (!chosen.isEmpty())
        txtFile->setText(chosen);
}

void frmFile::cmdCompress_Click() {
    const QString target = txtFile->text();
    if (target.isEmpty())
        return;
    if (comp)
        owner_.Decomp(target);
    else
        owner_.Compress(target);
    hide();
}
