// frmHitmiss: construction, layout and resize, the repaint with the plot of the
// function, the results and Reset.

#include "frmHitmiss.h"

#include "Color.h"
#include "Dialogs.h"
#include "Help.h"
#include "NumberFormat.h"
#include "Surface.h"
#include "SurfaceLabel.h"
#include "SurfaceShape.h"
#include "TextBox.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

using platform::TwipsToPixels;

QRect Twips(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

// The smallest inner width and height: 5000 twips.
constexpr int kMinimumSide = TwipsToPixels(5000);

QRgb ToRgb(uint32_t bgr) {
    return platform::ToQColor(bgr).rgb();
}

QLabel* NewResultLabel(const QString& caption, QWidget* frame, const QRect& at, bool bold) {
    auto* label = new QLabel(caption, frame);
    label->setGeometry(at);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

} // namespace

frmHitmiss::frmHitmiss(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Veritope - Hitmiss");
    platform::BindHelpKey(this, kHelpTopic);
    // The small type of the design, so that an estimate of 16 decimals fits its label.
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);

    surface = new platform::Surface(this);
    surface->SetBackColor(Qt::white);
    const QColor buttonFace = platform::ToQColor(platform::kButtonFaceColor);
    shpBackTop = &surface->AddShape();
    shpBackTop->SetBorderColor(std::nullopt);
    shpBackTop->SetFillColor(buttonFace);
    shpBackTop->SetGeometry(Twips(0, 0, 10290, 450));
    shpBackLeft = &surface->AddShape();
    shpBackLeft->SetBorderColor(std::nullopt);
    shpBackLeft->SetFillColor(buttonFace);
    shpBackLeft->SetGeometry(Twips(0, 0, 2325, 6930));
    shpFrame = &surface->AddShape();
    shpFrame->SetGeometry(Twips(2325, 450, 7950, 6450));
    const struct {
        platform::SurfaceLabel** label;
        const char* caption;
        int top;
    } labels[] = {{&lblFunction, "Function", 75}, {&lblMin, "Min x", 450}, {&lblMax, "Max x", 825}};
    for (const auto& l : labels) {
        *l.label = &surface->AddLabel();
        (*l.label)->SetText(l.caption);
        (*l.label)->SetGeometry(Twips(75, l.top, 900, 300));
    }

    txtFunction = new platform::TextBox(this);
    txtFunction->setGeometry(Twips(1050, 75, 8940, 300));
    txtMin = new platform::TextBox(this);
    txtMin->setGeometry(Twips(1050, 450, 1200, 300));
    txtMax = new platform::TextBox(this);
    txtMax->setGeometry(Twips(1050, 825, 1200, 300));
    cmdGo = new QPushButton("Go", this);
    cmdGo->setGeometry(Twips(75, 1200, 2175, 375));
    cmdReset = new QPushButton("Reset", this);
    cmdReset->setGeometry(Twips(75, 1650, 2175, 375));

    framRes = new QGroupBox("Results", this);
    framRes->setGeometry(Twips(75, 5130, 2175, 1770));
    lblPoints = NewResultLabel("Trials", framRes, Twips(150, 300, 1950, 300), false);
    lblPointsVal = NewResultLabel(QString(), framRes, Twips(150, 600, 1950, 300), true);
    lblInt = NewResultLabel("Approximated integral", framRes, Twips(150, 1050, 1950, 300), false);
    lblIntVal = NewResultLabel(QString(), framRes, Twips(150, 1350, 1950, 300), true);

    pointColours_[0] = ToRgb(kNegativeHit);
    pointColours_[1] = ToRgb(kMiss);
    pointColours_[2] = ToRgb(kPositiveHit);

    connect(cmdGo, &QPushButton::clicked, this, [this] { cmdGo_Click(); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });

    Form_Load();
    surface->onPaint = [this] { Form_Paint(); };
    // The window system keeps the window at least this large.
    setMinimumSize(kMinimumSide, kMinimumSide);
    resize(TwipsToPixels(10290), TwipsToPixels(6915));
    Form_Resize();
}

frmHitmiss::~frmHitmiss() = default;

void frmHitmiss::Form_Load() {
    hitCount = 0;
    trialCount = 0;
    isRunning = false;
    framRes->hide();
}

void frmHitmiss::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmHitmiss::Form_Resize() {
    if (isMinimized())
        return;
    const int w = width();
    const int h = height();
    txtFunction->resize(w - lblFunction->Width() - 15, txtFunction->height());
    shpBackTop->SetGeometry(0, 0, w, shpBackTop->Height());
    shpBackLeft->SetGeometry(0, 0, shpBackLeft->Width(), h);
    framRes->move(framRes->x(), h - framRes->height() - 5);
    shpFrame->SetGeometry(shpFrame->Left(), shpFrame->Top(), w - shpBackLeft->Width(),
                          h - shpBackTop->Height());
    // A new size repaints the surface by itself.
    const QSize before = surface->size();
    surface->setGeometry(0, 0, w, h);
    if (surface->size() == before)
        surface->Refresh();
}

void frmHitmiss::closeEvent(QCloseEvent* event) {
    // A run ends before its next point; the program ends with the window.
    isRunning = false;
    event->accept();
}

void frmHitmiss::Form_Paint() {
    // The window's background is erased before the paint: points drawn go.
    surface->Clear();
    plotted_ = PlotFunction();
    ShowResults();
}

bool frmHitmiss::PlotFunction() {
    if (!formula_.isValid() || !(lowerX < upperX))
        return false;
    const int w = surface->width();
    const int h = surface->height();
    if (!box_.Scan(formula_, lowerX, upperX, w)) {
        if (!undefinedReported_) {
            undefinedReported_ = true;
            platform::MessageBox("The function is undefined at " +
                                     platform::FormatGeneral(box_.UndefinedAt()),
                                 "Error", platform::MessageIcon::Critical);
        }
        return false;
    }
    // Points counted in another box say nothing of this one.
    if (box_.LowerY() != lowerY || box_.UpperY() != upperY) {
        hitCount = 0;
        trialCount = 0;
    }
    lowerY = box_.LowerY();
    upperY = box_.UpperY();
    const int left = shpBackLeft->Width();
    const int top = shpBackTop->Height();
    const hitmiss::PlotScales scales =
        hitmiss::ScalesFor(lowerX, upperX, lowerY, upperY, w, h, left, top);
    xScale = scales.xScale;
    xOffset = scales.xOffset;
    yScale = scales.yScale;
    yOffset = scales.yOffset;

    surface->SetPen(QColor(Qt::black));
    const int axisRow = hitmiss::PixelOf(yOffset);
    if (axisRow >= top)
        surface->Line(QPoint(left, axisRow), QPoint(w - 1, axisRow));
    const int axisColumn = hitmiss::PixelOf(xOffset);
    if (axisColumn >= left)
        surface->Line(QPoint(axisColumn, top), QPoint(axisColumn, h - 1));
    QPoint previous;
    bool first = true;
    for (const hitmiss::Sample& s : box_.Samples()) {
        const QPoint p(hitmiss::PixelOf(s.x * xScale + xOffset),
                       hitmiss::PixelOf(s.f * yScale + yOffset));
        surface->Line(first ? p : previous, p);
        previous = p;
        first = false;
    }
    return true;
}

void frmHitmiss::ShowResults() {
    if (!(trialCount > 0)) {
        framRes->hide();
        return;
    }
    framRes->show();
    lblIntVal->setText(platform::FormatFixed(
        hitmiss::Estimate(lowerX, upperX, lowerY, upperY, hitCount, trialCount), 16));
    lblPointsVal->setText(platform::FormatGeneral(trialCount));
}

void frmHitmiss::cmdReset_Click() {
    hitCount = 0;
    trialCount = 0;
    surface->Refresh();
}
