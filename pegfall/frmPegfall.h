#pragma once

#include "FallingBall.h"
#include "PegBoard.h"
#include "clsRaiser.h"

#include <QWidget>
#include <memory>
#include <vector>

class QCheckBox;
class QPushButton;

namespace platform {
class DefaultButtons;
class Slider;
class Surface;
class SurfaceImage;
class SurfaceLabel;
class SurfaceLine;
class SurfaceShape;
class TextBox;
class Timer;
} // namespace platform

// The window of Pegfall: a triangular board of peg rows above a row of bins,
// balls dropped through it one at a time (animated on a timer, or counted
// whole, up to the full-speed loop), and the bar chart of the bin counts with
// the normal curve drawn over it. The window works in pixels of its client
// area. Pegs, bars, count labels and curve segments are control arrays: entry
// 0 of each exists from the start, further entries are made from it as the
// board needs them and go again (curve segments are only hidden) when it
// shrinks.
class frmPegfall : public QWidget {
public:
    // The program's page of the help file, opened by F1.
    static constexpr const char* kHelpTopic = "pegfall.htm";

    explicit frmPegfall(QWidget* parent = nullptr);
    ~frmPegfall() override;

    // Event handlers.
    void Form_Resize();
    void txtPegs_Change();
    void cmdClean_Click();
    void chkAnimate_Click();
    void cmdGo_Click();
    void sldSpeed_Change();
    void timAnim_Timer();
    void cr_FullSpeed();

    // The window's procedures.
    void ResetBins();
    void LayoutPanels();
    void ResetBall();
    void LayoutBoard();
    void DrawHistogram();
    void DrawNormalCurve();

    const pegfall::PegBoard& Board() const { return board_; }
    const pegfall::FallingBall& Ball() const { return ball_; }
    // The highest entries created of the peg, bar and label, and curve arrays.
    int PegMark() const { return pegMark_; }
    int BarMark() const { return barMark_; }
    int CurveMark() const { return curveMark_; }

    // The controls, as a user sees them. The window's drawing is `surface`,
    // which covers the whole client area; the shapes, lines, labels and
    // pictures are its items.
    platform::Surface* surface = nullptr;
    platform::SurfaceShape* shpBack = nullptr;
    platform::SurfaceLine* linSep = nullptr;
    platform::SurfaceLabel* lblPegs = nullptr;
    platform::TextBox* txtPegs = nullptr;
    QPushButton* cmdGo = nullptr;
    QPushButton* cmdClean = nullptr;
    QCheckBox* chkAnimate = nullptr;
    platform::SurfaceLabel* lblSlow = nullptr;
    platform::Slider* sldSpeed = nullptr;
    platform::SurfaceLabel* lblFast = nullptr;
    platform::Timer* timAnim = nullptr;
    platform::SurfaceShape* shpCanvas = nullptr;
    platform::SurfaceShape* shpResults = nullptr;
    std::vector<platform::SurfaceImage*> imTwig;
    platform::SurfaceImage* imBall = nullptr;
    std::vector<platform::SurfaceShape*> shpBar;
    std::vector<platform::SurfaceLabel*> lblBar;
    std::vector<platform::SurfaceLine*> linGauss;
    platform::DefaultButtons* defaultButtons = nullptr;

    // The full-speed notifier, made first when the window loads.
    std::unique_ptr<clsRaiser> cr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void CreateControls();
    // lblPegs and txtPegs take input only while no run is on.
    void EnableLevels(bool enabled);
    // Places the areas' shapes where the board has them.
    void PlaceAreas();
    void PlaceBall();
    // New entries of the control arrays, made from entry 0.
    platform::SurfaceImage& NewPeg();
    platform::SurfaceShape& NewBar();
    platform::SurfaceLabel& NewCountLabel();
    platform::SurfaceLine& NewSegment();
    // One whole ball without animation, and one frame of the animated ball.
    void DropBall();
    void MoveBall();

    pegfall::PegBoard board_;
    pegfall::FallingBall ball_;
    int pegMark_ = 0;
    int barMark_ = 0;
    int curveMark_ = 0;
    // The window was closed: a full-speed loop ends at once.
    bool closed_ = false;
};
