#pragma once

#include "CloseGuard.h"
#include "CodeFile.h"
#include "CodeForest.h"
#include "TreeLayout.h"

#include <QString>
#include <QWidget>
#include <string_view>

class dlgWait;
class frmFile;
class frmNodes;
class frmReport;

namespace platform {
class ScrollBar;
class StatusBar;
class Surface;
class SurfaceLabel;
class SurfaceShape;
class ToolBar;
} // namespace platform

// The main window of Codetree: the prefix-code forest drawn as circles joined by
// lines, built one merge step at a time from typed weights or from the byte counts
// of an opened file, with the compression and decompression of that file.
//
// Pixel positions are those of the window's inner area. The drawing surface lies
// under the toolbar, down to the status bar; the canvas is its part left of the
// vertical scroll bar and above the horizontal one.
class frmCodetree : public QWidget {
public:
    explicit frmCodetree(QWidget* parent = nullptr);
    ~frmCodetree() override;

    // Members the other windows call.
    void Add(double value);
    void Remove();
    void Normalize();
    void Compress(const QString& target);
    void Decomp(const QString& target);
    void CancelCallback();

    void tlbToolBar_ButtonClick(const QString& key);
    void OpenFile(const QString& path);
    void UpdateControls();
    void ZoomTree(int delta);
    void Repaint();

    // Whole values without decimals, others with 16 decimals less their trailing
    // zeros, in the user's number format.
    static QString FormatValue(double x);
    // A label set as the hint and the leaves show it, by the rule of the mode.
    QString LabelText(std::string_view chars) const;

    const codetree::CodeForest& Forest() const { return forest_; }
    const codetree::TreeView& View() const { return view_; }
    // The file the Save command reads: the one last chosen in the open dialog.
    const QString& OpenedPath() const { return openedPath_; }
    // A long operation (open, compress, decompress) is running.
    bool Busy() const { return busy_; }

    frmNodes& Nodes() const { return *nodes_; }
    frmFile& File() const { return *file_; }
    dlgWait& Wait() const { return *wait_; }
    frmReport& Report() const { return *report_; }

    // The controls, as a user sees them.
    platform::ToolBar* tlbToolBar = nullptr;
    platform::StatusBar* sbStatusBar = nullptr;
    platform::Surface* surface = nullptr;
    platform::SurfaceShape* shpCanvas = nullptr;
    platform::SurfaceShape* shpFill = nullptr;
    platform::SurfaceLabel* lblHint = nullptr;
    platform::ScrollBar* ScrH = nullptr;
    platform::ScrollBar* ScrV = nullptr;

    static constexpr const char* kHelpTopic = "codetree.htm";

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class WaitProgress;
    class CanvasPainter;

    void Form_Load();
    void Form_Resize();
    void Form_Paint();
    void Form_MouseMove(int x, int y);
    void Form_MouseDown(int x, int y);
    void ScrH_Change(int value);
    void ScrV_Change(int value);
    void ShowOpen();
    void ShowSave();
    // The window side of ClearAll: zoom 1, smallest zoom 1, both scroll values 0.
    void ResetView();
    // Puts the view's scroll maxima and values into the bars without a repaint.
    void SyncScrollBars();
    // Drops the hovered node and hides the hint, before nodes may be freed.
    void ForgetHover();
    // Places an owned window over this one: centred across, at 1/divisor down.
    void PlaceOwned(QWidget& window, int divisor) const;
    void BeginOperation(const QString& text, uint64_t maximum, bool centre);
    void EndOperation();

    codetree::CodeForest forest_;
    codetree::TreeView view_;
    const codetree::clsNode* hovered_ = nullptr;
    QString openedPath_;
    bool cancelRequested_ = false;
    bool busy_ = false;
    bool opening_ = false;
    // A close during an operation cancels it and closes when it has ended.
    platform::CloseGuard closeGuard_{*this, [this] { cancelRequested_ = true; }};
    bool syncingBars_ = false;
    bool placed_ = false;
    frmNodes* nodes_ = nullptr;
    frmFile* file_ = nullptr;
    dlgWait* wait_ = nullptr;
    frmReport* report_ = nullptr;
};
