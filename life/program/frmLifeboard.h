#pragma once

#include "CloseGuard.h"
#include "ILEGame.h"
#include "LatticeGeometry.h"
#include "RuleTransform.h"

#include <QWidget>
#include <cstdint>
#include <string_view>

class QPushButton;
class frmRules;
class dlgHistory;

namespace platform {
class ScrollBar;
class StatusBar;
class Surface;
class TextBox;
class ToolBar;
} // namespace platform

// The main window of Lifeboard: the board of one LEGame engine drawn on the
// square, hexagonal or triangular lattice, edited with the mouse, zoomed and
// scrolled over the unbounded plane, stepped and run forwards and backwards,
// with pattern files and the rule and history dialogs.
//
// Pixel positions are those of the window's inner area: the board lies under
// the toolbar, between it and the status bar, left of the vertical scroll bar.
class frmLifeboard : public QWidget {
public:
    explicit frmLifeboard(QWidget* parent = nullptr);
    ~frmLifeboard() override;

    // Whether the load succeeded; otherwise the window has shown its message
    // and closed itself.
    bool Loaded() const { return static_cast<bool>(engine_); }

    // Members the dialogs call.
    void ChangeHist(int32_t limit);
    void SetRuleS(int16_t n, int16_t value);
    void SetRuleB(int16_t n, int16_t value);
    void SetNeiCount(int16_t n);
    // The engine holds the dead cells instead of the live ones.
    bool negative = false;

    ILEGame& Engine() const { return *engine_.Get(); }
    int16_t NeiCount() const { return neiCount_; }
    int32_t Generation() const { return generation_; }
    bool Running() const { return running_; }
    lifeboard::View View() const { return view_; }
    // The rule tables 0..NeiCount as the engine holds them.
    lifeboard::RuleTables EngineRule() const;

    // Toolbar commands.
    void tlbToolBar_ButtonClick(const QString& key);
    void DoStep();
    bool DoStepBack();
    void RunForward();
    void RunBackward();
    void StopRunning();
    void ClearBoard();
    void UpdateBackButtons();
    void ZoomBy(int d);
    void OpenLifeFile();
    void SaveLifeFile();
    void ApplyRuleLine(std::string_view line);
    void ShowRules();
    void ShowHistory();

    void DrawCell(int32_t x, int32_t y, bool live);

    // The controls, as a user sees them.
    platform::ToolBar* tlbToolBar = nullptr;
    platform::StatusBar* statBar = nullptr;
    platform::ScrollBar* scrH = nullptr;
    platform::ScrollBar* scrV = nullptr;
    QPushButton* cmdFill = nullptr;
    platform::TextBox* cmdDummy = nullptr;
    platform::Surface* board = nullptr;
    frmRules* rulesDialog() const { return rules_; }
    dlgHistory* historyDialog() const { return history_; }

    static constexpr const char* kHelpTopic = "Lifeboard.htm";

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class PatternSink;

    void Form_Load();
    void Form_Paint();
    void Form_MouseDown(int pixelX, int pixelY);
    void scrH_Change(int value);
    void scrV_Change(int value);
    void cmdDummy_KeyDown(int key);
    // DrawCell on the hexagonal and triangular lattices.
    void DrawLatticeCell(int32_t x, int32_t y, const lifeboard::BoardRect& area);
    void ScrollBy(bool horizontal, int32_t d);
    void EndRun();
    void Repaint();
    void LayoutControls();
    void ShowGeneration();
    void ApplyRule(const lifeboard::RuleTables& rule);
    lifeboard::LatticeKind Lattice() const { return lifeboard::LatticeOf(neiCount_); }
    // Width and height of the board: the inner area less the scroll bars,
    // toolbar and status bar.
    int BoardWidth() const;
    int BoardHeight() const;
    lifeboard::BoardRect BoardArea() const { return boardArea_; }
    void SetEngineCell(int32_t x, int32_t y, bool present);
    bool EngineCell(int32_t x, int32_t y) const;

    com::ComPtr<ILEGame> engine_;
    lifeboard::View view_;
    // The board under the toolbar, kept by LayoutControls.
    lifeboard::BoardRect boardArea_;
    int16_t neiCount_ = 8;
    bool stop_ = false;
    bool running_ = false;
    // A close during a run stops it and closes when it has ended.
    platform::CloseGuard closeGuard_{*this, [this] { stop_ = true; }};
    int32_t generation_ = 1;
    // Generations reached by complementing steps; its latest is the flip
    // generation (-1 when none).
    lifeboard::FlipHistory flips_;
    int lastH_ = 0;
    int lastV_ = 0;
    frmRules* rules_ = nullptr;
    dlgHistory* history_ = nullptr;
};
