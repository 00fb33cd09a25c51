// frmRibbonmill: construction and layout of the window, its load and close.

#include "frmRibbonmill.h"

#include "Color.h"
#include "DropDownList.h"
#include "Help.h"
#include "ListBox.h"
#include "ListView.h"
#include "Slider.h"
#include "Surface.h"
#include "SurfaceLine.h"
#include "SurfaceShape.h"
#include "TextBox.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFont>
#include <QFrame>
#include <QPalette>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

static void InitRibbonmillResources() {
    Q_INIT_RESOURCE(platform_images);
}

namespace {

using platform::TwipsRect;

template <class Control> Control* Place(Control* control, int left, int top, int width, int height) {
    control->setGeometry(TwipsRect(left, top, width, height));
    return control;
}

QPushButton* NewButton(const QString& caption, QWidget* parent, int left, int top, int width,
                       int height) {
    return Place(new QPushButton(caption, parent), left, top, width, height);
}

QLabel* NewLabel(const QString& caption, QWidget* parent, int left, int top, int width, int height) {
    auto* label = Place(new QLabel(caption, parent), left, top, width, height);
    // State names such as "<A>" are text, not markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

platform::DropDownList* NewCombo(QWidget* parent, int left, int top) {
    return Place(new platform::DropDownList(parent), left, top, 1500, 315);
}

} // namespace

frmRibbonmill::frmRibbonmill(QWidget* parent) : QWidget(parent) {
    InitRibbonmillResources();
    setWindowTitle("Veritope - Ribbonmill");
    setFixedSize(platform::TwipsToPixels(10905), platform::TwipsToPixels(9360));
    BuildMachineFrame();
    BuildSettings();
    BuildRules();
    platform::BindHelpKey(this, kHelpTopic);
    Form_Load();
}

frmRibbonmill::~frmRibbonmill() = default;

void frmRibbonmill::BuildMachineFrame() {
    frmMachine = Place(new platform::Frame("Machine", this), 200, 200, 10500, 2400);
    // The box round the tape row, under the boxes.
    shpTape = Place(new QFrame(frmMachine), 750, 390, 9000, 465);
    shpTape->setFrameShape(QFrame::Box);
    QPalette black = shpTape->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    shpTape->setPalette(black);
    // The marker's drawing lies between the row and the current state's box,
    // in the frame's coordinates, so that repainting the boxes or the buttons
    // never repaints it.
    picMachine = Place(new platform::Surface(frmMachine), 300, 840, 9900, 810);
    picMachine->SetScaleMode(platform::Surface::ScaleMode::Twips);
    picMachine->SetOrigin(QPoint(300, 840));
    picMachine->SetBackColor(platform::ToQColor(platform::kButtonFaceColor));
    for (auto*& line : linMarker)
        line = &picMachine->AddLine();

    QFont boxFont("MS Sans Serif");
    boxFont.setPointSize(18);
    for (int i = 0; i < kBoxes; ++i) {
        auto* box = Place(new platform::TextBox(frmMachine), (i <= 7 ? 780 : 765) + 450 * i, 400, 420, 435);
        box->setFont(boxFont);
        box->setMaxLength(1);
        box->setAlignment(Qt::AlignCenter);
        box->setText(" ");
        // The selected character shows only while the box has the focus.
        box->setStyleSheet("QLineEdit:!focus { selection-background-color: palette(base);"
                           " selection-color: palette(text); }");
        txtTape[static_cast<std::size_t>(i)] = box;
    }
    cmdLeft = NewButton(QString(), frmMachine, 300, 390, 450, 465);
    cmdLeft->setIcon(QIcon(":/platform/images/Left.svg"));
    cmdRight = NewButton(QString(), frmMachine, 9750, 390, 450, 465);
    cmdRight->setIcon(QIcon(":/platform/images/Right.svg"));

    cmdRun = NewButton("Run", frmMachine, 300, 1640, 1800, 450);
    cmdStep = NewButton("Step", frmMachine, 2325, 1640, 1800, 450);
    cmbMachine = Place(new platform::DropDownList(frmMachine), 4350, 1640, 1800, 420);
    QFont machineFont("MS Sans Serif");
    machineFont.setPointSize(12);
    machineFont.setBold(true);
    cmbMachine->setFont(machineFont);
    lblMin = NewLabel("Slow", frmMachine, 6375, 1710, 405, 300);
    lblMax = NewLabel("Fast", frmMachine, 7770, 1710, 405, 300);
    sldSpeed = Place(new platform::Slider(frmMachine), 6775, 1640, 1005, 450);
    sldSpeed->SetMin(0);
    sldSpeed->SetMax(4);
    sldSpeed->SetLargeChange(1);
    sldSpeed->onChange = [this](int) { sldSpeed_Change(); };
    sldSpeed->SetValue(2);
    cmdClear = NewButton("Clear tape", frmMachine, 8400, 1640, 1800, 450);

    ConnectTape();
    connect(cmdRun, &QPushButton::clicked, this, [this] { cmdRun_Click(); });
    connect(cmdStep, &QPushButton::clicked, this, [this] { cmdStep_Click(); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
    cmbMachine->onClick = [this] { cmbMachine_Click(); };
}

void frmRibbonmill::BuildSettings() {
    frmSettings = Place(new platform::Frame("Settings", this), 200, 2800, 6800, 2350);
    frmStates = Place(new platform::Frame("States", frmSettings), 300, 300, 3800, 1750);
    lstStates = Place(new platform::ListBox(frmStates), 300, 400, 1500, 1035);
    cmdAddState = NewButton("Add state", frmStates, 2000, 400, 1500, 450);
    cmdDelState = NewButton("Delete state", frmStates, 2000, 1000, 1500, 450);
    frmSymbols = Place(new platform::Frame("Tape symbols", frmSettings), 4400, 300, 2100, 1750);
    // Three lines of this system's type need a slightly smaller type and a little more
    // room than the design's.
    lblAvailable = NewLabel("Number of available tape symbols (excluding blank)", frmSymbols, 200,
                            300, 1800, 780);
    lblAvailable->setWordWrap(true);
    QFont smaller = lblAvailable->font();
    smaller.setPointSizeF(smaller.pointSizeF() * 0.9);
    lblAvailable->setFont(smaller);
    cmbAvailable = NewCombo(frmSymbols, 300, 1100);
    cmdSave = NewButton("Save configuration", this, 7850, 3400, 2000, 450);
    cmdLoad = NewButton("Load configuration", this, 7850, 4050, 2000, 450);

    connect(cmdAddState, &QPushButton::clicked, this, [this] { cmdAddState_Click(); });
    connect(cmdDelState, &QPushButton::clicked, this, [this] { cmdDelState_Click(); });
    lstStates->onClick = [this] { lstStates_Click(); };
    cmbAvailable->onClick = [this] { cmbAvailable_Click(); };
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
}

void frmRibbonmill::BuildRules() {
    frmRules = Place(new platform::Frame("Transition rules", this), 200, 5350, 10500, 3800);
    lstRules = Place(new platform::ListView(frmRules), 300, 400, 5595, 3100);
    // The list's width (less its border and a vertical scroll bar) shared among the
    // columns by the widths of their captions, so that no caption is cut.
    const QStringList captions{"Old state", "Old symbol", "New symbol", "Direction", "New state"};
    const int inner = lstRules->width() - 2 * lstRules->frameWidth() -
                      lstRules->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int needed = 0;
    for (const QString& caption : captions)
        needed += lstRules->fontMetrics().horizontalAdvance(caption);
    for (const QString& caption : captions)
        lstRules->AddColumn(caption, inner * lstRules->fontMetrics().horizontalAdvance(caption) / needed);
    frmEdit = Place(new platform::Frame("Edit selected rule", frmRules), 6200, 400, 4000, 3100);
    lblWhen = NewLabel(QString(), frmEdit, 300, 400, 3400, 600);
    lblWhen->setWordWrap(true);
    // The labels reach to their combos, where this system's type needs it.
    lblSymbol = NewLabel("Write symbol", frmEdit, 300, 1000, 1700, 315);
    cmbSymbol = NewCombo(frmEdit, 2000, 1000);
    Place(&optStop.Add(0, "Continue execution", frmEdit), 300, 1400, 2040, 315);
    // The labels start a little left of the design's place, so that "Assume state"
    // fits in this system's type before its combo.
    lblDirection = NewLabel("Move", frmEdit, 700, 1800, 1300, 315);
    cmbDirection = NewCombo(frmEdit, 2000, 1800);
    cmbDirection->AddItem("Left");
    cmbDirection->AddItem("Right");
    lblState = NewLabel("Assume state", frmEdit, 700, 2200, 1300, 315);
    cmbState = NewCombo(frmEdit, 2000, 2200);
    Place(&optStop.Add(1, "Stop exectuction", frmEdit), 300, 2600, 1995, 315);

    lstRules->onClick = [this] { lstRules_Click(); };
    cmbSymbol->onClick = [this] { cmbSymbol_Click(); };
    cmbDirection->onClick = [this] { cmbDirection_Click(); };
    cmbState->onClick = [this] { cmbState_Click(); };
    optStop.onClick = [this](int index) { optStop_Click(index); };
}

void frmRibbonmill::Form_Load() {
    machine_ = std::make_unique<ribbonmill::TapeMachine>(this);
    for (int n = 0; n <= ribbonmill::kMaxSymbols; ++n)
        cmbAvailable->AddItem(QString::number(n), n);
    cmbMachine->AddItem(QString::fromLatin1(ribbonmill::kStopName.data(),
                                            static_cast<qsizetype>(ribbonmill::kStopName.size())));
    cmbMachine->SetListIndex(0);
    // N = 2 rebuilds the symbols and the (empty) rule table.
    cmbAvailable->SetListIndex(2);
    cmdDelState->setEnabled(false);
    ShowSelectedRule();
}

void frmRibbonmill::closeEvent(QCloseEvent* event) {
    // A run ends before its next step, since the window's tape goes with it.
    closing_ = true;
    SetRunCaption("Run");
    event->accept();
}
