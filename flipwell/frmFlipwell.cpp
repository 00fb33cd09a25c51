#include "frmFlipwell.h"

#include "Color.h"
#include "Conversions.h"
#include "DefaultButtons.h"
#include "Help.h"
#include "LayoutMinimum.h"
#include "NumberFormat.h"
#include "PrngLibrary.h"
#include "ProgressBar.h"
#include "Pump.h"
#include "Surface.h"
#include "SurfaceLabel.h"
#include "SurfaceLine.h"
#include "SurfaceShape.h"
#include "TextBox.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace {

using Alignment = platform::SurfaceLabel::Alignment;

constexpr uint32_t kAreaColour = 0xC0E0FF;
constexpr uint32_t kLineColour = 0xFF;

int Round(double v) {
    return platform::NearestInt(v);
}

// N in plain decimal form: no grouping, no exponent.
QString PlainDecimal(double n) {
    return platform::FormatFixedUngrouped(n, 0);
}

bool TossCoin() {
    return platform::PRNGOpenDouble() >= 0.5;
}

} // namespace

frmFlipwell::frmFlipwell(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Veritope - Flipwell");
    platform::BindHelpKey(this, kHelpTopic);
    surface = new platform::Surface(this);
    surface->SetBackColor(Qt::white);

    shpBar = &surface->AddShape();
    shpBar->SetBorderColor(std::nullopt);
    shpBar->SetFillColor(platform::ToQColor(platform::kButtonFaceColor));
    shpBar->SetGeometry(0, 0, 594, 45);
    lnBar = &surface->AddLine();
    lnBar->SetPoints(QPointF(0, 44), QPointF(594, 44));

    auto label = [this](const char* text, int left, int top, int width, Alignment alignment) {
        platform::SurfaceLabel& l = surface->AddLabel();
        l.SetText(text);
        l.SetGeometry(left, top, width, 22);
        l.SetAlignment(alignment);
        // The labels stand on the band or on the white window, never on a grey box of their own.
        l.SetBackColor(std::nullopt);
        return &l;
    };
    lblToss = label("Toss", 116, 12, 81, Alignment::Right);
    lblTimes = label("times", 299, 12, 81, Alignment::Left);
    lblAll = label("Total tosses:", 144, 50, 145, Alignment::Right);
    lblSum = label("Total number of heads:", 144, 72, 145, Alignment::Right);
    lblErr = label("Deviation:", 144, 94, 145, Alignment::Right);
    lblAllV = label("Label1", 298, 50, 145, Alignment::Left);
    lblSumV = label("Label2", 298, 72, 145, Alignment::Left);
    lblErrV = label("Label3", 298, 94, 145, Alignment::Left);
    QFont bold = font();
    bold.setBold(true);
    // The values are wide enough for the longest they show: a deviation of 16
    // decimals and a count of 2^53 with its grouping.
    const QFontMetrics boldMetrics(bold);
    int valueWidth = 145;
    for (const QString& widest : {platform::FormatTrimmed(-1.0 / 6), platform::FormatTrimmed(flipwell::kMaxTosses)})
        valueWidth = std::max(valueWidth, boldMetrics.horizontalAdvance(widest) + 2 * platform::SurfaceLabel::kMarginX);
    for (platform::SurfaceLabel* value : {lblAllV, lblSumV, lblErrV}) {
        value->SetFont(bold);
        value->SetGeometry(value->Left(), value->Top(), valueWidth, value->Height());
    }
    lblPerc = label("Percentage of heads after N throws:", 0, 128, 202, Alignment::Center);
    // The title is centred whatever its width: a wider font widens it rather than cutting it.
    const int titleWidth = QFontMetrics(lblPerc->Font()).horizontalAdvance(lblPerc->Text()) +
                           2 * platform::SurfaceLabel::kMarginX;
    lblPerc->SetGeometry(0, 128, std::max(202, titleWidth), 22);

    txtTimes = new platform::TextBox(this);
    txtTimes->setText("100");
    txtTimes->setGeometry(208, 10, 81, 22);
    cmdToss = new QPushButton("Toss", this);
    cmdToss->setGeometry(392, 10, 81, 22);
    buttons_ = new platform::DefaultButtons(this);
    buttons_->SetDefault(cmdToss);
    prgToss = new platform::ProgressBar(this);
    prgToss->setTextVisible(false);
    prgToss->setGeometry(0, 419, 594, 29);

    connect(cmdToss, &QPushButton::clicked, this, [this] { cmdToss_Click(); });
    surface->onPaint = [this] { Form_Paint(); };

    Form_Load();
    // The rows are centred and the chart follows the window, but never below the design's
    // room, nor narrower than the widest row with its margins.
    platform::KeepControlsWhole(*this,
                                {cmdToss->geometry(), lblErrV->Geometry(), lblPerc->Geometry()},
                                {lblToss->Left(), 0}, {594, 444});
    resize(594, 444);
    Form_Resize();
}

frmFlipwell::~frmFlipwell() = default;

void frmFlipwell::Form_Load() {
    N = 0;
    heads = 0;
}

void frmFlipwell::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmFlipwell::Form_Resize() {
    if (isMinimized())
        return;
    const int sw = width();
    const int sh = height();
    shpBar->SetGeometry(0, 0, sw, shpBar->Height());
    lnBar->SetPoints(QPointF(0, 44), QPointF(sw, 44));
    prgToss->setGeometry(0, sh - prgToss->height(), sw, prgToss->height());

    const int d1 = Round((sw - cmdToss->x() - cmdToss->width() + lblToss->Left()) / 2.0 - lblToss->Left());
    lblToss->Move(lblToss->Left() + d1, lblToss->Top());
    txtTimes->move(txtTimes->x() + d1, txtTimes->y());
    lblTimes->Move(lblTimes->Left() + d1, lblTimes->Top());
    cmdToss->move(cmdToss->x() + d1, cmdToss->y());

    const int d2 = Round((sw - lblAllV->Left() - lblAllV->Width() + lblAll->Left()) / 2.0 - lblAll->Left());
    for (platform::SurfaceLabel* l : {lblAll, lblSum, lblErr, lblAllV, lblSumV, lblErrV})
        l->Move(l->Left() + d2, l->Top());
    lblPerc->Move((sw - lblPerc->Width()) / 2, lblPerc->Top());

    // A new size repaints the surface by itself.
    const QSize before = surface->size();
    surface->setGeometry(0, 0, sw, sh);
    if (surface->size() == before)
        surface->Refresh();
}

void frmFlipwell::closeEvent(QCloseEvent* event) {
    // A run ends at once; the program ends with the window.
    unloaded_ = true;
    event->accept();
}

void frmFlipwell::cmdToss_Click() {
    N = flipwell::TossCount(txtTimes->text().toStdString());
    txtTimes->setText(PlainDecimal(N));
    // Each Toss replaces the figures: nothing of an earlier run is kept, also when N is 0.
    heads = 0;
    tossesDone = 0;
    samplesTaken = 0;
    if (N > 0)
        RunTosses(N);
    if (!unloaded_)
        surface->Refresh();
}

void frmFlipwell::RunTosses(double n) {
    // The window's side of a run: the progress bar and the pump.
    class Progress final : public flipwell::TossProgress {
    public:
        explicit Progress(frmFlipwell& form) : form_(form) {}
        bool Sampled(const flipwell::TossResult& sofar) override {
            form_.prgToss->SetValue(sofar.samples);
            return Poll(sofar);
        }
        bool Poll(const flipwell::TossResult& sofar) override {
            // A repaint while the messages run shows the run as it stands.
            form_.heads = sofar.heads;
            form_.tossesDone = sofar.tosses;
            form_.samplesTaken = sofar.samples;
            platform::DoEvents();
            return !form_.unloaded_;
        }

    private:
        frmFlipwell& form_;
    } progress(*this);

    heads = 0;
    tossesDone = 0;
    samplesTaken = 0;
    cmdToss->setEnabled(false);
    prgToss->SetMax(flipwell::SamplingFor(n).progressMax);
    prgToss->SetValue(0);
    const flipwell::TossResult result = flipwell::RunTosses(n, share, TossCoin, progress);
    heads = result.heads;
    tossesDone = result.tosses;
    samplesTaken = result.samples;
    prgToss->SetValue(0);
    cmdToss->setEnabled(true);
}

void frmFlipwell::Form_Paint() {
    surface->Clear();
    graphPoints.clear();
    // After a run tossesDone is N; during one, the tosses that heads counts.
    lblAllV->SetText(platform::FormatTrimmed(tossesDone));
    lblSumV->SetText(platform::FormatTrimmed(heads));
    if (tossesDone > 0) {
        lblErr->SetVisible(true);
        lblErrV->SetText(platform::FormatTrimmed(heads / tossesDone - 0.5));
    } else {
        lblErr->SetVisible(false);
        lblErrV->SetText(QString());
    }

    const int sw = surface->width();
    const int sh = surface->height();
    const QString nText = PlainDecimal(N);
    const double top = Round(lblPerc->Top() + lblPerc->Height() + 20);
    const double bottom = Round(prgToss->height() + 20);
    const double left = Round(surface->TextWidth("100%") + 40);
    const double right = Round(surface->TextWidth(nText) / 2.0 + 20);

    const double m = std::min(N - 1, 1000.0);
    if (m <= 0) {
        lblPerc->SetVisible(false);
        return;
    }
    lblPerc->SetVisible(true);
    const double gh = sh - top - bottom;
    const double dx = (sw - left - right) / (m + 1);
    // The axis is laid out for the whole run; during one, only the samples taken are drawn.
    const int points = std::min(static_cast<int>(m) + 1, samplesTaken);
    graphPoints.reserve(points);
    for (int i = 1; i <= points; ++i)
        graphPoints.emplace_back(Round(i * dx + left), Round(sh - bottom - gh * share[i - 1]));
    const int mid = Round(gh / 2 + top);

    const QColor area = platform::ToQColor(kAreaColour);
    const QColor line = platform::ToQColor(kLineColour);
    for (int i = 0; i + 1 < points; ++i) {
        const QPoint& a = graphPoints[i];
        const QPoint& b = graphPoints[i + 1];
        const QPoint quad[] = {{a.x(), mid}, a, b, {b.x(), mid}};
        surface->SetPen(area);
        surface->SetBrush(area);
        surface->Polygon(quad);
        surface->SetPen(line);
        surface->Line(a, b);
    }

    surface->SetPen(Qt::black);
    const double half = gh / 2 + top;
    surface->Line(QPointF(left, half), QPointF(sw - right, half));
    surface->Line(QPointF(left, top), QPointF(left, sh - bottom));
    for (const double y : {top, half, sh - bottom})
        surface->Line(QPointF(left - 10, y), QPointF(left, y));
    for (const double x : {left + dx, sw - right})
        surface->Line(QPointF(x, half), QPointF(x, half + 10));

    const struct {
        const char* text;
        double y;
    } percents[] = {{"100%", top}, {"50%", half}, {"0%", sh - bottom}};
    for (const auto& p : percents) {
        const QString text = p.text;
        surface->Print(QPoint(Round(left - 20 - surface->TextWidth(text)), Round(p.y - surface->TextHeight(text) / 2.0)),
                       text);
    }
    const int below = Round(half + 20);
    surface->Print(QPoint(Round(left + dx - surface->TextWidth("1") / 2.0), below), "1");
    surface->Print(QPoint(Round(sw - right - surface->TextWidth(nText) / 2.0), below), nText);
}
