#include "frmNetSet.h"

#include "Color.h"
#include "Help.h"
#include "Slider.h"
#include "frmNeuromesh.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using platform::TwipsRect;

namespace {

constexpr int kClientWidth = 5505;
// Row 0 of the layer sizes, in twips of their frame; row i lies 500 lower.
constexpr int kRowStep = 500;
constexpr int kLabelTop = 300;
constexpr int kSliderTop = 230;

platform::Slider* NewSlider(int min, int max, int tick, QWidget* parent) {
    auto* slider = new platform::Slider(parent);
    slider->SetMin(min);
    slider->SetMax(max);
    slider->SetTickFrequency(tick);
    slider->SetSmallChange(1);
    slider->SetLargeChange(5);
    return slider;
}

} // namespace

frmNetSet::frmNetSet(frmNeuromesh& owner) : QDialog(&owner), owner_(owner) {
    setWindowTitle("Neural network design");

    lblHidden = new QLabel("Number of hidden layers", this);
    lblHidden->setGeometry(TwipsRect(240, 120, 3000, 255));
    sldHidden = NewSlider(0, kMaxHidden, 1, this);
    sldHidden->setGeometry(TwipsRect(120, 400, 4600, 450));
    sldHidden->SetValue(0);
    lblHidExact = new QLabel(this);
    lblHidExact->setGeometry(TwipsRect(4850, 480, 500, 255));
    framLayerSizes = new QGroupBox("Layer sizes", this);
    framLayerSizes->setGeometry(TwipsRect(120, 1000, kClientWidth - 240, 1000));
    AddLayerRow();
    lblLayerSize[0]->setText("Nodes in layer 0 (input)");

    cmdOK = new QPushButton("OK", this);
    cmdOK->resize(TwipsRect(0, 0, 1200, 375).size());
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->resize(TwipsRect(0, 0, 1200, 375).size());
    cmdOK->setDefault(true);

    sldHidden->onChange = [this](int) { sldHidden_Change(); };
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    platform::BindHelpKey(this, frmNeuromesh::kHelpTopic);
    sldHidden_Change();
}

void frmNetSet::AddLayerRow() {
    const int i = int(sldLayerSize.size());
    const int top = kRowStep * i;
    auto* label = new QLabel(framLayerSizes);
    label->setGeometry(TwipsRect(120, kLabelTop + top, 2300, 255));
    auto* slider = NewSlider(1, 100, 10, framLayerSizes);
    slider->setGeometry(TwipsRect(2400, kSliderTop + top, 2200, 450));
    slider->SetValue(kNewLayerSize);
    auto* value = new QLabel(framLayerSizes);
    value->setGeometry(TwipsRect(4650, kLabelTop + top, 550, 255));
    slider->onChange = [this, i](int) { sldLayerSize_Change(i); };
    lblLayerSize.push_back(label);
    sldLayerSize.push_back(slider);
    lblSizeExact.push_back(value);
}

void frmNetSet::sldHidden_Change() {
    const int h = sldHidden->Value();
    lblHidExact->setText(QString::number(h));
    while (int(sldLayerSize.size()) < h + 2)
        AddLayerRow();
    for (int i = 0; i < int(sldLayerSize.size()); ++i) {
        const bool inUse = i <= h + 1;
        QString caption = "Nodes in layer " + QString::number(i);
        if (i == 0)
            caption += " (input)";
        else if (i == h + 1)
            caption += " (output)";
        lblLayerSize[size_t(i)]->setText(caption);
        const bool hiddenLayer = i >= 1 && i <= h;
        for (QWidget* control : {static_cast<QWidget*>(lblLayerSize[size_t(i)]),
                                 static_cast<QWidget*>(sldLayerSize[size_t(i)]),
                                 static_cast<QWidget*>(lblSizeExact[size_t(i)])}) {
            control->setVisible(inUse);
            control->setEnabled(hiddenLayer);
        }
    }
    sldLayerSize[0]->SetValue(ins);
    sldLayerSize[size_t(h + 1)]->SetValue(outs);
    // Every row shown gives its value, also a row just created, whose slider
    // took its first value before it had a handler.
    for (int i = 0; i <= h + 1; ++i)
        sldLayerSize_Change(i);

    // The frame, the buttons and the window follow the last row.
    const int frameTop = 1000;
    const int frameHeight = kSliderTop + kRowStep * (h + 1) + 600;
    framLayerSizes->setGeometry(TwipsRect(120, frameTop, kClientWidth - 240, frameHeight));
    const int buttonTop = frameTop + frameHeight + 200;
    cmdOK->move(TwipsRect(kClientWidth - 2760, buttonTop, 0, 0).topLeft());
    cmdCancel->move(TwipsRect(kClientWidth - 1440, buttonTop, 0, 0).topLeft());
    setFixedSize(TwipsRect(0, 0, kClientWidth, buttonTop + 375 + 200).size());
}

void frmNetSet::sldLayerSize_Change(int layer) {
    if (layer < 0 || layer >= int(sldLayerSize.size()))
        return;
    // The input and output rows give the pattern set's sizes, which may pass
    // the slider's 100.
    const int h = sldHidden->Value();
    int value = sldLayerSize[size_t(layer)]->Value();
    if (layer == 0)
        value = ins;
    else if (layer == h + 1)
        value = outs;
    lblSizeExact[size_t(layer)]->setText(QString::number(value));
}

void frmNetSet::cmdOK_Click() {
    owner_.UpdateNetworkDesign(*this);
    accept();
}

void frmNetSet::cmdCancel_Click() {
    reject();
}
