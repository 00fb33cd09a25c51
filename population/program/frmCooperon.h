#pragma once

#include "DisplayOrder.h"
#include "PopulationLibrary.h"
#include "SituationStats.h"

#include <QRgb>
#include <QWidget>
#include <cstdint>

class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;
class frmSettings;

namespace platform {
class DefaultButtons;
class ScrollBar;
class StatusBar;
class Surface;
} // namespace platform

// The main window of Cooperon: it sets the Population library up when it
// loads, breeds one generation per timer tick while running, and after every
// generation draws the population picture (one row of 64 genome cells per
// member and a glyph of its initial memory) and the situation chart (for each
// of the 64 situations, the share of members answering it with move 1 and the
// share starting from it). Move 0 is "Innocent", drawn green; move 1 is
// "Guilty", drawn red. The window and both pictures draw in pixels.
class frmCooperon : public QWidget {
public:
    // The program's page of the help file, opened by F1.
    static constexpr const char* kHelpTopic = "cooperon.htm";

    explicit frmCooperon(QWidget* parent = nullptr);
    ~frmCooperon() override;

    // Hands the settings dialog's boxes to the library; nothing is redrawn.
    void UpdateSettings(const frmSettings& settings);

    void cmdGo_Click();
    void timEvolve_Timer();
    void cmdReset_Click();
    void cmdSettings_Click();
    void cmdActions_Click();
    void cmdInitial_Click();
    void cmdSituation_Click();
    void cmdAction_Click();
    void cmdStart_Click();
    void optCurrent_Click();
    void optAverage_Click();
    void scrPop_Change();

    void GatherStats();
    void SortPopulation();
    // Six 4 x 4 squares for situation s: the oldest, middle and latest game in
    // the columns, the own move on top and the partner's below.
    void DrawSituation(platform::Surface& picture, int x, int y, int s);
    void DrawPopulation();
    // Draws the population picture, then the situation chart.
    void DrawChart();

    int32_t Generation() const { return generation_; }
    int16_t PopulationOrder() const { return populationOrder_; }
    int16_t ChartOrder() const { return chartOrder_; }
    const cooperon::SituationStats& Stats() const { return stats_; }
    const cooperon::MemberOrder& Members() const { return memberOrder_; }
    // The situation shown in each chart row, as last drawn.
    const std::array<int16_t, cooperon::kSituations>& ChartRows() const { return chartRows_; }

    // The controls, as a user sees them.
    QLabel* lblPopulation = nullptr;
    platform::Surface* picPopCanvas = nullptr;
    QPushButton* cmdActions = nullptr;
    QPushButton* cmdInitial = nullptr;
    platform::ScrollBar* scrPop = nullptr;
    QLabel* lblExpression = nullptr;
    QRadioButton* optCurrent = nullptr;
    QRadioButton* optAverage = nullptr;
    platform::Surface* picCanvas = nullptr;
    QPushButton* cmdSituation = nullptr;
    QPushButton* cmdAction = nullptr;
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdGo = nullptr;
    QPushButton* cmdReset = nullptr;
    QPushButton* cmdSettings = nullptr;
    QTimer* timEvolve = nullptr;
    platform::StatusBar* statBar = nullptr;

    // Move 0 green, move 1 red.
    const QRgb moveColor[2] = {qRgb(0, 255, 0), qRgb(255, 0, 0)};
    static constexpr int16_t bitMask[8] = {1, 2, 4, 8, 16, 32, 64, 128};

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void LayoutAtLoad();
    // Widens each header button too narrow for its caption in the window's
    // font, with its picture, moving what lies right of it; gives the width
    // the window gains.
    int FitCaptions();
    void DrawChartRows();

    static constexpr const char* kGenerationPanel = "generation";

    cooperon::LibraryPopulation population_;
    cooperon::SituationStats stats_;
    cooperon::MemberOrder memberOrder_;
    std::array<int16_t, cooperon::kSituations> chartRows_{};
    int32_t generation_ = 1;
    int16_t populationOrder_ = cooperon::kByResponseGenes;
    int16_t chartOrder_ = cooperon::kBySituation;
    bool unloaded_ = false;
    platform::DefaultButtons* defaultButtons_ = nullptr;
};
