#pragma once

#include "ButtonArray.h"
#include "CloseGuard.h"
#include "NetworkModel.h"
#include "PatternSet.h"
#include "Stroke.h"

#include <QPoint>
#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class frmNetSet;
class frmPatSet;
class frmTrain;

namespace platform {
struct MouseEvent;
class ScrollBar;
class Surface;
class SurfaceShape;
class Timer;
} // namespace platform

// The main window of Neuromesh. Left, the pattern set as category rows (an
// option with the category's name, a thumbnail per sample slot, an output
// bar), eleven rows at a time under a scroll bar; in the middle the drawing
// canvas and the mode; right, the network diagram, the error and the network
// commands. The canvas, the thumbnails and the rows' frame draw in twips, the
// diagram in pixels; drawings persist until cleared.
//
// In define mode a stroke drawn on the canvas becomes the sample of the
// selected slot and the next slot is selected; in recognise mode it is fed to
// the network, the outputs become the bars and the best category is selected.
// The window keeps the pattern set and the network's buffers; the network
// itself lives in the Neural library. The recent pattern set and network are
// read from the program's folder at start and written there at the end.
class frmNeuromesh : public QWidget {
public:
    static constexpr const char* kHelpTopic = "neuromesh.htm";
    static constexpr const char* kRecentPatternSet = "_RecentPatternSet.pat";
    static constexpr const char* kRecentNetwork = "_RecentNetwork.net";
    static constexpr int kVisibleRows = 11;

    explicit frmNeuromesh(QWidget* parent = nullptr);
    ~frmNeuromesh() override;

    // The sizes of the pattern set, read by the dialogs.
    int16_t pattypes() const { return int16_t(patset_.pattypes()); }
    int16_t patternnumber() const { return int16_t(patset_.patternnumber()); }
    int16_t inputsize() const { return int16_t(patset_.inputsize()); }
    // The animation step of the network diagram; -100 lights nothing.
    int16_t marked = -100;
    // 1 define, 2 recognise.
    int16_t mode = 1;
    int16_t cursample = 0;
    bool barsshown = false;
    // Bar width in twips for an output of 1.
    int16_t maxbarwidth = 0;

    const neuromesh::PatternSet& Patterns() const { return patset_; }
    neuromesh::NetworkModel& Network() { return net_; }
    const neuromesh::StrokeRecorder& Stroke() const { return stroke_; }

    double GetPats(int sample, int component) const { return patset_.GetPats(sample, component); }
    void ShowBars(bool show);
    void DrawNetwork();
    double UpdateError();
    void UpdatePatSettings(const frmPatSet& dialog);
    void UpdateNetworkDesign(const frmNetSet& dialog);
    // "Error: " and the error under the diagram.
    void ShowError(double error);

    void optDefine_Click();
    void optRecognize_Click();
    void picPattern_Click(int index);
    void scrPats_Change();
    void timAnim_Timer();
    void timCapture_Timer();
    void picCanvas_MouseDown(const platform::MouseEvent& event);
    void picCanvas_MouseMove(const platform::MouseEvent& event);
    void picCanvas_MouseUp(const platform::MouseEvent& event);
    void cmdPatternSet_Click();
    void cmdSave_Click();
    void cmdLoad_Click();
    void cmdNetSet_Click();
    void cmdSaveNet_Click();
    void cmdLoadNet_Click();
    void cmdTrain_Click();

    void BuildPatternRows();
    void LayoutPatternRows();
    void ScrollToCategory(int category);
    void SelectSampleSlot(int slot);
    void SetMode(int m);
    double ThumbCoord(double v) const;
    void DrawThumbnail(int slot);
    void DrawAllThumbnails();
    void RecognizeStroke();
    void FitNetworkToPatterns();
    void LoadPatternFile(const std::filesystem::path& path);
    void SavePatternFile(const std::filesystem::path& path);
    void LoadNetworkFile(const std::filesystem::path& path);
    void SaveNetworkFile(const std::filesystem::path& path);

    // The design position in twips of slot's thumbnail in the rows' frame,
    // at the scroll bar's value.
    QPoint ThumbnailTwips(int slot) const;
    // The picture showing slot's thumbnail; null while its row is out of view.
    platform::Surface* Thumbnail(int slot) const;
    // The training dialog while it is open; null otherwise.
    frmTrain* Training() const { return training_; }
    // The modal dialog this window shows, null while none is open.
    QDialog* OpenDialog() const { return modal_; }

    // The controls, as a user sees them. The bars and the selector are shapes
    // of patternsSurface, which lies under the rows' controls in their frame
    // and draws in the frame's twips.
    QGroupBox* framPatterns = nullptr;
    platform::Surface* patternsSurface = nullptr;
    platform::OptionButtons optPattern;
    // The thumbnails of the rows in view, at most kVisibleRows rows of
    // them: picture k shows slot k counted from the first row in view.
    std::vector<platform::Surface*> picPattern;
    std::vector<platform::SurfaceShape*> shpBar;
    platform::SurfaceShape* shpPatSelector = nullptr;
    platform::ScrollBar* scrPats = nullptr;
    QPushButton* cmdPatternSet = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdLoad = nullptr;
    QGroupBox* framWorkspace = nullptr;
    platform::Surface* picCanvas = nullptr;
    QGroupBox* framMode = nullptr;
    QRadioButton* optDefine = nullptr;
    QRadioButton* optRecognize = nullptr;
    QGroupBox* framNet = nullptr;
    platform::Surface* picNet = nullptr;
    QLabel* lblDiff = nullptr;
    QPushButton* cmdTrain = nullptr;
    QPushButton* cmdNetSet = nullptr;
    QPushButton* cmdSaveNet = nullptr;
    QPushButton* cmdLoadNet = nullptr;
    platform::Timer* timAnim = nullptr;
    platform::Timer* timCapture = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void CaptionCategories();
    int OptionCount() const { return int(optPattern.Size()); }
    void SetOptionChecked(int category, bool checked);
    // Shows a dialog of this window, modal. A close of the window meanwhile
    // closes the dialog (a training loop ends first) and then the window.
    void ShowDialog(QDialog& dialog);

    neuromesh::PatternSet patset_;
    neuromesh::NetworkModel net_;
    neuromesh::StrokeRecorder stroke_;
    std::vector<double> sampled_;
    int thumbFirstSlot_ = 0; // the slot of picPattern[0]
    int barLeft_ = 0; // twips, in the rows' frame
    frmTrain* training_ = nullptr;
    QPointer<QDialog> modal_;
    platform::CloseGuard closeGuard_{*this, [this] {
                                         if (modal_)
                                             modal_->close();
                                     }};
    bool unloaded_ = false;
};
