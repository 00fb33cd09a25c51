#include "frmContagia.h"

#include "DropDownList.h"
#include "Help.h"
#include "Slider.h"

frmContagia::frmContagia(QWidget* parent) : GridWindow("Veritope - Contagia", {10, 20, 30, 40, 50}, parent) {
    platform::BindHelpKey(this, kHelpTopic);
    sldDensity = AddSliderRow("Density", 85, &lblDensity, &lblDensPerc);
    sldInit = AddSliderRow("Initial percentage of sick", 5, &lblInit, &lblInitPerc);
    sldRate = AddSliderRow("Recovery rate", 2, &lblRate, &lblRatePerc);
    sldThresh = AddSliderRow("Infection threshold", 1, &lblThresh, &lblThreshPerc);
    Form_Load();
}

void frmContagia::Form_Load() {
    random.Randomize();
    grid.AllocateGrid(30, 30);
    cmbSize->SetListIndex(2);
    cmdReset_Click();
}

void frmContagia::ResetGrid(int16_t side) {
    grid.AllocateGrid(side, side);
    grid.ClearGrid();
    grid.CountPersons(sldDensity->Value());
    grid.PlacePersons(sldInit->Value());
}

void frmContagia::SimulationStep() {
    grid.SimulationStep(sldRate->Value(), sldThresh->Value());
}

uint32_t frmContagia::CellColour(int16_t x, int16_t y) const {
    const double s = grid.sickness(x, y);
    if (s == -1)
        return 0xFFFFFF;
    const uint32_t red = static_cast<uint32_t>(s * 255);
    return red + 65536 * (255 - red);
}
