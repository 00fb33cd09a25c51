// frmLifeboard: construction, layout, load and unload, the toolbar, and the
// members the dialogs call.

#include "frmLifeboard.h"

#include "Activation.h"
#include "Dialogs.h"
#include "Help.h"
#include "LayoutMinimum.h"
#include "ScrollBar.h"
#include "StatusBar.h"
#include "Surface.h"
#include "TextBox.h"
#include "ToolBar.h"
#include "dlgHistory.h"
#include "frmRules.h"

#include <QCloseEvent>
#include <QFile>
#include <QPushButton>
#include <QResizeEvent>

static void InitLifeboardResources() {
    Q_INIT_RESOURCE(lifeboard);
    Q_INIT_RESOURCE(platform_images);
}

namespace {

struct ToolButton {
    const char* key;
    const char* toolTip;
};

// The images Lifeboard shares with the other programs come from platform/.
QString ToolImage(const char* key) {
    const QString shared = QString(":/platform/images/%1.svg").arg(key);
    return QFile::exists(shared) ? shared : QString(":/images/%1.svg").arg(key);
}

constexpr ToolButton kToolButtons[] = {
    {"Clear", "Clear"},
    {"Open", "Open"},
    {"Save", "Save as..."},
    {"RunBack", "Run backwards"},
    {"StepBack", "Step backwards"},
    {"Stop", "Stop running"},
    {"Step", "Step"},
    {"Run", "Run"},
    {"ZoomIn", "Zoom in"},
    {"ZoomOut", "Zoom out"},
    {"Rules", "Edit rules"},
    {"Hist", "Edit history settings"},
    {"Help", "Help"},
    {"Exit", "Exit"},
};

// The scroll bars' range: the thumb is pulled back by one large change near
// either end, so the plane has no edge.
constexpr int kScrollMax = 1000;
constexpr int kScrollSmall = 1;
constexpr int kScrollLarge = 10;

} // namespace

frmLifeboard::frmLifeboard(QWidget* parent) : QWidget(parent) {
    InitLifeboardResources();
    setWindowTitle("Veritope - Lifeboard");
    resize(800, 600);

    board = new platform::Surface(this);
    tlbToolBar = new platform::ToolBar(this);
    for (const ToolButton& b : kToolButtons)
        tlbToolBar->AddButton(b.key, QIcon(ToolImage(b.key)), b.toolTip);
    tlbToolBar->onButtonClick = [this](const QString& key) { tlbToolBar_ButtonClick(key); };

    statBar = new platform::StatusBar(this);
    statBar->AddPanel("gens", "Generation 1");

    scrH = new platform::ScrollBar(Qt::Horizontal, this);
    scrV = new platform::ScrollBar(Qt::Vertical, this);
    for (platform::ScrollBar* bar : {scrH, scrV}) {
        bar->SetMin(0);
        bar->SetMax(kScrollMax);
        bar->SetSmallChange(kScrollSmall);
        bar->SetLargeChange(kScrollLarge);
        bar->setFocusPolicy(Qt::NoFocus);
    }
    scrH->onChange = [this](int value) { scrH_Change(value); };
    scrV->onChange = [this](int value) { scrV_Change(value); };

    cmdFill = new QPushButton(this);
    cmdFill->setFocusPolicy(Qt::NoFocus);
    connect(cmdFill, &QPushButton::pressed, this, [this] { cmdDummy->setFocus(); });

    // Out of sight; holds the focus so that the arrow keys scroll the board.
    cmdDummy = new platform::TextBox(this);
    cmdDummy->setGeometry(-200, -200, 20, 20);
    cmdDummy->onKeyDown = [this](const platform::KeyEvent& e) {
        cmdDummy_KeyDown(e.key);
        return true;
    };
    cmdDummy->keyFilter = [](int) { return false; };

    board->onPaint = [this] { Form_Paint(); };
    board->onMouseDown = [this](const platform::MouseEvent& e) { Form_MouseDown(e.x, e.y); };
    platform::BindHelpKey(this, kHelpTopic);

    tlbToolBar->raise();
    statBar->raise();
    // The board follows the window; the window keeps room for every toolbar button.
    platform::KeepControlsWhole(*this, {QRect(QPoint(0, 0), tlbToolBar->sizeHint())},
                                {0, statBar->sizeHint().height() + scrH->sizeHint().height()});
    LayoutControls();
    Form_Load();
}

frmLifeboard::~frmLifeboard() = default;

void frmLifeboard::Form_Load() {
    view_ = lifeboard::View{};
    neiCount_ = 8;
    if (com::FAILED(com::CoCreateInstance(CLSID_LEGame, nullptr, com::CLSCTX_INPROC_SERVER,
                                          IID_ILEGame, engine_.Put())) ||
        !engine_) {
        platform::MessageBox("Initialization error. Try reinstalling the application.",
                             "Lifeboard", platform::MessageIcon::Critical);
        close();
        return;
    }
    stop_ = false;
    running_ = false;
    tlbToolBar->SetButtonEnabled("Stop", false);
    UpdateBackButtons();
    scrH->SetValueQuiet(scrH->Max() / 2);
    scrV->SetValueQuiet(scrV->Max() / 2);
    lastH_ = scrH->Value();
    lastV_ = scrV->Value();
    negative = false;
    flips_.Clear();
    generation_ = 1;
    ShowGeneration();
    cmdDummy->setFocus();
}

void frmLifeboard::closeEvent(QCloseEvent* event) {
    if (rules_)
        rules_->close();
    if (history_)
        history_->close();
    engine_.Reset();
    event->accept();
}

void frmLifeboard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutControls();
}

// The scroll bars along the bottom and right of the board, the corner button
// between them; the board is what the toolbar, status bar and bars leave.
void frmLifeboard::LayoutControls() {
    const int w = width();
    const int h = height();
    const int toolbarHeight = tlbToolBar->sizeHint().height();
    const int statusHeight = statBar->sizeHint().height();
    const int barHeight = scrH->sizeHint().height();
    const int barWidth = scrV->sizeHint().width();
    tlbToolBar->setGeometry(0, 0, w, toolbarHeight);
    statBar->setGeometry(0, std::max(0, h - statusHeight), w, statusHeight);
    const int barTop = std::max(0, h - statusHeight - barHeight);
    const int boardWidth = std::max(0, w - barWidth);
    const int boardHeight = std::max(0, barTop - toolbarHeight);
    scrH->setGeometry(0, barTop, boardWidth, barHeight);
    scrV->setGeometry(boardWidth, toolbarHeight, barWidth, boardHeight);
    cmdFill->setGeometry(boardWidth, barTop, barWidth, barHeight);
    boardArea_ = {0, toolbarHeight, boardWidth, boardHeight};
    // The board draws in the window's coordinates.
    board->SetOrigin(QPoint(0, toolbarHeight));
    board->setGeometry(0, toolbarHeight, boardWidth, boardHeight);
}

int frmLifeboard::BoardWidth() const { return boardArea_.width; }

int frmLifeboard::BoardHeight() const { return boardArea_.height; }

void frmLifeboard::tlbToolBar_ButtonClick(const QString& key) {
    if (key == "Run")
        RunForward();
    else if (key == "RunBack")
        RunBackward();
    else if (key == "Stop")
        StopRunning();
    else if (key == "Step")
        DoStep();
    else if (key == "StepBack")
        DoStepBack();
    else if (key == "Clear")
        ClearBoard();
    else if (key == "Open")
        OpenLifeFile();
    else if (key == "Save")
        SaveLifeFile();
    else if (key == "ZoomIn")
        ZoomBy(+1);
    else if (key == "ZoomOut")
        ZoomBy(-1);
    else if (key == "Rules")
        ShowRules();
    else if (key == "Hist")
        ShowHistory();
    else if (key == "Help")
        platform::ShowHelp(kHelpTopic);
    else if (key == "Exit")
        close();
}

void frmLifeboard::ChangeHist(int32_t limit) {
    engine_->put_HistoryLimit(limit);
}

void frmLifeboard::SetRuleS(int16_t n, int16_t value) {
    engine_->put_RuleS(n, value);
}

void frmLifeboard::SetRuleB(int16_t n, int16_t value) {
    engine_->put_RuleB(n, value);
}

void frmLifeboard::SetNeiCount(int16_t n) {
    engine_->put_NeiCount(n);
    neiCount_ = n;
    Repaint();
}

lifeboard::RuleTables frmLifeboard::EngineRule() const {
    lifeboard::RuleTables rule;
    for (int16_t k = 0; k <= neiCount_ && k <= lifeboard::kMaxNeiCount; ++k) {
        int16_t s = 0;
        int16_t b = 0;
        engine_->get_RuleS(k, &s);
        engine_->get_RuleB(k, &b);
        rule.survival[k] = s == 1 ? 1 : 0;
        rule.birth[k] = b == 1 ? 1 : 0;
    }
    return rule;
}

void frmLifeboard::ApplyRule(const lifeboard::RuleTables& rule) {
    for (int16_t k = 0; k <= neiCount_ && k <= lifeboard::kMaxNeiCount; ++k) {
        engine_->put_RuleS(k, rule.survival[k]);
        engine_->put_RuleB(k, rule.birth[k]);
    }
}

void frmLifeboard::ShowGeneration() {
    statBar->SetPanelText("gens", QString("Generation %1").arg(generation_));
}

bool frmLifeboard::EngineCell(int32_t x, int32_t y) const {
    int16_t live = 0;
    engine_->get_Cell(x, y, &live);
    return live == 1;
}

void frmLifeboard::SetEngineCell(int32_t x, int32_t y, bool present) {
    engine_->put_Cell(x, y, present ? 1 : 0);
}
