// frmCodetree: opening a file, and compressing or decompressing it, around the
// model's long operations with the wait dialog, the messages and the report.

#include "Dialogs.h"
#include "Modal.h"
#include "ProgressBar.h"
#include "Pump.h"
#include "Sound.h"
#include "Surface.h"
#include "TextBox.h"
#include "ToolBar.h"
#include "dlgWait.h"
#include "frmCodetree.h"
#include "frmFile.h"
#include "frmNodes.h"
#include "frmReport.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kTitle = "Codetree";

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

uint64_t FileSize(const QString& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(FsPath(path), error);
    return error ? 0 : static_cast<uint64_t>(size);
}

void Fail(const char* message) {
    platform::MessageBox(message, kTitle, platform::MessageIcon::Critical);
}

} // namespace

// The wait dialog's bar follows the operation, whose loop lets pending window
// messages run on every report, so that Cancel answers.
class frmCodetree::WaitProgress final : public codetree::Progress {
public:
    explicit WaitProgress(frmCodetree& form) : form_(form) {}

    void SetMaximum(uint64_t maximum) override {
        form_.wait_->prgProgress->SetMax(static_cast<int64_t>(std::max<uint64_t>(maximum, 1)));
    }

    bool Advance(uint64_t done) override {
        form_.wait_->prgProgress->SetValue(static_cast<int64_t>(done));
        platform::DoEvents();
        return !form_.cancelRequested_;
    }

private:
    frmCodetree& form_;
};

void frmCodetree::ShowOpen() {
    platform::FileRequest request;
    request.filter = "All files|*.*|Codetree files (*.tkv)|*.tkv";
    request.defaultExt = "tkv";
    request.fileName = QString();
    const QString path = platform::OpenFileDialog(request);
    if (path.isEmpty())
        return;
    OpenFile(path);
}

void frmCodetree::ShowSave() {
    const QString& path = openedPath_;
    if (file_->comp) {
        file_->setWindowTitle("Decompress file");
        file_->lblCompress->setText("Decompress " + path + " to");
        file_->txtFile->setText(path.endsWith(".tkv", Qt::CaseSensitive) ? path.chopped(4)
                                                                         : QString());
        file_->cmdCompress->setText("Decompress");
        file_->helpContext = frmFile::kDecompressContext;
    } else {
        file_->setWindowTitle("Compress file");
        file_->lblCompress->setText("Compress " + path + " to");
        file_->txtFile->setText(path + ".tkv");
        file_->cmdCompress->setText("Compress");
        file_->helpContext = frmFile::kCompressContext;
    }
    // The code is that of the complete tree.
    if (forest_.Size() >= 2) {
        ForgetHover();
        while (forest_.Size() >= 2)
            forest_.MergeStep();
        forest_.UpdateStatistics();
        Repaint();
        UpdateControls();
    }
    file_->adjustSize();
    file_->ShowModeless();
}

void frmCodetree::BeginOperation(const QString& text, uint64_t maximum, bool centre) {
    busy_ = true;
    cancelRequested_ = false;
    // Nothing may change the forest the operation reads or writes.
    tlbToolBar->setEnabled(false);
    surface->setEnabled(false);
    file_->setEnabled(false);
    nodes_->hide();
    wait_->lblWait->setText(text);
    wait_->prgProgress->SetMax(static_cast<int64_t>(std::max<uint64_t>(maximum, 1)));
    wait_->prgProgress->SetValue(0);
    wait_->adjustSize();
    if (centre)
        PlaceOwned(*wait_, 2);
    wait_->ShowModeless();
}

void frmCodetree::EndOperation() {
    wait_->hide();
    busy_ = false;
    tlbToolBar->setEnabled(true);
    surface->setEnabled(true);
    file_->setEnabled(true);
}

void frmCodetree::OpenFile(const QString& path) {
    if (busy_)
        return;
    const auto loop = closeGuard_.Enter();
    // The target dialog belongs to the file that was open.
    file_->hide();
    openedPath_ = path;
    BeginOperation("Opening " + path, FileSize(path), true);
    ForgetHover();
    ResetView();
    bool compressed = false;
    WaitProgress progress(*this);
    opening_ = true;
    const codetree::Outcome outcome =
        codetree::OpenFile(FsPath(path), forest_, compressed, progress);
    opening_ = false;
    if (outcome == codetree::Outcome::Failed)
        Fail("Error opening file");
    EndOperation();
    if (outcome == codetree::Outcome::Done)
        file_->comp = compressed;
    else
        ResetView();
    forest_.UpdateStatistics();
    Repaint();
    UpdateControls();
}

void frmCodetree::Compress(const QString& target) {
    if (busy_)
        return;
    const auto loop = closeGuard_.Enter();
    const QString source = openedPath_;
    BeginOperation("Compressing " + source + " to " + target, FileSize(source), false);
    codetree::CompressReport report;
    WaitProgress progress(*this);
    const codetree::Outcome outcome =
        codetree::Compress(forest_, FsPath(source), FsPath(target), progress, report);
    if (outcome == codetree::Outcome::Failed)
        Fail("Error saving file");
    EndOperation();
    if (outcome == codetree::Outcome::Done) {
        report_->SetValues({report.original, report.compressed, report.header, report.sizeInfo,
                            report.tree, report.data, report.padding});
        platform::Beep();
        platform::ShowModal(*report_);
    }
    UpdateControls();
}

void frmCodetree::Decomp(const QString& target) {
    if (busy_)
        return;
    const auto loop = closeGuard_.Enter();
    const QString source = openedPath_;
    const double rootWeight = forest_.Size() > 0 ? forest_.Tree(1).weight : 0;
    BeginOperation("Decompresing " + source + " to " + target,
                   rootWeight > 0 ? static_cast<uint64_t>(rootWeight) : 1, false);
    uint64_t sourceBytes = 0;
    uint64_t targetBytes = 0;
    WaitProgress progress(*this);
    const codetree::Outcome outcome = codetree::Decomp(forest_, FsPath(source), FsPath(target),
                                                       progress, sourceBytes, targetBytes);
    if (outcome == codetree::Outcome::Failed)
        Fail("Error saving file");
    EndOperation();
    if (outcome == codetree::Outcome::Done) {
        platform::MessageBox(
            "Compressed file size: " + FormatValue(static_cast<double>(8 * sourceBytes)) +
                " bits\r\nUncompressed file size: " +
                FormatValue(static_cast<double>(8 * targetBytes)) + " bits",
            "Decompression successful", platform::MessageIcon::None, platform::MessageButtons::Ok);
    }
    UpdateControls();
    Repaint();
}
