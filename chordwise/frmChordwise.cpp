#include "frmChordwise.h"

#include "ChordMethods.h"
#include "Color.h"
#include "Help.h"
#include "LayoutMinimum.h"
#include "NumberFormat.h"
#include "PrngLibrary.h"
#include "Slider.h"
#include "Surface.h"
#include "SurfaceShape.h"
#include "Timer.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace {

using platform::TwipsToPixels;

QRect Twips(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

constexpr uint32_t kLongerColour = 0xFF;
constexpr uint32_t kShorterColour = 0xFF0000;
// The design's label height and the left edge of the values.
constexpr int kLabelHeight = 240;
constexpr int kValueLeft = 1440;

QLabel* NewLabel(const QString& text, QWidget* parent, const QRect& at, std::optional<uint32_t> colour = {},
                 bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(at);
    if (colour) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, platform::ToQColor(*colour));
        label->setPalette(p);
    }
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

} // namespace

frmChordwise::frmChordwise(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Veritope - Chordwise");
    platform::BindHelpKey(this, kHelpTopic);
    surface = new platform::Surface(this);
    surface->SetScaleMode(platform::Surface::ScaleMode::Twips);
    surface->SetBackColor(Qt::white);
    shpBack = &surface->AddShape();
    shpBack->SetBorderColor(std::nullopt);
    shpBack->SetFillColor(platform::ToQColor(platform::kButtonFaceColor));
    shpBack->SetGeometry(0, 0, 2895, 5835);
    shpCircle = &surface->AddShape();
    shpCircle->SetKind(platform::SurfaceShape::Kind::Circle);
    shpCircle->SetBorderWidth(2);

    framTypes = new platform::Frame("Random model", this);
    framTypes->setGeometry(Twips(120, 120, 2655, 1695));
    const char* captions[] = {"Random shift", "Random angle", "Random center", "Random two points"};
    const int tops[] = {360, 645, 915, 1200};
    for (int i = 0; i < 4; ++i)
        optType.Add(i, captions[i], framTypes).setGeometry(Twips(120, tops[i], 2400, 255));
    optType.SetChecked(0, true);
    cmdReset = new QPushButton("Reset", this);
    cmdReset->setGeometry(Twips(120, 1920, 2655, 495));
    // "Slow" ends where the slider begins, also in a font wider than the design's.
    lblSlow = NewLabel("Slow", this, Twips(120, 3000, 495, kLabelHeight));
    lblSlow->setAlignment(Qt::AlignRight | Qt::AlignTop);
    sldAnim = new platform::Slider(this);
    sldAnim->setGeometry(Twips(615, 2925, 1575, 420));
    sldAnim->SetMin(0);
    sldAnim->SetMax(4);
    sldAnim->SetSmallChange(1);
    sldAnim->SetLargeChange(1);
    sldAnim->SetTickFrequency(1);
    sldAnim->SetValue(2);
    lblFast = NewLabel("Fast", this, Twips(2295, 3000, 480, kLabelHeight));
    lblIn = NewLabel("Longer chords", this, Twips(120, 4320, 1320, kLabelHeight), kLongerColour);
    lblInVal = NewLabel("0", this, Twips(kValueLeft, 4320, 1400, kLabelHeight), kLongerColour);
    lblOut = NewLabel("Shorter chords", this, Twips(120, 4560, 1320, kLabelHeight), kShorterColour);
    lblOutVal = NewLabel("0", this, Twips(kValueLeft, 4560, 1400, kLabelHeight), kShorterColour);
    lblRatio = NewLabel("Probability", this, Twips(120, 4800, 1320, kLabelHeight), {}, true);
    lblRatioVal = NewLabel("-", this, Twips(kValueLeft, 4800, 1400, kLabelHeight), {}, true);
    // The values stand right of the widest caption and are wide enough for a share
    // of 15 digits, whatever the font; the captions are as wide as their texts.
    int valueLeft = TwipsToPixels(kValueLeft);
    for (QLabel* caption : {lblIn, lblOut, lblRatio}) {
        caption->resize(caption->sizeHint().width(), caption->height());
        valueLeft = std::max(valueLeft, caption->x() + caption->width() + 4);
    }
    for (QLabel* value : {lblInVal, lblOutVal, lblRatioVal}) {
        const int needed = QFontMetrics(value->font()).horizontalAdvance("0.000000000000000") + 4;
        value->setGeometry(valueLeft, value->y(), std::max(value->width(), needed), value->height());
    }

    timAnim = new platform::Timer(this);
    timAnim->SetInterval(101);
    timAnim->onTimer = [this] { timAnim_Timer(); };
    optType.onClick = [this](int index) { optType_Click(index); };
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    sldAnim->onChange = [this](int) { sldAnim_Change(); };
    // The chords are drawings: a repaint erases them.
    surface->onPaint = [this] { surface->Clear(); };

    // The panel's controls keep their places; the circle follows the window.
    platform::KeepControlsWhole(*this,
                                {QRect(0, 0, TwipsToPixels(shpBack->Width()), 1),
                                 framTypes->geometry(), lblFast->geometry(),
                                 lblRatioVal->geometry()},
                                Twips(0, 0, 120, 120).size());
    resize(TwipsToPixels(8055), TwipsToPixels(5835));
    Form_Load();
}

frmChordwise::~frmChordwise() = default;

void frmChordwise::Form_Load() {
    type = 0;
    ResetCounts();
}

void frmChordwise::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmChordwise::Form_Resize() {
    surface->setGeometry(rect());
    const int sw = surface->ScaleWidth();
    const int sh = surface->ScaleHeight();
    shpBack->SetGeometry(0, 0, shpBack->Width(), sh);
    const int backWidth = shpBack->Width();
    const int height = sh > 400 ? sh - 400 : 0;
    const int width = backWidth + 400 >= sw ? 0 : sw - 400 - backWidth;
    shpCircle->SetGeometry(backWidth + 200, 200, width, height);
    cx = shpCircle->Left() + width / 2.0 - 20;
    cy = shpCircle->Top() + height / 2.0 - 20;
    r = std::min(width, height) / 2.0 - 20;
}

void frmChordwise::ShowCounts() {
    lblInVal->setText(platform::FormatGeneral(longer));
    lblOutVal->setText(platform::FormatGeneral(total - longer));
    lblRatioVal->setText(total == 0 ? QString("-") : platform::FormatGeneral(longer / total));
}

void frmChordwise::ResetCounts() {
    total = 0;
    longer = 0;
    ShowCounts();
    surface->Refresh();
}

void frmChordwise::cmdReset_Click() {
    ResetCounts();
}

void frmChordwise::optType_Click(int index) {
    type = static_cast<int16_t>(index);
    ResetCounts();
}

void frmChordwise::sldAnim_Change() {
    timAnim->SetInterval(201 - 50 * sldAnim->Value());
}

void frmChordwise::timAnim_Timer() {
    const chordwise::Chord chord = chordwise::DrawChord(type, [] { return platform::PRNGClosedDouble(); });
    const QColor colour = platform::ToQColor(chord.longer ? kLongerColour : kShorterColour);
    if (chord.longer)
        longer += 1;
    total += 1;
    ShowCounts();
    auto at = [this](chordwise::Point p) { return QPointF(p.x * r + cx, p.y * r + cy); };
    surface->SetPen(colour);
    surface->Line(at(chord.from), at(chord.to));
    surface->SetBrush(colour);
    for (int i = 0; i < chord.dots; ++i)
        surface->Circle(at(chord.dot[i]), 20);
}
