#pragma once

#include "EpidemicGrid.h"
#include "GridWindow.h"
#include "RuntimeRandom.h"

// The window of Contagia: the epidemic grid coloured from blue (healthy) to red
// (sick), with its size, density, initial share of sick, recovery rate and
// infection threshold.
class frmContagia : public GridWindow {
public:
    // The program's page of the help file, opened by F1.
    static constexpr const char* kHelpTopic = "contagia.htm";

    explicit frmContagia(QWidget* parent = nullptr);

    platform::RuntimeRandom random;
    EpidemicGrid grid{random};

    QLabel* lblDensity = nullptr;
    platform::Slider* sldDensity = nullptr;
    QLabel* lblDensPerc = nullptr;
    QLabel* lblInit = nullptr;
    platform::Slider* sldInit = nullptr;
    QLabel* lblInitPerc = nullptr;
    QLabel* lblRate = nullptr;
    platform::Slider* sldRate = nullptr;
    QLabel* lblRatePerc = nullptr;
    QLabel* lblThresh = nullptr;
    platform::Slider* sldThresh = nullptr;
    QLabel* lblThreshPerc = nullptr;

protected:
    void ResetGrid(int16_t side) override;
    void SimulationStep() override;
    int16_t GridSide() const override { return grid.gridW; }
    uint32_t CellColour(int16_t x, int16_t y) const override;

private:
    void Form_Load();
};
