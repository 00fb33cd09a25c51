#pragma once

#include "GridWindow.h"
#include "RuntimeRandom.h"
#include "SegregationGrid.h"

// The window of Neighbora: the segregation grid with kind 0 in blue, kind 1 in
// red and empty cells white, with its size, density, group size ratio and
// acceptable share of foreign neighbours.
class frmNeighbora : public GridWindow {
public:
    // The program's page of the help file, opened by F1.
    static constexpr const char* kHelpTopic = "neighbora.htm";

    explicit frmNeighbora(QWidget* parent = nullptr);

    platform::RuntimeRandom random;
    SegregationGrid grid{random};

    QLabel* lblDensity = nullptr;
    platform::Slider* sldDensity = nullptr;
    QLabel* lblDensPerc = nullptr;
    QLabel* lblOneKind = nullptr;
    platform::Slider* sldOneKind = nullptr;
    QLabel* lblOneKindVal = nullptr;
    QLabel* lblPrej = nullptr;
    platform::Slider* sldPrej = nullptr;
    QLabel* lblPrejVal = nullptr;

protected:
    void ResetGrid(int16_t side) override;
    void SimulationStep() override;
    int16_t GridSide() const override { return grid.gridW; }
    uint32_t CellColour(int16_t x, int16_t y) const override;

private:
    void Form_Load();
};
