#pragma once

#include "TossRun.h"

#include <QWidget>
#include <array>

class QPushButton;

namespace platform {
class DefaultButtons;
class ProgressBar;
class Surface;
class SurfaceLabel;
class SurfaceLine;
class SurfaceShape;
class TextBox;
} // namespace platform

// The window of Flipwell: N tosses of a fair coin, the number of heads, the
// deviation of their share from one half, and the graph of the running share.
// It works in pixels; the graph is drawn anew at every repaint.
class frmFlipwell : public QWidget {
public:
    // The program's page of the help file, opened by F1.
    static constexpr const char* kHelpTopic = "flipwell.htm";

    explicit frmFlipwell(QWidget* parent = nullptr);
    ~frmFlipwell() override;

    void cmdToss_Click();
    void RunTosses(double n);

    double N = 0;
    double heads = 0;
    std::array<double, flipwell::kSamples> share{};
    // The tosses that heads counts and the entries of share that hold samples:
    // N and all its samples after a run, the run so far during one, so that a
    // repaint during a run shows figures of one and the same moment.
    double tossesDone = 0;
    int samplesTaken = 0;

    platform::Surface* surface = nullptr;
    platform::SurfaceShape* shpBar = nullptr;
    platform::SurfaceLine* lnBar = nullptr;
    platform::SurfaceLabel* lblToss = nullptr;
    platform::SurfaceLabel* lblTimes = nullptr;
    platform::SurfaceLabel* lblAll = nullptr;
    platform::SurfaceLabel* lblSum = nullptr;
    platform::SurfaceLabel* lblErr = nullptr;
    platform::SurfaceLabel* lblAllV = nullptr;
    platform::SurfaceLabel* lblSumV = nullptr;
    platform::SurfaceLabel* lblErrV = nullptr;
    platform::SurfaceLabel* lblPerc = nullptr;
    platform::TextBox* txtTimes = nullptr;
    QPushButton* cmdToss = nullptr;
    platform::ProgressBar* prgToss = nullptr;

    // The graph's points of the last repaint, for the tests: x(i) and y(i), i = 1 to m + 1.
    std::vector<QPoint> graphPoints;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_Paint();

    platform::DefaultButtons* buttons_ = nullptr;
    // The window was closed: a run ends at its next report.
    bool unloaded_ = false;
};
