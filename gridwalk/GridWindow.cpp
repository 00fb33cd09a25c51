#include "GridWindow.h"

#include "Color.h"
#include "DropDownList.h"
#include "LayoutMinimum.h"
#include "Pump.h"
#include "Slider.h"
#include "Surface.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

using platform::TwipsToPixels;

QRect Twips(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

// The first slider row's top in the frame, and the height of a row, in twips.
constexpr int kFirstRow = 900;
constexpr int kRowHeight = 850;

} // namespace

GridWindow::GridWindow(const QString& title, std::initializer_list<int> sides, QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(title);
    picCanvas = new platform::Surface(this);
    picCanvas->setGeometry(Twips(200, 200, 5000, 5000));
    picCanvas->SetBackColor(Qt::white);
    picCanvas->onPaint = [this] { picCanvas_Paint(); };

    cmdRun = new QPushButton("Run", this);
    cmdRun->setGeometry(Twips(5400, 200, 2400, 400));
    cmdStep = new QPushButton("Step", this);
    cmdStep->setGeometry(Twips(8000, 200, 2400, 400));
    frmParams = new QGroupBox("Simulation parameters", this);
    frmParams->setGeometry(Twips(5400, 700, 5000, 4500));
    lblSize = new QLabel("Grid size", frmParams);
    lblSize->setGeometry(Twips(150, 330, 1500, 300));
    cmbSize = new platform::DropDownList(frmParams);
    cmbSize->setGeometry(Twips(1700, 280, 1500, 330));
    for (const int side : sides)
        cmbSize->AddItem(QString("%1 x %1").arg(side), side);
    cmdReset = new QPushButton("Reset", frmParams);
    cmdReset->setGeometry(Twips(3400, 250, 1450, 400));

    connect(cmdRun, &QPushButton::clicked, this, [this] { cmdRun_Click(); });
    connect(cmdStep, &QPushButton::clicked, this, [this] { cmdStep_Click(); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    // The controls keep their places: the window keeps room for them and its margin.
    platform::KeepControlsWhole(*this,
                                {picCanvas->geometry(), cmdStep->geometry(), frmParams->geometry()},
                                Twips(0, 0, 200, 200).size());
    resize(TwipsToPixels(10605), TwipsToPixels(5400));
}

GridWindow::~GridWindow() = default;

platform::Slider* GridWindow::AddSliderRow(const char* caption, int value, QLabel** captionLabel,
                                           QLabel** valueLabel) {
    const int top = kFirstRow + sliderRows_++ * kRowHeight;
    *captionLabel = new QLabel(caption, frmParams);
    (*captionLabel)->setGeometry(Twips(150, top, 4700, 250));
    auto* slider = new platform::Slider(frmParams);
    slider->setGeometry(Twips(150, top + 250, 3900, 450));
    slider->SetMin(0);
    slider->SetMax(100);
    slider->SetSmallChange(1);
    slider->SetLargeChange(10);
    slider->SetTickFrequency(10);
    slider->SetValue(value);
    QLabel* label = new QLabel(QString::number(value) + "%", frmParams);
    label->setGeometry(Twips(4150, top + 330, 700, 250));
    *valueLabel = label;
    slider->onChange = [label](int v) { label->setText(QString::number(v) + "%"); };
    return slider;
}

void GridWindow::cmdReset_Click() {
    ResetGrid(static_cast<int16_t>(cmbSize->ItemData(cmbSize->ListIndex())));
    picCanvas_Paint();
}

void GridWindow::cmdStep_Click() {
    SimulationStep();
    picCanvas_Paint();
}

void GridWindow::cmdRun_Click() {
    if (cmdRun->text() != "Run") {
        // The running loop sees the caption and ends after its step.
        cmdRun->setText("Run");
        return;
    }
    cmdRun->setText("Stop");
    while (cmdRun->text() == "Stop" && !unloaded_) {
        SimulationStep();
        // Painting costs more than a step of a small grid: paint what the next
        // round of messages will show.
        if (platform::PumpDue())
            picCanvas_Paint();
        platform::DoEvents();
    }
    if (!unloaded_)
        picCanvas_Paint();
}

void GridWindow::picCanvas_Paint() {
    const int16_t side = GridSide();
    if (side <= 0)
        return;
    const double cw = static_cast<double>(picCanvas->ScaleWidth()) / side;
    const double ch = static_cast<double>(picCanvas->ScaleHeight()) / side;
    picCanvas->SetPen(Qt::black);
    for (int16_t x = 0; x < side; ++x)
        for (int16_t y = 0; y < side; ++y) {
            picCanvas->SetBrush(platform::ToQColor(CellColour(x, y)));
            picCanvas->Box(QPointF(x * cw, y * ch), QPointF((x + 1) * cw, (y + 1) * ch));
        }
}

void GridWindow::closeEvent(QCloseEvent* event) {
    unloaded_ = true;
    event->accept();
}
