#pragma once

#include "ResultsChart.h"
#include "ResultsFile.h"

#include <QDialog>
#include <cstdint>

class QPushButton;

namespace platform {
class Surface;
}

// The results window: the mean reaction time of each stage, from a finished
// test or from a results file, charted against the number of choices with the
// fitted curve and its legends, and saved to a results file. The chart is
// drawn in pixels and redrawn whole at every repaint; resizing the window
// repaints it to the new size and moves the save button under the plot.
class frmResults : public QDialog {
public:
    explicit frmResults(QWidget* parent = nullptr);
    ~frmResults() override;

    // The mean of stage index ind (0..25); other indexes are ignored.
    void SetStat(int ind, double st);
    // Lets the user choose a results file and loads it; false when cancelled or
    // refused (the window is then not to be shown).
    bool OpenAFile();
    void cmdSave_Click();

    const reactimer::StageMeans& Means() const { return means_; }

    // The number of stages shown, 0..26.
    int16_t nums = 0;

    // The controls, as a user sees them; the chart is drawn on `surface`,
    // which covers the whole window.
    platform::Surface* surface = nullptr;
    QPushButton* cmdSave = nullptr;

    // The chart of the last repaint, as numbers.
    const reactimer::ChartDrawing& Chart() const { return chart_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Resize();
    void Form_Paint();

    reactimer::StageMeans means_{};
    reactimer::ChartDrawing chart_;
};
