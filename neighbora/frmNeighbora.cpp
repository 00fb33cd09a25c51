#include "frmNeighbora.h"

#include "DropDownList.h"
#include "Help.h"
#include "Slider.h"

frmNeighbora::frmNeighbora(QWidget* parent)
    : GridWindow("Veritope - Neighbora", {10, 20, 30, 40, 50, 75, 100}, parent) {
    platform::BindHelpKey(this, kHelpTopic);
    sldDensity = AddSliderRow("Density", 75, &lblDensity, &lblDensPerc);
    sldOneKind = AddSliderRow("Racial group size ratio", 50, &lblOneKind, &lblOneKindVal);
    sldPrej = AddSliderRow("Acceptable foreign neighbor percentage", 30, &lblPrej, &lblPrejVal);
    Form_Load();
}

void frmNeighbora::Form_Load() {
    random.Randomize();
    grid.AllocateGrid(50, 50);
    cmbSize->SetListIndex(4);
    cmdReset_Click();
}

void frmNeighbora::ResetGrid(int16_t side) {
    grid.AllocateGrid(side, side);
    grid.ClearGrid();
    grid.PlaceResidents(sldDensity->Value(), sldOneKind->Value());
}

void frmNeighbora::SimulationStep() {
    grid.SimulationStep(sldPrej->Value());
}

uint32_t frmNeighbora::CellColour(int16_t x, int16_t y) const {
    switch (grid.kind(x, y)) {
    case 0:
        return 0xFF0000;
    case 1:
        return 0x0000FF;
    default:
        return 0xFFFFFF;
    }
}
