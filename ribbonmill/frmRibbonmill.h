#pragma once

#include "ButtonArray.h"
#include "TapeMachine.h"
#include "TapeView.h"

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;

namespace platform {
class DropDownList;
class ListBox;
class ListView;
class Slider;
class Surface;
class SurfaceLine;
class TextBox;
struct KeyEvent;
} // namespace platform

// The window of Ribbonmill: the tape row of twenty boxes with its scroll
// buttons and head marker, Run, Step, the current state and the speed; the
// states and the number of tape symbols; saving and loading machines; the rule
// table and the editor of its selected rule.
//
// The machine (ribbonmill::TapeMachine) holds the states, N, the rules, the
// current state and the tape; the controls show it. During a run the model
// steps alone and the controls are brought up to date once a frame, just
// before pending messages run.
class frmRibbonmill : public QWidget, public ribbonmill::TapeView {
public:
    explicit frmRibbonmill(QWidget* parent = nullptr);
    ~frmRibbonmill() override;

    static constexpr int kBoxes = ribbonmill::clsTape::kBoxes;
    static constexpr const char* kHelpTopic = "ribbonmill.htm";

    ribbonmill::TapeMachine& Machine() { return *machine_; }
    int16_t StateIndex(const QString& name) const;

    // Tape window.
    void UpdateCur(int32_t c) override;
    void cmdLeft_Click();
    void cmdRight_Click();
    void cmdClear_Click();
    void txtTape_Change(int index);
    void txtTape_Click(int index);
    void txtTape_GotFocus(int index);
    void txtTape_DblClick(int index);
    bool txtTape_KeyDown(int index, const platform::KeyEvent& key);

    // Machine.
    bool ExecuteStep();
    void SyncRules();
    void ShowSelectedRule();
    void cmdStep_Click();
    void cmdRun_Click();
    void sldSpeed_Change();
    void cmdAddState_Click();
    void cmdDelState_Click();
    void lstStates_Click();
    void cmbMachine_Click();
    void cmbAvailable_Click();
    void lstRules_Click();
    void cmbSymbol_Click();
    void cmbDirection_Click();
    void cmbState_Click();
    void optStop_Click(int index);

    // Files.
    void SaveMachine(const QString& path);
    void LoadMachine(const QString& path);
    void cmdSave_Click();
    void cmdLoad_Click();

    // The controls, as a user sees them.
    platform::Frame* frmMachine = nullptr;
    // The box round the tape row, and the drawing that holds the head marker.
    QFrame* shpTape = nullptr;
    platform::Surface* picMachine = nullptr;
    std::array<platform::TextBox*, kBoxes> txtTape{};
    QPushButton* cmdLeft = nullptr;
    QPushButton* cmdRight = nullptr;
    // The marker: the stem, the line along, the line down to the current
    // state, and the two strokes of the arrow head.
    std::array<platform::SurfaceLine*, 5> linMarker{};
    QPushButton* cmdRun = nullptr;
    QPushButton* cmdStep = nullptr;
    platform::DropDownList* cmbMachine = nullptr;
    QLabel* lblMin = nullptr;
    QLabel* lblMax = nullptr;
    platform::Slider* sldSpeed = nullptr;
    QPushButton* cmdClear = nullptr;
    platform::Frame* frmSettings = nullptr;
    platform::Frame* frmStates = nullptr;
    platform::ListBox* lstStates = nullptr;
    QPushButton* cmdAddState = nullptr;
    QPushButton* cmdDelState = nullptr;
    platform::Frame* frmSymbols = nullptr;
    QLabel* lblAvailable = nullptr;
    platform::DropDownList* cmbAvailable = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdLoad = nullptr;
    platform::Frame* frmRules = nullptr;
    platform::ListView* lstRules = nullptr;
    platform::Frame* frmEdit = nullptr;
    QLabel* lblWhen = nullptr;
    QLabel* lblSymbol = nullptr;
    platform::DropDownList* cmbSymbol = nullptr;
    platform::OptionButtons optStop;
    QLabel* lblDirection = nullptr;
    platform::DropDownList* cmbDirection = nullptr;
    QLabel* lblState = nullptr;
    platform::DropDownList* cmbState = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void BuildMachineFrame();
    void BuildSettings();
    void BuildRules();
    void ConnectTape();

    // Scrolls the tape's window; a full tape that cannot add the cell says so.
    void MoveWindow(int dir);
    // The message of a run, a step or a scroll that meets the tape's limit.
    void ShowTapeFull();

    // What the tape and the machine tell the window.
    void ShowBox(int box) override;
    void ShowBoxes() override;
    void ShowBoxNow(int box);
    void ShowSymbol(int box, int16_t symbol);

    // Controls brought up to date with the model.
    void ShowStates();
    void ShowRules();
    void ShowRuleRow(int row);
    void ShowCurrentState();
    void ShowSymbols();
    // The rule row and current state of the last step.
    void ShowStep();
    // Whatever a run has left to show.
    void ShowDeferred();
    void SetRunCaption(const QString& caption);
    void EnableRuleControls(bool move, bool symbol);

    std::unique_ptr<ribbonmill::TapeMachine> machine_;
    // The rule the editor shows, -1 for none: its controls edit this row, also
    // while a run has selected another that is not shown yet.
    int editorRow_ = -1;
    // Code is setting controls: their handlers leave the model alone.
    bool showing_ = false;
    // cmdRun reads "Stop".
    bool running_ = false;
    bool closing_ = false;
    // The pause after each step of a run: (maximum - value) x 150 ms of the speed.
    int pause_ = 0;
    // Inside a run's own step: what changes is shown before messages run.
    bool deferring_ = false;
    uint32_t deferredBoxes_ = 0;
    bool deferredMarker_ = false;
    bool deferredStep_ = false;
};
