#pragma once

#include "DigitCounts.h"
#include "NumberSources.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class QGroupBox;
class QPushButton;
class frmDir;
class frmScanning;

namespace platform {
class ListView;
class StatusBar;
class Surface;
class SurfaceShape;
} // namespace platform

// The window of Leadigit: the numbers of one source (a data file, any text
// file, or the sizes of the files below a folder) in a two-column list, the
// count of their first significant digits in the status bar, and the chart of
// the observed shares of the digits 1 to 9 against the leading-digit law,
// drawn again on every paint.
//
// The window draws in pixels. While a folder scan runs, the source buttons do
// nothing.
class frmLeadigit : public QWidget {
public:
    static constexpr const char* kHelpTopic = "leadigit.htm";

    explicit frmLeadigit(QWidget* parent = nullptr);
    ~frmLeadigit() override;

    void ClearData();
    // Reads a data file into the list; a relative path not found in the
    // current folder is looked for in the program's folder.
    void LoadDataFile(const QString& path);
    // True when the whole folder was listed, false when the scan was stopped.
    bool ScanFolder(const QString& path);
    void CountLeadingDigits();

    void cmdPopulations_Click();
    void cmdArea_Click();
    void cmdConsts_Click();
    void cmdCompanies_Click();
    void cmdSizes_Click();
    void cmdFile_Click();

    // A folder scan is in progress; Stop clears it.
    bool scan = false;
    leadigit::DigitCounts digitCounts;

    platform::Surface* surface = nullptr;
    platform::SurfaceShape* shpBack = nullptr;
    platform::SurfaceShape* shpGraph = nullptr;
    QGroupBox* framData = nullptr;
    QPushButton* cmdPopulations = nullptr;
    QPushButton* cmdArea = nullptr;
    QPushButton* cmdConsts = nullptr;
    QPushButton* cmdCompanies = nullptr;
    QPushButton* cmdSizes = nullptr;
    QPushButton* cmdFile = nullptr;
    platform::ListView* lvNumbers = nullptr;
    platform::StatusBar* statBar = nullptr;
    frmDir* dirForm = nullptr;
    frmScanning* scanningForm = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class ScanReport;

    void Form_Load();
    void Form_Resize();
    void Form_Paint();
    // Moves the rows read or found so far into the list, counting their
    // first digits.
    void ShowNewRows();
    // Gives back the room of rows_ once a source is listed.
    void ReleaseReadRows();

    // The rows read or found that the list does not hold yet.
    std::vector<leadigit::NumberRow> rows_;
    // The first digits of the rows in the list; digitCounts takes them when
    // the digits are counted.
    leadigit::DigitCounts listCounts_;
    // The rows' texts are file names (the file system's UTF-8), not data file
    // text (Windows-1252).
    bool rowsAreFileNames_ = false;
};
