#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <initializer_list>

class QGroupBox;
class QLabel;
class QPushButton;

namespace platform {
class DropDownList;
class Slider;
class Surface;
} // namespace platform

// The window skeleton of the grid programs: the square canvas on the left, the
// Run and Step buttons and the frame "Simulation parameters" on the right with
// the grid size list, Reset and rows of percentage sliders. Run toggles its
// caption between "Run" and "Stop" and steps while it reads "Stop"; the loop
// paints what the screen can show (every step when steps are slow, the latest
// one per frame when they are fast), and Reset during a run continues the run
// on the new grid. Closing the window ends the run and the program.
class GridWindow : public QWidget {
public:
    // The size list holds "n x n" with item data n for each side given.
    GridWindow(const QString& title, std::initializer_list<int> sides, QWidget* parent = nullptr);
    ~GridWindow() override;

    void cmdReset_Click();
    void cmdStep_Click();
    void cmdRun_Click();
    void picCanvas_Paint();

    platform::Surface* picCanvas = nullptr;
    QPushButton* cmdRun = nullptr;
    QPushButton* cmdStep = nullptr;
    QGroupBox* frmParams = nullptr;
    QLabel* lblSize = nullptr;
    platform::DropDownList* cmbSize = nullptr;
    QPushButton* cmdReset = nullptr;

protected:
    // A slider 0..100 at value, in the frame's next row under its caption, with
    // its value label showing value + "%" whenever it changes.
    platform::Slider* AddSliderRow(const char* caption, int value, QLabel** captionLabel, QLabel** valueLabel);

    // The program's model: rebuilding the grid for a side, one step, and the
    // colour of a cell as 0x00BBGGRR.
    virtual void ResetGrid(int16_t side) = 0;
    virtual void SimulationStep() = 0;
    virtual int16_t GridSide() const = 0;
    virtual uint32_t CellColour(int16_t x, int16_t y) const = 0;

    void closeEvent(QCloseEvent* event) override;

private:
    int sliderRows_ = 0;
    bool unloaded_ = false;
};
