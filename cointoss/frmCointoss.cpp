#include "frmCointoss.h"

#include "Color.h"
#include "Dialogs.h"
#include "Help.h"
#include "MultiLineTextBox.h"
#include "PrngLibrary.h"
#include "TextBox.h"
#include "frmStats.h"

#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

frmCointoss::frmCointoss(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Veritope - Cointoss");
    platform::BindHelpKey(this, kHelpTopic);
    QPalette face = palette();
    face.setColor(QPalette::Window, platform::ToQColor(platform::kButtonFaceColor));
    setPalette(face);
    setAutoFillBackground(true);

    frmMode = new QGroupBox("Generate sequence", this);
    frmMode->setGeometry(10, 5, 220, 140);
    optManual = new QRadioButton("Manually", frmMode);
    optManual->setGeometry(11, 18, 90, 33);
    optManual->setChecked(true);
    optRandom = new QRadioButton("Using a random number generator", frmMode);
    optRandom->setGeometry(11, 46, 186, 33);
    txtLength = new platform::TextBox(frmMode);
    txtLength->setText("256");
    txtLength->setGeometry(28, 75, 54, 22);
    lblChars = new QLabel("characters", frmMode);
    lblChars->setGeometry(88, 78, 75, 18);
    cmdGen = new QPushButton("Generate", frmMode);
    cmdGen->setGeometry(27, 102, 112, 25);

    txtSeq = new platform::MultiLineTextBox(this, platform::MultiLineTextBox::kVertical);
    txtSeq->setGeometry(240, 11, 430, 135);
    // A sequence is one unbroken line, of millions of characters when generated.
    txtSeq->SetRowsForLongLines(true);
    cmdStats = new QPushButton("Calculate statistics", this);
    cmdStats->setGeometry(240, 152, 208, 26);
    lblLength = new QLabel("0 characters", this);
    lblLength->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lblLength->setGeometry(490, 155, 180, 19);

    // An option's Click is its becoming selected: clicking the selected one again
    // does nothing (it would empty a typed sequence).
    connect(optRandom, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optRandom_Click();
    });
    connect(optManual, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optManual_Click();
    });
    txtSeq->onChange = [this] { txtSeq_Change(); };
    connect(cmdGen, &QPushButton::clicked, this, [this] { cmdGen_Click(); });
    connect(cmdStats, &QPushButton::clicked, this, [this] { cmdStats_Click(); });

    // The option's caption stays on its one line in this system's font: the
    // option widens to it, the frame with it, and what stands right of the frame
    // moves along as the window widens.
    optRandom->resize(std::max(optRandom->width(), optRandom->sizeHint().width()), optRandom->height());
    const int widened = std::max(0, optRandom->geometry().right() + 1 + optRandom->x() - frmMode->width());
    frmMode->resize(frmMode->width() + widened, frmMode->height());
    for (QWidget* w : std::initializer_list<QWidget*>{txtSeq, cmdStats, lblLength})
        w->move(w->x() + widened, w->y());

    Form_Load();
    setFixedSize(682 + widened, 186);
}

frmCointoss::~frmCointoss() = default;

void frmCointoss::Form_Load() {
    counts = cointoss::RunCounts();
    for (QWidget* w : std::initializer_list<QWidget*>{txtLength, lblChars, cmdGen})
        w->setEnabled(false);
}

void frmCointoss::ShowLength() {
    lblLength->setText(QString::number(seq.size()) + " characters");
}

void frmCointoss::optRandom_Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{cmdGen, txtLength, lblChars})
        w->setEnabled(true);
    txtSeq->setReadOnly(true);
}

void frmCointoss::optManual_Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{cmdGen, txtLength, lblChars})
        w->setEnabled(false);
    txtSeq->setReadOnly(false);
    txtSeq->SetText(QString());
    seq.clear();
    ShowLength();
    txtSeq->setFocus();
}

void frmCointoss::txtSeq_Change() {
    if (optManual->isChecked())
        seq = txtSeq->Text();
    ShowLength();
}

void frmCointoss::ShowSequence(const QString& text) {
    txtSeq->SetText(text);
    // An unchanged text raises no Change.
    ShowLength();
}

void frmCointoss::cmdGen_Click() {
    int32_t n = 0;
    if (!cointoss::GeneratedLength(txtLength->text().toStdString(), n)) {
        // The typed length and the sequence stay as they are.
        platform::MessageBox(QString("A generated sequence has at most %L1 characters.").arg(cointoss::kMaxLength),
                             "Generate sequence", platform::MessageIcon::Exclamation);
        return;
    }
    txtLength->setText(QString::number(n));
    seq = QString::fromStdString(cointoss::Generate(n, [] { return platform::PRNGOpenDouble() >= 0.5; }));
    ShowSequence(seq);
}

void frmCointoss::cmdStats_Click() {
    std::string text = seq.toStdString();
    const int32_t longest = counts.Count(text);
    seq = QString::fromStdString(text);
    ShowSequence(seq);
    if (longest < 1) {
        platform::MessageBox("There must be at least one 1 in the sequence!", "Generate statistics",
                             platform::MessageIcon::Information);
        return;
    }
    auto* chart = new frmStats(this);
    chart->ReDimStats(longest);
    const std::vector<int32_t>& c = counts.Counts();
    for (int32_t k = 0; k <= longest; ++k)
        chart->SetStats(k, c[k]);
    chart->SetOuterHeightTwips((static_cast<int64_t>(longest) + 1) * 500);
    chart->ShowModeless();
}
