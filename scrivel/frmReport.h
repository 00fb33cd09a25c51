#pragma once

#include <QDialog>
#include <string>

class QPushButton;

namespace platform {
class ListView;
}

// A complete report: a list in report view whose columns the main window sets for
// each report, sorted by a click on a column header, and saved as tab-separated
// text. OK closes the window; each report opens a fresh one.
class frmReport : public QDialog {
public:
    explicit frmReport(QWidget* owner);

    void cmdOK_Click();
    void cmdSave_Click();
    void lstRep_ColumnClick(int column);

    // The rows in their present order, columns separated by Tabs, each line ended
    // by CR LF, as Save writes them (Windows-1252).
    std::string ReportBytes() const;

    platform::ListView* lstRep = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSave = nullptr;
};
