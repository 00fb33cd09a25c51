// frmCodetree: construction, layout and resize, load and unload, the toolbar,
// the refresh of the controls, and the members the tool window calls.

#include "frmCodetree.h"

#include "Color.h"
#include "Dialogs.h"
#include "Help.h"
#include "LayoutMinimum.h"
#include "NumberFormat.h"
#include "ScrollBar.h"
#include "StatusBar.h"
#include "Surface.h"
#include "TextBox.h"
#include "ToolBar.h"
#include "dlgWait.h"
#include "frmFile.h"
#include "frmNodes.h"
#include "frmReport.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>
#include <cmath>

static void InitCodetreeResources() {
    Q_INIT_RESOURCE(codetree);
    Q_INIT_RESOURCE(platform_images);
}

namespace {

struct ToolButton {
    const char* key;
    const char* toolTip;
    bool shared; // the image lies in platform/
    bool separatorAfter;
};

constexpr ToolButton kToolButtons[] = {
    {"New", "New", false, false},
    {"Open", "Open", true, false},
    {"Save", "Save", true, true},
    {"Reset", "Reset", false, false},
    {"StepBack", "Step back", true, false},
    {"Step", "Step", true, false},
    {"CreateTree", "Create tree", false, true},
    {"ZoomIn", "Zoom in", true, false},
    {"ZoomOut", "Zoom out", true, true},
    {"Help", "Help", true, true},
    {"Exit", "Exit", true, false},
};

// The zoomed plane's coordinates are 16-bit.
constexpr int kPlaneLimit = 32767;
constexpr int kScrollSmallChange = 16;

} // namespace

frmCodetree::frmCodetree(QWidget* parent) : QWidget(parent) {
    InitCodetreeResources();
    setWindowTitle("Veritope - Codetree");
    resize(800, 600);
    // Centred on the screen from the start, so that the owned windows placed over it
    // at load stand where it will be.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    surface = new platform::Surface(this);
    surface->SetBackColor(Qt::white);
    surface->onPaint = [this] { Form_Paint(); };
    surface->onMouseMove = [this](const platform::MouseEvent& e) { Form_MouseMove(e.x, e.y); };
    surface->onMouseDown = [this](const platform::MouseEvent& e) { Form_MouseDown(e.x, e.y); };
    shpCanvas = &surface->AddShape();
    shpCanvas->SetBorderColor(std::nullopt);
    shpFill = &surface->AddShape();
    shpFill->SetBorderColor(std::nullopt);
    shpFill->SetFillColor(platform::ToQColor(platform::kButtonFaceColor));
    lblHint = &surface->AddLabel();
    lblHint->SetVisible(false);
    lblHint->SetAutoSize(true);
    lblHint->SetBackColor(QColor(255, 255, 128));
    lblHint->SetForeColor(Qt::black);

    tlbToolBar = new platform::ToolBar(this);
    for (const ToolButton& b : kToolButtons) {
        const QString image =
            QString(b.shared ? ":/platform/images/%1.svg" : ":/codetree/images/%1.svg").arg(b.key);
        tlbToolBar->AddButton(b.key, QIcon(image), b.toolTip);
        if (b.separatorAfter)
            tlbToolBar->AddSeparator();
    }
    tlbToolBar->onButtonClick = [this](const QString& key) { tlbToolBar_ButtonClick(key); };

    sbStatusBar = new platform::StatusBar(this);
    for (const char* key : {"Sum", "Entropy", "Average"})
        sbStatusBar->AddPanel(key, QString());

    ScrH = new platform::ScrollBar(Qt::Horizontal, this);
    ScrV = new platform::ScrollBar(Qt::Vertical, this);
    for (platform::ScrollBar* bar : {ScrH, ScrV}) {
        bar->SetMin(0);
        bar->SetMax(0);
        bar->SetSmallChange(kScrollSmallChange);
        bar->setFocusPolicy(Qt::NoFocus);
    }
    ScrH->onChange = [this](int value) { ScrH_Change(value); };
    ScrV->onChange = [this](int value) { ScrV_Change(value); };

    nodes_ = new frmNodes(*this);
    file_ = new frmFile(*this);
    wait_ = new dlgWait(*this);
    report_ = new frmReport(*this);
    platform::BindHelpKey(this, kHelpTopic);
    // The canvas follows the window; the window keeps room for every toolbar button.
    platform::KeepControlsWhole(*this, {QRect(QPoint(0, 0), tlbToolBar->sizeHint())},
                                {0, sbStatusBar->sizeHint().height() + ScrH->sizeHint().height()});

    Form_Load();
}

frmCodetree::~frmCodetree() {
    // Before the model goes: nothing of theirs may reach a half-destroyed window.
    delete report_;
    delete wait_;
    delete file_;
    delete nodes_;
}

void frmCodetree::Form_Load() {
    forest_.ClearAll();
    hovered_ = nullptr;
    ResetView();
    Form_Resize();
}

void frmCodetree::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (!placed_) {
        // The owned windows take their places once this window has its own.
        placed_ = true;
        nodes_->adjustSize();
        file_->adjustSize();
        wait_->adjustSize();
        PlaceOwned(*nodes_, 4);
        PlaceOwned(*file_, 4);
        PlaceOwned(*wait_, 4);
        // At start the weights are what the user enters first.
        if (!forest_.FileMode() && forest_.History().empty())
            nodes_->ShowModeless();
    }
    UpdateControls();
}

void frmCodetree::PlaceOwned(QWidget& window, int divisor) const {
    const QRect main = frameGeometry();
    const QSize size = window.frameGeometry().size();
    window.move(main.left() + (main.width() - size.width()) / 2,
                main.top() + (main.height() - size.height()) / divisor);
}

void frmCodetree::closeEvent(QCloseEvent* event) {
    wait_->hide();
    file_->hide();
    nodes_->hide();
    report_->hide();
    event->accept();
}

void frmCodetree::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmCodetree::Form_Resize() {
    if (isMinimized())
        return;
    const int w = width();
    const int h = height();
    const int toolbarHeight = tlbToolBar->sizeHint().height();
    const int statusHeight = sbStatusBar->sizeHint().height();
    const int barHeight = ScrH->sizeHint().height();
    const int barWidth = ScrV->sizeHint().width();
    tlbToolBar->setGeometry(0, 0, w, toolbarHeight);
    sbStatusBar->setGeometry(0, std::max(0, h - statusHeight), w, statusHeight);

    const int canvasWidth = std::max(0, w - barWidth);
    const int canvasHeight = std::max(0, h - toolbarHeight - statusHeight - barHeight);
    view_.canvasLeft = 0;
    view_.canvasTop = toolbarHeight;
    view_.canvasWidth = canvasWidth;
    view_.canvasHeight = canvasHeight;
    shpCanvas->SetGeometry(0, toolbarHeight, canvasWidth, canvasHeight);
    ScrH->setGeometry(0, toolbarHeight + canvasHeight, canvasWidth, barHeight);
    ScrV->setGeometry(canvasWidth, toolbarHeight, barWidth, canvasHeight);
    shpFill->SetGeometry(canvasWidth, toolbarHeight + canvasHeight, barWidth, barHeight);
    ScrH->SetLargeChange(std::max(1, canvasWidth));
    ScrV->SetLargeChange(std::max(1, canvasHeight));
    codetree::CentreScrollBars(view_);
    SyncScrollBars();

    // The surface draws in the window's coordinates; a new size repaints it.
    const QSize before = surface->size();
    surface->SetOrigin(QPoint(0, toolbarHeight));
    surface->setGeometry(0, toolbarHeight, w, std::max(0, h - toolbarHeight - statusHeight));
    if (surface->size() == before)
        Repaint();
    UpdateControls();
}

void frmCodetree::tlbToolBar_ButtonClick(const QString& key) {
    if (busy_)
        return;
    if (key == "New") {
        // The target dialog belongs to the file that was open.
        file_->hide();
        ForgetHover();
        forest_.ClearAll();
        ResetView();
    } else if (key == "Open") {
        ShowOpen();
        return;
    } else if (key == "Save") {
        ShowSave();
        return;
    } else if (key == "Reset") {
        ForgetHover();
        while (!forest_.History().empty())
            forest_.UndoMergeStep();
        forest_.UpdateStatistics();
    } else if (key == "StepBack") {
        ForgetHover();
        forest_.UndoMergeStep();
        forest_.UpdateStatistics();
    } else if (key == "Step") {
        ForgetHover();
        forest_.MergeStep();
        forest_.UpdateStatistics();
    } else if (key == "CreateTree") {
        ForgetHover();
        while (forest_.Size() >= 2)
            forest_.MergeStep();
        forest_.UpdateStatistics();
    } else if (key == "ZoomIn") {
        ZoomTree(+1);
    } else if (key == "ZoomOut") {
        ZoomTree(-1);
    } else if (key == "Help") {
        platform::ShowHelp(kHelpTopic);
        return;
    } else if (key == "Exit") {
        close();
        return;
    } else {
        return;
    }
    Repaint();
    UpdateControls();
}

void frmCodetree::UpdateControls() {
    const bool history = !forest_.History().empty();
    const bool trees = forest_.Size() >= 2;
    tlbToolBar->SetButtonEnabled("StepBack", history);
    tlbToolBar->SetButtonEnabled("Reset", history);
    tlbToolBar->SetButtonEnabled("Step", trees);
    tlbToolBar->SetButtonEnabled("CreateTree", trees);
    ScrH->setEnabled(view_.zoom >= 2);
    ScrV->setEnabled(view_.zoom >= 2);
    tlbToolBar->SetButtonEnabled("ZoomOut", view_.minZoom < view_.zoom);
    tlbToolBar->SetButtonEnabled("ZoomIn", view_.zoom * view_.canvasWidth < kPlaneLimit &&
                                               view_.zoom * view_.canvasHeight < kPlaneLimit &&
                                               view_.unitX != codetree::kMaxUnit &&
                                               view_.unitY != codetree::kMaxUnit &&
                                               forest_.Size() > 0);

    if (history || forest_.FileMode() || busy_) {
        nodes_->hide();
    } else {
        const double sum = forest_.SumWeight();
        nodes_->cmdNormalize->setEnabled(sum != 1 && sum != 0);
        nodes_->cmdRemove->setEnabled(forest_.Selection() != nullptr);
        // Shown with this window: before it, the tool window would have no place.
        // It never takes the focus from this window: the toolbar keeps it.
        if (isVisible())
            nodes_->ShowBeside();
    }

    QAction* save = tlbToolBar->Action("Save");
    if (forest_.FileMode()) {
        save->setEnabled(true);
        save->setToolTip(file_->comp ? "Save decompressed" : "Save compressed");
        sbStatusBar->SetPanelText("Sum", "Characters: " + FormatValue(forest_.SumWeight()));
        sbStatusBar->SetPanelText(
            "Entropy", "Information: " + FormatValue(forest_.Entropy() * forest_.SumWeight()));
        sbStatusBar->SetPanelText("Average", "Bits: " + FormatValue(forest_.PathLength()));
    } else {
        save->setEnabled(false);
        sbStatusBar->SetPanelText("Sum", "Sum: " + FormatValue(forest_.SumWeight()));
        sbStatusBar->SetPanelText(
            "Entropy", "Information: " + FormatValue(forest_.Entropy() * forest_.SumWeight()));
        sbStatusBar->SetPanelText("Average", "Average: " + FormatValue(forest_.PathLength()));
    }
}

void frmCodetree::Add(double value) {
    if (busy_)
        return;
    switch (forest_.CheckAdd(value)) {
    case codetree::AddCheck::Ok:
        break;
    case codetree::AddCheck::Full:
        platform::MessageBox("No more than " + FormatValue(codetree::kMaxTrees) +
                                 " weights can be entered.",
                             "Codetree", platform::MessageIcon::Critical);
        return;
    case codetree::AddCheck::OutOfRange:
        platform::MessageBox("The weight is too large: the sum of the weights would go beyond "
                             "the range of numbers.",
                             "Codetree", platform::MessageIcon::Critical);
        return;
    }
    forest_.Add(value);
    Repaint();
    UpdateControls();
}

void frmCodetree::Remove() {
    if (busy_)
        return;
    ForgetHover();
    forest_.Remove();
    Repaint();
    UpdateControls();
}

void frmCodetree::Normalize() {
    if (busy_)
        return;
    forest_.Normalize();
    UpdateControls();
}

void frmCodetree::CancelCallback() {
    cancelRequested_ = true;
}

QString frmCodetree::FormatValue(double x) {
    return platform::FormatTrimmed(x);
}

QString frmCodetree::LabelText(std::string_view chars) const {
    // Every character the model writes is plain ASCII.
    return QString::fromLatin1(codetree::LabelText(chars, forest_.FileMode()));
}
