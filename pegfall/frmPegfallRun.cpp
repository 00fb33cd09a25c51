// frmPegfall: the tick in both modes, Go and Stop, the speeds and the
// full-speed loop.

#include "Pump.h"
#include "Slider.h"
#include "Timer.h"
#include "frmPegfall.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

const QString kStop = QStringLiteral("Stop");

// The timer's interval at speeds 0 to 3: 61, 41, 21 and 1 ms.
int IntervalOf(int speed) {
    return 61 - 20 * speed;
}

constexpr int kFullSpeed = 4;

} // namespace

void frmPegfall::timAnim_Timer() {
    if (chkAnimate->isChecked())
        MoveBall();
    else
        DropBall();
}

void frmPegfall::DropBall() {
    board_.CountBall(pegfall::PegBoard::DropBall(board_.Levels()));
    if (board_.RedrawDue(sldSpeed->Value()))
        DrawHistogram();
}

void frmPegfall::MoveBall() {
    const int bin = ball_.Tick(board_);
    if (bin >= 0) {
        board_.CountBall(bin);
        ResetBall();
        DrawHistogram();
        return;
    }
    PlaceBall();
}

void frmPegfall::cmdGo_Click() {
    if (cmdGo->text() != kStop) {
        EnableLevels(false);
        cmdGo->setText(kStop);
        timAnim->SetEnabled(true);
        sldSpeed_Change();
    } else {
        // A ball still on the board or falling is dropped uncounted.
        EnableLevels(true);
        cmdGo->setText("Go");
        timAnim->SetEnabled(false);
        ResetBall();
        DrawHistogram();
    }
}

void frmPegfall::sldSpeed_Change() {
    const int speed = sldSpeed->Value();
    // At full speed the timer does not tick: the loop counts the balls.
    timAnim->SetInterval(speed == kFullSpeed ? 0 : IntervalOf(speed));
    if (speed == kFullSpeed && timAnim->Enabled())
        cr->RaiseFullSpeed();
}

void frmPegfall::cr_FullSpeed() {
    timAnim->SetEnabled(false);
    // Stop, the slider, Animate, Clear and resizing are handled between the
    // balls; the loop sees them at its next pass.
    while (!closed_ && cmdGo->text() == kStop && sldSpeed->Value() == kFullSpeed) {
        timAnim_Timer();
        platform::DoEvents();
    }
    if (!closed_ && cmdGo->text() == kStop) {
        // The speed was changed: the timer takes over.
        timAnim->SetEnabled(true);
        sldSpeed_Change();
    }
}
