#pragma once

#include "ErrorChart.h"
#include "NetworkModel.h"

#include <QDialog>

class QLabel;
class QPushButton;
class frmNeuromesh;

namespace platform {
class Slider;
class Surface;
class SurfacePolyline;
class SurfaceShape;
} // namespace platform

// The modal training dialog: online training over the whole pattern set,
// epoch after epoch, until paused, with the learning rate and momentum read
// from their sliders before every sample; weights reset or bumped; and the
// error of every epoch in a chart of 201 segments that fills, then scrolls.
// While training runs the main window's diagram is animated.
//
// Training runs inside the Start button's handler and lets pending messages
// run once per epoch. Closing the dialog while it runs ends the loop at its
// next check, which then runs the stop steps; the dialog object outlives the
// loop, since the loop runs inside its modal showing.
class frmTrain : public QDialog {
public:
    static constexpr const char* kStart = "Start training";
    static constexpr const char* kPause = "Pause training";

    explicit frmTrain(frmNeuromesh& owner);

    void cmdGo_Click();
    void cmdRnd_Click();
    void cmdBump_Click();
    void cmdExit_Click();
    void sldEta_Change();
    void sldMomentum_Change();
    void sldBump_Change();

    void ResetErrorChart();
    void AddErrorPoint(double e);
    void RedrawErrorChart();
    double ErrorToY(double e) const;

    bool Training() const { return training_; }
    const neuromesh::ErrorChart& Chart() const { return chart_; }
    // The rates the sliders give now.
    neuromesh::TrainingRates Rates() const;

    // The controls, as a user sees them. The chart area and its line are
    // items of surface, which lies under every control and draws in twips.
    platform::Surface* surface = nullptr;
    QPushButton* cmdGo = nullptr;
    QPushButton* cmdRnd = nullptr;
    QPushButton* cmdBump = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* lblTrainRate = nullptr;
    platform::Slider* sldEta = nullptr;
    QLabel* lblEta = nullptr;
    QLabel* lblMomentum = nullptr;
    platform::Slider* sldMomentum = nullptr;
    QLabel* lblMomentumValue = nullptr;
    QLabel* lblBump = nullptr;
    platform::Slider* sldBump = nullptr;
    QLabel* lblBumpVal = nullptr;
    QLabel* lblCurErr = nullptr;
    platform::SurfaceShape* shpCanvas = nullptr;
    // The 201 segments of the chart as one chain through its shown values.
    platform::SurfacePolyline* linErr = nullptr;

    // However the dialog closes (Exit, Escape, the title bar), a running loop
    // ends at its next check.
    void done(int result) override;

private:
    void Form_Load();
    void StopTraining();
    void ShowCurrentError(double e);

    frmNeuromesh& owner_;
    neuromesh::ErrorChart chart_;
    std::vector<QPointF> points_;
    bool training_ = false;
};
