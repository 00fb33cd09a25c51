#include "frmTrain.h"

#include "Color.h"
#include "Help.h"
#include "NeuralLibrary.h"
#include "NumberFormat.h"
#include "Pump.h"
#include "Slider.h"
#include "Surface.h"
#include "SurfacePolyline.h"
#include "SurfaceShape.h"
#include "Timer.h"
#include "frmNeuromesh.h"

#include <QLabel>
#include <QPushButton>

using platform::TwipsRect;

namespace {

// The chart area, in twips.
constexpr int kChartLeft = 210;
constexpr int kChartTop = 500;
constexpr int kChartWidth = 5000;
constexpr int kChartHeight = 2505;

platform::Slider* NewSlider(int value, const QRect& geometry, QWidget* parent) {
    auto* slider = new platform::Slider(parent);
    slider->setGeometry(geometry);
    slider->SetMin(0);
    slider->SetMax(100);
    slider->SetValue(value);
    slider->SetTickFrequency(10);
    slider->SetSmallChange(1);
    slider->SetLargeChange(5);
    return slider;
}

QLabel* NewLabel(const QString& caption, const QRect& geometry, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(geometry);
    return label;
}

QString ErrorText(double e) {
    return "Error: " + platform::FormatFixedUngrouped(e, 16);
}

} // namespace

frmTrain::frmTrain(frmNeuromesh& owner) : QDialog(&owner), owner_(owner) {
    setWindowTitle("Network training progress");
    setFixedSize(TwipsRect(0, 0, 5400, 5895).size());

    surface = new platform::Surface(this);
    surface->setGeometry(rect());
    surface->SetScaleMode(platform::Surface::ScaleMode::Twips);
    surface->SetBackColor(platform::ToQColor(platform::kButtonFaceColor));
    shpCanvas = &surface->AddShape();
    shpCanvas->SetGeometry(kChartLeft, kChartTop, kChartWidth, kChartHeight);
    linErr = &surface->AddPolyline();
    linErr->SetColor(platform::ToQColor(255));

    lblCurErr = NewLabel("Error:", TwipsRect(210, 150, 5000, 255), this);
    lblTrainRate = NewLabel("Learning rate", TwipsRect(210, 3250, 2600, 255), this);
    sldEta = NewSlider(25, TwipsRect(2850, 3150, 1800, 450), this);
    lblEta = NewLabel("25%", TwipsRect(4700, 3250, 600, 255), this);
    lblMomentum = NewLabel("Momentum", TwipsRect(210, 3750, 2600, 255), this);
    sldMomentum = NewSlider(50, TwipsRect(2850, 3650, 1800, 450), this);
    lblMomentumValue = NewLabel("50%", TwipsRect(4700, 3750, 600, 255), this);
    lblBump = NewLabel("Amplitude of weight bumps", TwipsRect(210, 4250, 2600, 255), this);
    sldBump = NewSlider(10, TwipsRect(2850, 4150, 1800, 450), this);
    lblBumpVal = NewLabel("0.1", TwipsRect(4700, 4250, 600, 255), this);

    cmdGo = new QPushButton(kStart, this);
    cmdGo->setGeometry(TwipsRect(210, 4800, 2400, 375));
    cmdGo->setDefault(true);
    cmdRnd = new QPushButton("Reset weights", this);
    cmdRnd->setGeometry(TwipsRect(2810, 4800, 2400, 375));
    cmdBump = new QPushButton("Bump weights", this);
    cmdBump->setGeometry(TwipsRect(210, 5300, 2400, 375));
    cmdExit = new QPushButton("Exit training", this);
    cmdExit->setGeometry(TwipsRect(2810, 5300, 2400, 375));

    connect(cmdGo, &QPushButton::clicked, this, [this] { cmdGo_Click(); });
    connect(cmdRnd, &QPushButton::clicked, this, [this] { cmdRnd_Click(); });
    connect(cmdBump, &QPushButton::clicked, this, [this] { cmdBump_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    sldEta->onChange = [this](int) { sldEta_Change(); };
    sldMomentum->onChange = [this](int) { sldMomentum_Change(); };
    sldBump->onChange = [this](int) { sldBump_Change(); };
    platform::BindHelpKey(this, frmNeuromesh::kHelpTopic);
    Form_Load();
}

void frmTrain::Form_Load() {
    points_.reserve(neuromesh::ErrorChart::kValues);
    ResetErrorChart();
}

void frmTrain::sldEta_Change() {
    lblEta->setText(QString::number(sldEta->Value()) + " %");
}

void frmTrain::sldMomentum_Change() {
    lblMomentumValue->setText(QString::number(sldMomentum->Value()) + " %");
}

void frmTrain::sldBump_Change() {
    lblBumpVal->setText(platform::FormatGeneral(double(sldBump->Value()) / sldBump->Max()));
}

neuromesh::TrainingRates frmTrain::Rates() const {
    return {double(sldEta->Value()) / sldEta->Max(),
            double(sldMomentum->Value()) / sldMomentum->Max()};
}

// ---------------------------------------------------------------------------
// The chart

void frmTrain::ShowCurrentError(double e) {
    lblCurErr->setText(ErrorText(e));
}

double frmTrain::ErrorToY(double e) const {
    return chart_.ErrorToY(e, kChartTop, kChartHeight);
}

void frmTrain::ResetErrorChart() {
    chart_.ResetErrorChart();
    linErr->SetPoints({});
    ShowCurrentError(owner_.UpdateError());
}

void frmTrain::RedrawErrorChart() {
    const std::span<const double> shown = chart_.Shown();
    points_.resize(shown.size());
    for (size_t k = 0; k < shown.size(); ++k)
        points_[k] = QPointF(neuromesh::ErrorChart::PointX(int(k), kChartLeft, kChartWidth),
                             ErrorToY(shown[k]));
    linErr->SetPoints(points_);
}

void frmTrain::AddErrorPoint(double e) {
    ShowCurrentError(e);
    // The model grows the scale at once and shrinks it while scrolling; the
    // whole chain is placed again, which the surface paints once per frame.
    chart_.AddErrorPoint(e);
    RedrawErrorChart();
}

// ---------------------------------------------------------------------------
// Training

void frmTrain::cmdGo_Click() {
    if (cmdGo->text() == kPause) {
        StopTraining();
        return;
    }
    owner_.ShowBars(false);
    cmdGo->setText(kPause);
    owner_.marked = int16_t(2 * neuromesh::GetLayers_());
    owner_.timAnim->SetEnabled(true);
    training_ = true;
    neuromesh::NetworkModel& network = owner_.Network();
    const neuromesh::PatternSet& patterns = owner_.Patterns();
    const auto rates = [this] { return Rates(); };
    while (cmdGo->text() == kPause) {
        const double e = network.TrainEpoch(patterns, rates);
        // The chart takes every epoch; the labels and the chart's line are
        // brought up to date only just before messages run, which is all a
        // repaint or a click can see.
        chart_.AddErrorPoint(e);
        if (platform::PumpDue()) {
            owner_.ShowError(e);
            ShowCurrentError(e);
            RedrawErrorChart();
        }
        platform::DoEvents();
    }
    training_ = false;
    StopTraining();
}

void frmTrain::StopTraining() {
    owner_.timAnim->SetEnabled(false);
    owner_.marked = -100;
    owner_.DrawNetwork();
    AddErrorPoint(owner_.UpdateError());
    cmdGo->setText(kStart);
}

void frmTrain::cmdRnd_Click() {
    neuromesh::RandomWeights_();
    owner_.ShowBars(false);
    ResetErrorChart();
    AddErrorPoint(owner_.UpdateError());
}

void frmTrain::cmdBump_Click() {
    neuromesh::BumpWeights_(double(sldBump->Value()) / sldBump->Max());
    AddErrorPoint(owner_.UpdateError());
}

void frmTrain::cmdExit_Click() {
    close();
}

void frmTrain::done(int result) {
    // The running loop sees the caption at its next check and runs the stop
    // steps once.
    if (training_)
        cmdGo->setText(kStart);
    QDialog::done(result);
}
