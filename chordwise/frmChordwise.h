#pragma once

#include "ButtonArray.h"

#include <QRadioButton>
#include <QWidget>
#include <cstdint>

class QLabel;
class QPushButton;

namespace platform {
class Slider;
class Surface;
class SurfaceShape;
class Timer;
} // namespace platform

// The window of Chordwise: a random chord of a circle at every tick of the
// timer, by the chosen method, red when longer than the side of the inscribed
// equilateral triangle and blue otherwise, with the counts of both and the share
// of the longer ones. It works in twips; a repaint erases the chords drawn.
class frmChordwise : public QWidget {
public:
    // The program's page of the help file, opened by F1.
    static constexpr const char* kHelpTopic = "chordwise.htm";

    explicit frmChordwise(QWidget* parent = nullptr);
    ~frmChordwise() override;

    void ResetCounts();
    void ShowCounts();
    void cmdReset_Click();
    void optType_Click(int index);
    void sldAnim_Change();
    void timAnim_Timer();

    int16_t type = 0;
    double total = 0;
    double longer = 0;
    double cx = 0;
    double cy = 0;
    double r = 0;

    platform::Surface* surface = nullptr;
    platform::SurfaceShape* shpBack = nullptr;
    platform::SurfaceShape* shpCircle = nullptr;
    platform::Frame* framTypes = nullptr;
    platform::ButtonArray<QRadioButton> optType;
    QPushButton* cmdReset = nullptr;
    QLabel* lblSlow = nullptr;
    platform::Slider* sldAnim = nullptr;
    QLabel* lblFast = nullptr;
    QLabel* lblIn = nullptr;
    QLabel* lblInVal = nullptr;
    QLabel* lblOut = nullptr;
    QLabel* lblOutVal = nullptr;
    QLabel* lblRatio = nullptr;
    QLabel* lblRatioVal = nullptr;
    platform::Timer* timAnim = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
};
