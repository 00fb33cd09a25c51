#pragma once

#include "HitSampler.h"
#include "PlotBox.h"
#include "clsExpression.h"

#include <QRgb>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

namespace platform {
class Surface;
class SurfaceLabel;
class SurfaceShape;
class TextBox;
} // namespace platform

// The window of Hitmiss: a typed function of x plotted in a box over an
// interval, and random points drawn in the box until Stop, each counted as a
// hit above or below the axis or as a miss and set on the window in its
// colour, with the running estimate of the integral.
//
// The window draws in pixels of its inner area; the points are not redrawn
// when the window repaints. The counts belong to the box their points were
// drawn in: a repaint that gives the function another box starts them anew.
class frmHitmiss : public QWidget {
public:
    // The program's page of the help file, opened by F1.
    static constexpr const char* kHelpTopic = "hitmiss.htm";

    explicit frmHitmiss(QWidget* parent = nullptr);
    ~frmHitmiss() override;

    // False when it drew nothing: no valid formula, no interval, or an undefined
    // value on the plotting grid (reported once after each Go).
    bool PlotFunction();
    void ShowResults();

    void cmdGo_Click();
    void cmdReset_Click();

    double lowerX = 0;
    double upperX = 0;
    double lowerY = 0;
    double upperY = 0;
    double xScale = 0;
    double xOffset = 0;
    double yScale = 0;
    double yOffset = 0;
    double hitCount = 0;
    double trialCount = 0;
    bool isRunning = false;

    // The colours of a positive hit, a negative hit and a miss.
    static constexpr uint32_t kPositiveHit = 0xFF0000;
    static constexpr uint32_t kNegativeHit = 0xFFFF00;
    static constexpr uint32_t kMiss = 0x0000FF;

    // The controls, as a user sees them. The window's drawing is `surface`,
    // which covers the whole window.
    platform::Surface* surface = nullptr;
    platform::SurfaceShape* shpBackTop = nullptr;
    platform::SurfaceShape* shpBackLeft = nullptr;
    platform::SurfaceShape* shpFrame = nullptr;
    platform::SurfaceLabel* lblFunction = nullptr;
    platform::SurfaceLabel* lblMin = nullptr;
    platform::SurfaceLabel* lblMax = nullptr;
    platform::TextBox* txtFunction = nullptr;
    platform::TextBox* txtMin = nullptr;
    platform::TextBox* txtMax = nullptr;
    QPushButton* cmdGo = nullptr;
    QPushButton* cmdReset = nullptr;
    QGroupBox* framRes = nullptr;
    QLabel* lblPoints = nullptr;
    QLabel* lblPointsVal = nullptr;
    QLabel* lblInt = nullptr;
    QLabel* lblIntVal = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_Paint();
    // The sampling loop of a run.
    void Run();

    expression::clsExpression formula_;
    hitmiss::PlotBox box_;
    hitmiss::HitSampler sampler_;
    // The pixel colours of a hit +1, -1 and 0, by hit + 1.
    QRgb pointColours_[3] = {};
    // The last repaint drew the function and its box.
    bool plotted_ = false;
    // The function's undefined value was reported since the last Go.
    bool undefinedReported_ = false;
};
