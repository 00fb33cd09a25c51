// frmLifeboard: stepping and runs, forwards and backwards, and the
// complement mode for rules that give birth on zero neighbours.

#include "Pump.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "frmLifeboard.h"

void frmLifeboard::DoStep() {
    int16_t birthOnZero = 0;
    engine_->get_RuleB(0, &birthOnZero);
    if (birthOnZero != 1) {
        engine_->Step();
        int32_t x = 0;
        int32_t y = 0;
        int16_t change = 0;
        int16_t ok = 0;
        while (engine_->NextChange(&x, &y, &change, &ok), ok == 1)
            DrawCell(x, y, negative ? change == -1 : change != -1);
    } else {
        // The whole empty plane would come alive: step the complement instead,
        // then keep the complement transform of the rule in force.
        int16_t n = 0;
        engine_->get_NeiCount(&n);
        ApplyRule(lifeboard::InvertEntries(EngineRule(), n));
        engine_->Step();
        flips_.Push(generation_ + 1);
        negative = !negative;
        ApplyRule(lifeboard::MirrorEntries(EngineRule(), n));
        Repaint();
    }
    ++generation_;
    ShowGeneration();
    UpdateBackButtons();
}

bool frmLifeboard::DoStepBack() {
    int16_t ok = 0;
    engine_->StepBack(&ok);
    if (ok != 1)
        return false;
    int32_t x = 0;
    int32_t y = 0;
    int16_t change = 0;
    while (engine_->NextChange(&x, &y, &change, &ok), ok == 1) {
        const bool present = change != -1;
        DrawCell(x, y, negative ? !present : present);
        SetEngineCell(x, y, present);
    }
    // Undoing a complementing step turns the rule and the mode back.
    if (flips_.TakeIfAt(generation_)) {
        negative = !negative;
        int16_t n = 0;
        engine_->get_NeiCount(&n);
        ApplyRule(lifeboard::ComplementRule(EngineRule(), n));
        Repaint();
    }
    --generation_;
    ShowGeneration();
    UpdateBackButtons();
    return true;
}

namespace {

void SetRunButtons(platform::ToolBar& bar, bool running) {
    bar.SetButtonEnabled("Stop", running);
    for (const char* key : {"Run", "Step"})
        bar.SetButtonEnabled(key, !running);
    if (running) {
        bar.SetButtonEnabled("RunBack", false);
        bar.SetButtonEnabled("StepBack", false);
    }
}

} // namespace

void frmLifeboard::RunForward() {
    if (running_)
        return;
    const auto loop = closeGuard_.Enter();
    running_ = true;
    SetRunButtons(*tlbToolBar, true);
    stop_ = false;
    while (!stop_) {
        DoStep();
        platform::DoEvents();
    }
    EndRun();
}

// A run is never started inside another: the one in progress goes on, and
// Stop ends it.
void frmLifeboard::RunBackward() {
    if (running_)
        return;
    const auto loop = closeGuard_.Enter();
    running_ = true;
    SetRunButtons(*tlbToolBar, true);
    stop_ = false;
    for (;;) {
        if (!DoStepBack() || stop_)
            break;
        platform::DoEvents();
    }
    EndRun();
}

void frmLifeboard::EndRun() {
    running_ = false;
    SetRunButtons(*tlbToolBar, false);
    UpdateBackButtons();
}

void frmLifeboard::StopRunning() {
    stop_ = true;
}

void frmLifeboard::ClearBoard() {
    engine_->StartIterating();
    int32_t x = 0;
    int32_t y = 0;
    int16_t ok = 0;
    while (engine_->NextCell(&x, &y, &ok), ok == 1)
        engine_->put_Cell(x, y, 0);
    engine_->CleanHistory();
    generation_ = 1;
    // The engine holds the complement transform of the user's rule: turn it
    // back, so that the empty board runs the rule the user chose.
    if (negative)
        ApplyRule(lifeboard::ComplementRule(EngineRule(), neiCount_));
    negative = false;
    flips_.Clear();
    ShowGeneration();
    Repaint();
    UpdateBackButtons();
}

// The back buttons stay disabled while a run goes on.
void frmLifeboard::UpdateBackButtons() {
    int16_t empty = 1;
    engine_->get_EmptyHistory(&empty);
    const bool back = empty != 1 && !running_;
    tlbToolBar->SetButtonEnabled("StepBack", back);
    tlbToolBar->SetButtonEnabled("RunBack", back);
}
