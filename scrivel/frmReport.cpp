#include "frmReport.h"

#include "Dialogs.h"
#include "Help.h"
#include "ListView.h"
#include "SafeReplace.h"
#include "Windows1252.h"
#include "frmScrivel.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frmReport::frmReport(QWidget* owner) : QDialog(owner) {
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lstRep = new platform::ListView(this);
    lstRep->setFixedSize(560, 400);
    lstRep->onColumnClick = [this](int column) { lstRep_ColumnClick(column); };
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
    layout->addWidget(lstRep);
    layout->addLayout(buttonRow);

    platform::BindHelpKey(this, frmScrivel::kHelpTopic);
}

void frmReport::cmdOK_Click() {
    accept();
}

void frmReport::lstRep_ColumnClick(int column) {
    lstRep->ToggleSort(column);
}

std::string frmReport::ReportBytes() const {
    QString text;
    const int columns = lstRep->ColumnCount();
    for (int row = 0; row < lstRep->RowCount(); ++row) {
        for (int column = 0; column < columns; ++column) {
            if (column > 0)
                text += '\t';
            text += lstRep->Text(row, column);
        }
        text += "\r\n";
    }
    return platform::ToWindows1252(text);
}

void frmReport::cmdSave_Click() {
    platform::FileRequest request;
    request.filter = "Text files (*.txt)|*.txt";
    request.defaultExt = "txt";
    const QString path = platform::SaveFileDialog(request);
    if (path.isEmpty())
        return;
    if (!platform::ReplaceFileContents(QFile::encodeName(path).toStdString(), ReportBytes()))
        platform::MessageBox("Error saving file", "Save report", platform::MessageIcon::Critical);
}
