#include "frmReactimer.h"

#include "Color.h"
#include "DefaultButtons.h"
#include "Help.h"
#include "Modal.h"
#include "Slider.h"
#include "frmResults.h"
#include "frmTest.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

using platform::TwipsToPixels;

QRect Twips(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

platform::Slider* NewSlider(QWidget* parent, int min, int max, int value, const QRect& at) {
    auto* slider = new platform::Slider(parent);
    slider->SetMin(min);
    slider->SetMax(max);
    slider->SetValue(value);
    slider->SetSmallChange(1);
    slider->SetLargeChange(5);
    slider->SetTickFrequency(1);
    slider->setGeometry(at);
    return slider;
}

} // namespace

frmReactimer::frmReactimer(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Veritope - Reactimer");
    lblNums = new QLabel("Number of stages", this);
    lblNums->setGeometry(Twips(240, 180, 4200, 285));
    slNums = NewSlider(this, 5, 26, 10, Twips(240, 465, 4200, 480));
    lblTrials = new QLabel("Number of trials per stage", this);
    lblTrials->setGeometry(Twips(240, 1080, 4200, 285));
    slTrials = NewSlider(this, 2, 20, 10, Twips(240, 1365, 4200, 480));
    chkWarmup = new QCheckBox("Warm up", this);
    chkWarmup->setGeometry(Twips(240, 1980, 2000, 300));
    chkWarmup->setChecked(true);
    chkSounds = new QCheckBox("Sounds", this);
    chkSounds->setGeometry(Twips(2440, 1980, 2000, 300));
    chkSounds->setChecked(true);
    cmdTest = new QPushButton("Begin test", this);
    cmdTest->setGeometry(Twips(240, 2490, 2000, 420));
    cmdOpen = new QPushButton("View stored results", this);
    cmdOpen->setGeometry(Twips(2440, 2490, 2000, 420));
    buttons_ = new platform::DefaultButtons(this);
    buttons_->SetDefault(cmdTest);
    connect(cmdTest, &QPushButton::clicked, this, [this] { cmdTest_Click(); });
    connect(cmdOpen, &QPushButton::clicked, this, [this] { cmdOpen_Click(); });
    setFixedSize(TwipsToPixels(4680), TwipsToPixels(3120));
    platform::BindHelpKey(this, kHelpTopic);
}

frmReactimer::~frmReactimer() = default;

void frmReactimer::cmdTest_Click() {
    // A fresh test window for each test; it goes when the test is over.
    frmTest test(this);
    test.nums = static_cast<int16_t>(slNums->Value());
    test.trials = static_cast<int16_t>(slTrials->Value());
    test.warmup = static_cast<int16_t>(chkWarmup->isChecked() ? slTrials->Value() : 0);
    test.sounds = chkSounds->isChecked();
    test.Start();
    platform::ShowModal(test);
}

void frmReactimer::cmdOpen_Click() {
    frmResults results(this);
    if (results.OpenAFile())
        platform::ShowModal(results);
}
