// frmRibbonmill: Step and Run, and saving and loading machines.

#include "Dialogs.h"
#include "DropDownList.h"
#include "ListView.h"
#include "MachineFile.h"
#include "Pump.h"
#include "Slider.h"
#include "Wait.h"
#include "frmRibbonmill.h"

#include <QFile>
#include <chrono>
#include <utility>
#include <QPushButton>

using ribbonmill::StepResult;

namespace {

// The pause per slider step below its maximum.
constexpr int kPauseStep = 150;
// Without a pause, the pump is asked whether messages are due every so many
// steps: reading its clock costs several steps of the machine.
constexpr int kStepsPerPumpCheck = 64;
// The controls show a run at most once a frame; the pumps between repaint nothing.
constexpr std::chrono::milliseconds kDisplayFrame{16};

platform::FileRequest MachineFileRequest() {
    platform::FileRequest request;
    request.filter = "Ribbonmill files (*.qmx)|*.qmx";
    request.defaultExt = "qmx";
    return request;
}

std::filesystem::path FilePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

bool frmRibbonmill::ExecuteStep() {
    switch (machine_->ExecuteStep()) {
    case StepResult::Halted:
        return false;
    case StepResult::NoRule:
        ShowDeferred();
        platform::MessageBox("No rule found for this symbol", "Cannot run machine");
        return false;
    case StepResult::TapeFull:
        ShowDeferred();
        ShowTapeFull();
        return false;
    case StepResult::Stepped:
        break;
    }
    if (deferring_)
        deferredStep_ = true;
    else
        ShowStep();
    return true;
}

void frmRibbonmill::ShowStep() {
    ShowSelectedRule();
    ShowCurrentState();
}

void frmRibbonmill::ShowDeferred() {
    const bool deferring = deferring_;
    deferring_ = false;
    const uint32_t boxes = std::exchange(deferredBoxes_, 0);
    if (boxes == (1u << kBoxes) - 1) {
        ShowBoxes();
    } else {
        for (int box = 0; boxes >> box != 0; ++box) {
            if ((boxes >> box & 1u) != 0)
                ShowBoxNow(box);
        }
    }
    if (std::exchange(deferredMarker_, false))
        UpdateCur(machine_->Tape().curoffset);
    if (std::exchange(deferredStep_, false))
        ShowStep();
    deferring_ = deferring;
}

void frmRibbonmill::sldSpeed_Change() {
    pause_ = (sldSpeed->Max() - sldSpeed->Value()) * kPauseStep;
}

void frmRibbonmill::cmdStep_Click() {
    ExecuteStep();
}

void frmRibbonmill::SetRunCaption(const QString& caption) {
    cmdRun->setText(caption);
    running_ = caption == "Stop";
}

void frmRibbonmill::cmdRun_Click() {
    if (running_) {
        // The loop ends after its current pause.
        SetRunCaption("Run");
        return;
    }
    SetRunCaption("Stop");
    platform::WaitOptions options;
    options.window = this;
    int untilPumpCheck = 1;
    std::chrono::steady_clock::time_point nextDisplay{};
    while (running_) {
        deferring_ = true;
        const bool stepped = ExecuteStep();
        deferring_ = false;
        if (!stepped)
            SetRunCaption("Run");
        if (pause_ > 0) {
            ShowDeferred();
            platform::Wait(pause_, options);
            untilPumpCheck = 1;
        }
        // The controls are brought up to date just before messages run.
        if (--untilPumpCheck == 0 || !running_) {
            untilPumpCheck = kStepsPerPumpCheck;
            if (platform::PumpDue()) {
                const auto now = std::chrono::steady_clock::now();
                if (now >= nextDisplay) {
                    ShowDeferred();
                    nextDisplay = now + kDisplayFrame;
                }
            }
            platform::DoEvents();
        }
        if (closing_)
            return;
    }
    ShowDeferred();
}

void frmRibbonmill::SaveMachine(const QString& path) {
    if (ribbonmill::SaveMachine(FilePath(path), *machine_))
        platform::MessageBox("File written successfully", "Save");
    else
        platform::MessageBox("Error saving file", "Save", platform::MessageIcon::Critical);
}

void frmRibbonmill::LoadMachine(const QString& path) {
    const ribbonmill::LoadResult result = ribbonmill::LoadMachine(FilePath(path), *machine_);
    if (result != ribbonmill::LoadResult::Unopened) {
        // Whatever was read is shown, also from a damaged file.
        ShowStates();
        ShowCurrentState();
        showing_ = true;
        cmbAvailable->SetListIndex(machine_->SymbolCount());
        showing_ = false;
        ShowSymbols();
        deferredBoxes_ = 0;
        deferredMarker_ = false;
        deferredStep_ = false;
        ShowBoxes();
        UpdateCur(machine_->Tape().curoffset);
        ShowRules();
        ShowSelectedRule();
    }
    if (result != ribbonmill::LoadResult::Loaded)
        platform::MessageBox("Error opening file", "Load", platform::MessageIcon::Critical);
}

void frmRibbonmill::cmdSave_Click() {
    const QString path = platform::SaveFileDialog(MachineFileRequest());
    if (!path.isEmpty())
        SaveMachine(path);
}

void frmRibbonmill::cmdLoad_Click() {
    const QString path = platform::OpenFileDialog(MachineFileRequest());
    if (!path.isEmpty())
        LoadMachine(path);
}
