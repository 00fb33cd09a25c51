#pragma once

#include "DiagramRanges.h"
#include "clsExpression.h"

#include <QWidget>
#include <cstdint>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace platform {
class StatusBar;
class Surface;
class TextBox;
struct MouseEvent;
} // namespace platform

// The window of Bifurcal: the bifurcation diagram of the logistic map or of a
// typed formula in x and a, one parameter value per canvas column, with the
// ranges and iteration counts in text boxes, a rubber-band zoom with the left
// button, zoom out with the right button and four pan buttons.
//
// The canvas draws in its own pixels, on the user-interface thread. A drawing
// lets pending messages run between columns: closing the window ends it at
// once, and a pan, a zoom, a Refresh or a new size asked for during it starts
// it over with what was asked; the zoom rectangle waits for its end. A repaint
// of a canvas whose size has not changed since the last full drawing shows that
// drawing again.
class frmBifurcal : public QWidget {
public:
    // The program's page of the help file, opened by F1.
    static constexpr const char* kHelpTopic = "bifurcal.htm";

    explicit frmBifurcal(QWidget* parent = nullptr);
    ~frmBifurcal() override;

    void ShowRanges();
    void UpdateScales();
    void ResetDefaults();
    // Draws the whole diagram, or asks a drawing in progress to start over.
    void DrawDiagram();
    void TogglePixel(int x, int y);
    void ToggleBand(int x1, int y1, int x2, int y2);

    void cmdRefresh_Click();
    void cmdReset_Click();
    void cmdLeft_Click();
    void cmdRight_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void optLogistic_Click();
    void optCustom_Click();

    const bifurcal::DiagramRanges& Ranges() const { return ranges_; }
    int16_t ShownIterations() const { return shownIterations_; }
    int16_t DiscardedIterations() const { return discardedIterations_; }
    // The corners of the zoom rectangle; bandX1 is -1 while none is being dragged.
    int16_t bandX1 = -1;
    int16_t bandY1 = 0;
    int16_t bandX2 = -1;
    int16_t bandY2 = 0;

    // The controls, as a user sees them.
    QGroupBox* framRanges = nullptr;
    QLabel* lblMinA = nullptr;
    platform::TextBox* txtMinA = nullptr;
    QLabel* Label1 = nullptr;
    platform::TextBox* txtMaxA = nullptr;
    QLabel* lblMinX = nullptr;
    platform::TextBox* txtMinX = nullptr;
    QLabel* lblMaxX = nullptr;
    platform::TextBox* txtMaxX = nullptr;
    QGroupBox* framPixels = nullptr;
    QLabel* lblDisc = nullptr;
    platform::TextBox* txtDisc = nullptr;
    QLabel* lblIts = nullptr;
    platform::TextBox* txtIts = nullptr;
    QGroupBox* framItfForm = nullptr;
    QRadioButton* optLogistic = nullptr;
    QRadioButton* optCustom = nullptr;
    QLabel* lblX = nullptr;
    platform::TextBox* txtItForm = nullptr;
    QLabel* lblX0 = nullptr;
    platform::TextBox* txtX0 = nullptr;
    QPushButton* cmdReset = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdLeft = nullptr;
    platform::Surface* picCanvas = nullptr;
    QPushButton* cmdRight = nullptr;
    QPushButton* cmdDown = nullptr;
    platform::StatusBar* theBar = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_MouseMove();
    void picCanvas_MouseDown(const platform::MouseEvent& e);
    void picCanvas_MouseMove(const platform::MouseEvent& e);
    void picCanvas_MouseUp(const platform::MouseEvent& e);
    // Enables the formula and start value boxes with their labels, or disables them.
    void EnableFormulaBoxes(bool enabled);
    // Parses the formula box; formula_ changes only to a formula that parses.
    void ParseFormula();
    void ToggleCurrentBand() { ToggleBand(bandX1, bandY1, bandX2, bandY2); }
    void picCanvas_Paint();
    // One drawing; false when it was left to start over or for a close.
    bool DrawOnce();

    bifurcal::DiagramRanges ranges_;
    int16_t shownIterations_ = 200;
    int16_t discardedIterations_ = 100;
    // The last formula that parsed; the one drawn with the custom map.
    expression::clsExpression formula_;
    // The formula box held a formula that did not parse at the last Refresh:
    // nothing is drawn with the custom map until one parses.
    bool formulaRejected_ = false;
    expression::clsExpression parsed_;
    bool drawing_ = false;
    bool redrawAsked_ = false;
    bool closeAsked_ = false;
    // The canvas size of the last drawing that ran to its end; empty when none did.
    QSize drawnSize_;
};
