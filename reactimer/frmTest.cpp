#include "frmTest.h"

#include "Clock.h"
#include "Color.h"
#include "Modal.h"
#include "ProgramFolder.h"
#include "ProgressBar.h"
#include "RuntimeRandom.h"
#include "Sound.h"
#include "Surface.h"
#include "Wait.h"
#include "frmAnyKey.h"
#include "frmResults.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int kKeySide = 495; // twips; keys touch, so also the pitch

// The three letter rows of the keyboard: their top, the left of their first
// key, and their letters.
const struct {
    int top;
    int left;
    const char* letters;
} kRows[] = {{90, 75, "QWERTYUIOP"}, {585, 195, "ASDFGHJKL"}, {1080, 435, "ZXCVBNM"}};

// The runtime's generator of the program, seeded anew for each test.
platform::RuntimeRandom& Random() {
    static platform::RuntimeRandom random;
    return random;
}

} // namespace

frmTest::frmTest(QWidget* owner) : QDialog(owner) {
    setWindowTitle("Test");
    surface = new platform::Surface(this);
    surface->SetScaleMode(platform::Surface::ScaleMode::Twips);
    setFixedSize(surface->ToPixels(5100), surface->ToPixels(2235));
    surface->setGeometry(0, 0, width(), height());
    surface->SetBackColor(platform::ToQColor(platform::kButtonFaceColor));
    QFont keyFont = font();
    keyFont.setBold(true);
    keyFont.setPointSizeF(keyFont.pointSizeF() * 1.4);
    for (const auto& row : kRows) {
        for (int i = 0; row.letters[i] != '\0'; ++i) {
            const int index = row.letters[i] - 'A';
            platform::SurfaceLabel& key = surface->AddLabel();
            key.SetText(QString(QChar(row.letters[i])));
            key.SetFont(keyFont);
            key.SetAlignment(platform::SurfaceLabel::Alignment::Center);
            key.SetBackColor(platform::ToQColor(kKeyIdle));
            key.SetForeColor(Qt::black);
            key.SetGeometry(row.left + i * kKeySide, row.top, kKeySide, kKeySide);
            lblKey[static_cast<size_t>(index)] = &key;
        }
    }
    prgProgress = new platform::ProgressBar(this);
    prgProgress->setGeometry(surface->ToPixels(QRect(60, 1680, 4965, 450)));
    prgProgress->setTextVisible(false);
    Form_Load();
}

frmTest::~frmTest() = default;

void frmTest::Form_Load() {
    Random().Randomize();
}

void frmTest::Start() {
    sequence_.Start(nums, trials, warmup);
    prgProgress->SetMax(sequence_.Total());
    prgProgress->SetValue(0);
    trialsBegun_ = false;
}

void frmTest::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The first trial begins once the window is up, outside any repaint.
    if (!trialsBegun_) {
        trialsBegun_ = true;
        QTimer::singleShot(0, this, [this] { NextTrial(); });
    }
}

void frmTest::Repaint() {
    surface->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmTest::Play(const char* sound) const {
    if (sounds)
        platform::PlaySound(platform::ProgramFolder() / sound);
}

void frmTest::NextTrial() {
    const reactimer::TrialSequence::TrialStart start = sequence_.Begin();
    if (start.finish) {
        FinishTest();
        return;
    }
    if (start.hideAll) {
        for (platform::SurfaceLabel* key : lblKey)
            key->SetVisible(false);
    }
    if (start.showKey >= 0)
        lblKey[static_cast<size_t>(start.showKey)]->SetVisible(true);
    Repaint();
    if (!start.prompt.empty()) {
        frmAnyKey prompt(this);
        prompt.lblPrompt->SetText(QString::fromStdString(start.prompt));
        prompt.move(x() + (width() - prompt.width()) / 2, y() + (height() - prompt.height()) / 2);
        platform::ShowModal(prompt);
        Repaint();
    }
    if (!isVisible())
        return;
    const int target = sequence_.ChooseTarget(Random().Next());
    platform::WaitOptions hold;
    hold.holdInput = true;
    hold.window = this;
    if (!platform::Wait(reactimer::TrialSequence::Foreperiod(Random().Next()), hold))
        return;
    sequence_.Light();
    Play("appear.wav");
    lblKey[static_cast<size_t>(target)]->SetBackColor(platform::ToQColor(kKeyLit));
    surface->repaint();
    litAt_ = platform::MillisecondClock();
}

void frmTest::keyPressEvent(QKeyEvent* event) {
    // Keys that type no character are no answer.
    const QString text = event->text();
    if (!text.isEmpty())
        Form_KeyPress(text.at(0).unicode());
}

void frmTest::Form_KeyPress(int character) {
    const int64_t elapsed = std::max<int64_t>(platform::MillisecondClock() - litAt_, 0);
    const int target = sequence_.Target();
    switch (sequence_.KeyPress(character, elapsed)) {
    case reactimer::TrialSequence::Press::Ignored:
        return;
    case reactimer::TrialSequence::Press::Wrong:
        Play("bad.wav");
        return;
    case reactimer::TrialSequence::Press::Correct:
        Play("good.wav");
        prgProgress->SetValue(prgProgress->Value() + 1);
        lblKey[static_cast<size_t>(target)]->SetBackColor(platform::ToQColor(kKeyIdle));
        NextTrial();
        return;
    }
}

void frmTest::FinishTest() {
    frmResults results(parentWidget());
    for (int i = 0; i < reactimer::kLetters; ++i)
        results.SetStat(i, sequence_.StageMean(i));
    results.nums = nums;
    platform::ShowModal(results);
    // The window goes once this key's handling is over.
    accept();
}
