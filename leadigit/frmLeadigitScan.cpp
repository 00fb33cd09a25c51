// frmLeadigit: the scan of a folder for file sizes, with its progress window.

#include "Clock.h"
#include "ListView.h"
#include "Modal.h"
#include "Pump.h"
#include "Surface.h"
#include "frmDir.h"
#include "frmLeadigit.h"
#include "frmScanning.h"

#include <QFile>
#include <QLabel>

// Tells the scan whether to go on, and shows its progress: the path of a file
// just listed and the new rows at most once per frame, since a label or a list
// changed per file would cost more than the scan itself.
class frmLeadigit::ScanReport : public leadigit::ScanListener {
public:
    explicit ScanReport(frmLeadigit& form) : form_(form) {}

    bool Scanning() override { return form_.scan; }

    void FileListed(const std::filesystem::path& folder, std::string_view name) override {
        const int64_t now = platform::MillisecondClock();
        if (shown_ && now - lastShown_ < kFrameMs)
            return;
        shown_ = true;
        lastShown_ = now;
        form_.scanningForm->lblFile->setText(QFile::decodeName((folder / name).c_str()));
        form_.ShowNewRows();
    }

    void LetMessagesRun() override { platform::DoEvents(); }

private:
    static constexpr int64_t kFrameMs = 16;

    frmLeadigit& form_;
    bool shown_ = false;
    int64_t lastShown_ = 0;
};

bool frmLeadigit::ScanFolder(const QString& path) {
    ScanReport report(*this);
    rowsAreFileNames_ = true;
    const bool whole = leadigit::ScanFolder(QFile::encodeName(path).toStdString(), rows_, report);
    ShowNewRows();
    ReleaseReadRows();
    return whole;
}

void frmLeadigit::cmdSizes_Click() {
    if (scan)
        return;
    platform::ShowModal(*dirForm);
    if (dirForm->cancelled)
        return;
    ClearData();
    scan = true;
    scanningForm->setWindowTitle("Scanning " + dirForm->path);
    scanningForm->lblFile->clear();
    scanningForm->ShowModeless();
    ScanFolder(dirForm->path);
    scanningForm->hide();
    scan = false;
    CountLeadingDigits();
    surface->Refresh();
}
