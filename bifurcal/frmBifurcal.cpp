// frmBifurcal: construction, layout and resize, the defaults, Refresh and Reset,
// the pan buttons and the two options.

#include "frmBifurcal.h"

#include "Color.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "Help.h"
#include "LayoutMinimum.h"
#include "NumberFormat.h"
#include "StatusBar.h"
#include "Surface.h"
#include "TextBox.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

// The arrow images are the platform's.
static void InitBifurcalResources() {
    Q_INIT_RESOURCE(platform_images);
}

namespace {

using platform::TwipsToPixels;

constexpr const char* kDefaultFormula = "a * x * (1 - x)";

// A design rectangle in twips, in pixels.
QRect Twips(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

QLabel* NewLabel(const QString& caption, QWidget* parent, const QRect& at) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(at);
    return label;
}

platform::TextBox* NewBox(const QString& text, QWidget* parent, const QRect& at) {
    auto* box = new platform::TextBox(parent);
    box->setText(text);
    box->setGeometry(at);
    return box;
}

QPushButton* NewArrow(const char* image, QWidget* parent, const QRect& at) {
    auto* button = new QPushButton(parent);
    button->setIcon(QIcon(QString(":/platform/images/%1.svg").arg(image)));
    button->setGeometry(at);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void SetBoxBackColor(QWidget* box, uint32_t colour) {
    QPalette palette = box->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, platform::ToQColor(colour));
    box->setPalette(palette);
}

double ValueOf(const platform::TextBox* box) {
    return platform::Val(box->text().toStdString());
}

} // namespace

frmBifurcal::frmBifurcal(QWidget* parent) : QWidget(parent) {
    InitBifurcalResources();
    setWindowTitle("Veritope - Bifurcal");
    platform::BindHelpKey(this, kHelpTopic);
    setMouseTracking(true);
    // The small type of the design, so that ranges of ten decimals fit their boxes.
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);

    framRanges = new QGroupBox("Range", this);
    framRanges->setGeometry(Twips(195, 195, 3075, 2175));
    lblMinA = NewLabel("a min:", framRanges, Twips(240, 450, 1250, 300));
    txtMinA = NewBox("-2", framRanges, Twips(1530, 435, 1300, 300));
    Label1 = NewLabel("a max:", framRanges, Twips(240, 855, 1250, 300));
    txtMaxA = NewBox("4", framRanges, Twips(1530, 840, 1300, 300));
    lblMinX = NewLabel("x min:", framRanges, Twips(240, 1245, 1250, 300));
    txtMinX = NewBox("0", framRanges, Twips(1530, 1230, 1300, 300));
    lblMaxX = NewLabel("x max:", framRanges, Twips(240, 1650, 1250, 300));
    txtMaxX = NewBox("1", framRanges, Twips(1530, 1635, 1300, 300));

    framPixels = new QGroupBox("Iteration", this);
    framPixels->setGeometry(Twips(195, 2603, 3075, 1365));
    lblDisc = NewLabel("Pixels discarded", framPixels, Twips(225, 480, 1290, 300));
    txtDisc = NewBox("100", framPixels, Twips(1530, 435, 1300, 300));
    lblIts = NewLabel("Pixels shown", framPixels, Twips(225, 885, 1290, 300));
    txtIts = NewBox("200", framPixels, Twips(1530, 835, 1300, 300));

    framItfForm = new QGroupBox("Iteration formula", this);
    framItfForm->setGeometry(Twips(195, 4201, 3075, 2085));
    optLogistic = new QRadioButton("Logistic x <- a * x * (1 - x)", framItfForm);
    optLogistic->setGeometry(Twips(165, 330, 2850, 300));
    optLogistic->setChecked(true);
    optCustom = new QRadioButton("Custom", framItfForm);
    optCustom->setGeometry(Twips(165, 720, 2850, 300));
    lblX = NewLabel("x <-", framItfForm, Twips(465, 1155, 390, 300));
    txtItForm = NewBox(kDefaultFormula, framItfForm, Twips(855, 1125, 2000, 300));
    lblX0 = NewLabel("x0 =", framItfForm, Twips(465, 1560, 390, 300));
    txtX0 = NewBox("0.5", framItfForm, Twips(855, 1560, 2000, 300));
    EnableFormulaBoxes(false);

    cmdReset = new QPushButton("Reset", this);
    cmdReset->setGeometry(Twips(195, 6510, 3075, 400));
    cmdRefresh = new QPushButton("Refresh", this);
    cmdRefresh->setGeometry(Twips(195, 7155, 3075, 400));

    cmdUp = NewArrow("Up", this, Twips(3775, 200, 8000, 300));
    cmdLeft = NewArrow("Left", this, Twips(3475, 500, 300, 6800));
    picCanvas = new platform::Surface(this);
    picCanvas->setGeometry(Twips(3775, 500, 8000, 6800));
    picCanvas->SetBackColor(Qt::white);
    cmdRight = NewArrow("Right", this, Twips(11775, 500, 300, 6800));
    cmdDown = NewArrow("Down", this, Twips(3775, 7300, 8000, 300));

    theBar = new platform::StatusBar(this);
    theBar->AddPanel("a", QString());
    theBar->AddPanel("x", QString());

    connect(cmdRefresh, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    connect(cmdLeft, &QPushButton::clicked, this, [this] { cmdLeft_Click(); });
    connect(cmdRight, &QPushButton::clicked, this, [this] { cmdRight_Click(); });
    connect(cmdUp, &QPushButton::clicked, this, [this] { cmdUp_Click(); });
    connect(cmdDown, &QPushButton::clicked, this, [this] { cmdDown_Click(); });
    connect(optLogistic, &QRadioButton::clicked, this, [this] { optLogistic_Click(); });
    connect(optCustom, &QRadioButton::clicked, this, [this] { optCustom_Click(); });

    Form_Load();
    // The scales follow a new canvas size before the canvas repaints.
    picCanvas->onResize = [this] { UpdateScales(); };
    picCanvas->onPaint = [this] { picCanvas_Paint(); };
    picCanvas->onMouseDown = [this](const platform::MouseEvent& e) { picCanvas_MouseDown(e); };
    picCanvas->onMouseMove = [this](const platform::MouseEvent& e) { picCanvas_MouseMove(e); };
    picCanvas->onMouseUp = [this](const platform::MouseEvent& e) { picCanvas_MouseUp(e); };
    // The panel keeps its place and the canvas follows the window while it has a size: the
    // window keeps room for the panel and for the arrows around a canvas of one pixel.
    const QRect arrows(cmdLeft->x(), 0, cmdLeft->width() + 1 + cmdRight->width(),
                       cmdUp->y() + cmdUp->height() + 1 + cmdDown->height());
    platform::KeepControlsWhole(
        *this, {framRanges->geometry(), cmdRefresh->geometry(), arrows},
        {TwipsToPixels(200), TwipsToPixels(200) + theBar->sizeHint().height()});
    resize(TwipsToPixels(12510), TwipsToPixels(8265));
    Form_Resize();
}

// The formula goes with the window.
frmBifurcal::~frmBifurcal() = default;

void frmBifurcal::Form_Load() {
    bandX1 = -1;
    bandX2 = -1;
    ResetDefaults();
    // The canvas draws the diagram when it is first shown.
}

void frmBifurcal::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmBifurcal::Form_Resize() {
    const int barHeight = theBar->sizeHint().height();
    theBar->setGeometry(0, height() - barHeight, width(), barHeight);
    const int margin = TwipsToPixels(200);
    QRect canvas = picCanvas->geometry();
    QRect up = cmdUp->geometry(), down = cmdDown->geometry();
    QRect left = cmdLeft->geometry(), right = cmdRight->geometry();
    const int w = width() - (left.left() + left.width()) - right.width() - margin;
    if (w > 0) {
        canvas.setWidth(w);
        up.setWidth(w);
        down.setWidth(w);
        right.moveLeft(canvas.left() + w);
    }
    const int h = height() - (up.top() + up.height()) - down.height() - margin - barHeight;
    if (h > 0) {
        canvas.setHeight(h);
        left.setHeight(h);
        right.setHeight(h);
        down.moveTop(canvas.top() + h);
    }
    cmdUp->setGeometry(up);
    cmdDown->setGeometry(down);
    cmdLeft->setGeometry(left);
    cmdRight->setGeometry(right);
    picCanvas->setGeometry(canvas);
    UpdateScales();
}

void frmBifurcal::ShowRanges() {
    // With "." and without grouping, so that Refresh reads back what is shown.
    const auto text = [](double v) {
        return platform::WithDecimalPoint(platform::FormatFixed(v, 10));
    };
    txtMinX->setText(text(ranges_.minX));
    txtMaxX->setText(text(ranges_.maxX));
    txtMinA->setText(text(ranges_.minA));
    txtMaxA->setText(text(ranges_.maxA));
    for (platform::TextBox* box : {txtMinX, txtMaxX, txtMinA, txtMaxA})
        box->setCursorPosition(0);
}

void frmBifurcal::UpdateScales() {
    ranges_.UpdateScales(picCanvas->width(), picCanvas->height());
}

void frmBifurcal::ResetDefaults() {
    ranges_.ResetDefaults();
    UpdateScales();
    shownIterations_ = 200;
    discardedIterations_ = 100;
    txtIts->setText(QString::number(shownIterations_));
    txtDisc->setText(QString::number(discardedIterations_));
    txtItForm->setText(kDefaultFormula);
    ParseFormula();
    txtX0->setText("0.5");
    // Selecting the option clicks it.
    optLogistic->setChecked(true);
    optLogistic_Click();
}

void frmBifurcal::ParseFormula() {
    const QString text = txtItForm->text();
    int16_t start = 1;
    parsed_.FromString(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()), start,
        -1);
    formulaRejected_ = !parsed_.isValid();
    // A drawing in progress goes on with the formula it started with.
    if (!formulaRejected_)
        std::swap(formula_, parsed_);
}

void frmBifurcal::cmdRefresh_Click() {
    discardedIterations_ = bifurcal::IterationCount(ValueOf(txtDisc));
    txtDisc->setText(QString::number(discardedIterations_));
    shownIterations_ = bifurcal::IterationCount(ValueOf(txtIts));
    txtIts->setText(QString::number(shownIterations_));
    ranges_.minA = ValueOf(txtMinA);
    ranges_.maxA = ValueOf(txtMaxA);
    ranges_.minX = ValueOf(txtMinX);
    ranges_.maxX = ValueOf(txtMaxX);
    bifurcal::OrderRange(ranges_.minA, ranges_.maxA);
    bifurcal::OrderRange(ranges_.minX, ranges_.maxX);
    ShowRanges();
    UpdateScales();
    ParseFormula();
    if (!formulaRejected_) {
        DrawDiagram();
        return;
    }
    if (parsed_.errpos >= 1)
        txtItForm->setSelection(parsed_.errpos - 1, 1);
    const std::string_view message = parsed_.ErrMessage();
    platform::MessageBox(message.empty() ? QStringLiteral("Parse error")
                                         : QString::fromUtf8(message.data(), message.size()),
                         "Error in formula", platform::MessageIcon::Critical);
}

void frmBifurcal::cmdReset_Click() {
    ResetDefaults();
    DrawDiagram();
}

void frmBifurcal::cmdLeft_Click() {
    ranges_.PanA(-1);
    DrawDiagram();
}

void frmBifurcal::cmdRight_Click() {
    ranges_.PanA(+1);
    DrawDiagram();
}

void frmBifurcal::cmdUp_Click() {
    ranges_.PanX(+1);
    DrawDiagram();
}

void frmBifurcal::cmdDown_Click() {
    ranges_.PanX(-1);
    DrawDiagram();
}

void frmBifurcal::EnableFormulaBoxes(bool enabled) {
    for (platform::TextBox* box : {txtItForm, txtX0}) {
        box->setEnabled(enabled);
        SetBoxBackColor(box, enabled ? platform::kWindowColor : platform::kButtonFaceColor);
    }
    lblX->setEnabled(enabled);
    lblX0->setEnabled(enabled);
}

void frmBifurcal::optLogistic_Click() {
    EnableFormulaBoxes(false);
}

void frmBifurcal::optCustom_Click() {
    EnableFormulaBoxes(true);
    txtItForm->selectAll();
    txtItForm->setFocus();
}

void frmBifurcal::closeEvent(QCloseEvent* event) {
    closeAsked_ = true;
    QWidget::closeEvent(event);
}

void frmBifurcal::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    Form_MouseMove();
}

void frmBifurcal::Form_MouseMove() {
    theBar->SetPanelText("a", "Drag mouse holding left button to zoom in");
    theBar->SetPanelText("x", "Click right mouse button to zoom out");
}
