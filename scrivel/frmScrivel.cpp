// frmScrivel: construction and layout, load and unload, the text, the tabs, and
// the settings window.

#include "frmScrivel.h"

#include "Color.h"
#include "Dialogs.h"
#include "Help.h"
#include "Modal.h"
#include "ProgramFolder.h"
#include "RichTextBox.h"
#include "Surface.h"
#include "TabStrip.h"
#include "Windows1252.h"
#include "frmAnalyzing.h"
#include "frmLetters.h"
#include "frmRandom.h"
#include "frmReport.h"

#include <QCloseEvent>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QPushButton>

namespace {

using platform::TwipsRect;

// Design values in twips.
constexpr int kButtonWidth = 2200;
constexpr int kButtonHeight = 400;
constexpr int kFrameLeft = 7300;
constexpr int kFrameTop = 600;
constexpr int kFrameWidth = 4575;
constexpr int kFrameHeight = 7000;
constexpr int kRowTop = 60;
constexpr int kRowStep = 320;
constexpr int kNameWidth = 1200;
constexpr int kBarHeight = 220;
constexpr int kDesignBarWidth = 2500;
// The bars' colour, &HC0C0FF.
constexpr uint32_t kBarColor = 0xC0C0FF;

} // namespace

frmScrivel::frmScrivel(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Veritope - Scrivel");
    setFixedSize(platform::TwipsToPixels(12345), platform::TwipsToPixels(7845));

    txtText = new platform::RichTextBox(this);
    txtText->setGeometry(TwipsRect(100, 100, 6900, 6650));
    txtText->onChange = [this] { txtText_Change(); };

    // The commands' font is a little smaller than the window's, so that the longest
    // caption, "Save language definition", fits its button.
    QFont commandFont = font();
    commandFont.setPointSizeF(commandFont.pointSizeF() * 0.9);
    const auto button = [this, &commandFont](const char* caption, int left, int top) {
        auto* b = new QPushButton(caption, this);
        b->setFont(commandFont);
        b->setGeometry(TwipsRect(left, top, kButtonWidth, kButtonHeight));
        return b;
    };
    cmdLoad = button("Load from file", 100, 6850);
    cmdAnalyze = button("Analyze", 2400, 6850);
    cmdClear = button("Clear", 4700, 6850);
    cmdSave = button("Save language definition", 100, 7350);
    cmdRandom = button("Generate random text", 2400, 7350);
    cmdSettings = button("Character settings", 4700, 7350);
    connect(cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(cmdAnalyze, &QPushButton::clicked, this, [this] { cmdAnalyze_Click(); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdRandom, &QPushButton::clicked, this, [this] { cmdRandom_Click(); });
    connect(cmdSettings, &QPushButton::clicked, this, [this] { cmdSettings_Click(); });

    tabStats = new platform::TabStrip(this);
    tabStats->setGeometry(TwipsRect(7100, 100, 5130, 7650));
    for (const char* caption : {"Letters", "Pairs", "Triplets", "Language"})
        tabStats->AddTab(caption);
    tabStats->onClick = [this] { tabStats_Click(); };

    framBars0 = new platform::Surface(this);
    framBars0->setGeometry(TwipsRect(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight));
    framBars0->SetScaleMode(platform::Surface::ScaleMode::Twips);
    framBars0->SetBackColor(platform::ToQColor(platform::kButtonFaceColor));
    // The rows' type is a little smaller than the window's, so that a name of three
    // labels, "[Spc][Spc][Spc]" the widest, fits its 1200 twips.
    QFont chartFont = font();
    chartFont.setPointSizeF(chartFont.pointSizeF() * 0.8);
    framBars0->setFont(chartFont);
    for (int k = 0; k < kBars; ++k) {
        const int top = kRowTop + k * kRowStep;
        lblBar[k] = &framBars0->AddLabel();
        lblBar[k]->SetGeometry(0, top, kNameWidth, kBarHeight + 40);
        lblBar[k]->SetBackColor(std::nullopt);
        shpBar[k] = &framBars0->AddShape();
        shpBar[k]->SetGeometry(kNameWidth, top, kDesignBarWidth, kBarHeight);
        shpBar[k]->SetFillColor(platform::ToQColor(kBarColor));
        lblBar2[k] = &framBars0->AddLabel();
        lblBar2[k]->SetAutoSize(true);
        lblBar2[k]->SetBackColor(std::nullopt);
        lblBar2[k]->Move(kNameWidth + kDesignBarWidth + 100, top);
    }
    cmdReport = new QPushButton("Complete report", framBars0);
    cmdReport->setFont(commandFont);
    cmdReport->setGeometry(TwipsRect(1200, 6495, 2500, kButtonHeight));
    connect(cmdReport, &QPushButton::clicked, this, [this] { cmdReport_Click(); });

    framBars1 = new QWidget(this);
    framBars1->setGeometry(TwipsRect(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight));
    lblPress = new QLabel("Press \"Analyze\" to update statistical information", framBars1);
    lblPress->setGeometry(TwipsRect(0, 2520, kFrameWidth, 600));
    lblPress->setAlignment(Qt::AlignCenter);
    lblPress->setWordWrap(true);
    tabStats->AddFrame(framBars0);
    tabStats->AddFrame(framBars1);

    analyzing_ = new frmAnalyzing(*this);
    letters_ = new frmLetters(this);
    platform::BindHelpKey(this, kHelpTopic);

    Form_Load();
}

frmScrivel::~frmScrivel() {
    // Before the statistics go: nothing of theirs may reach a half-destroyed window.
    report_.reset();
    random_.reset();
    delete analyzing_;
    delete letters_;
}

void frmScrivel::Form_Load() {
    BarWidth = shpBar[0]->Width();
    ClearBars();
    letters_->Initialize();
    letters_->UpdateLookupTable();
    stats_.ResizeCounts(letters_->All());
    ShowPrompt();
}

void frmScrivel::closeEvent(QCloseEvent* event) {
    // The analysis is a loop further up the stack: end it first, then close.
    if (busy_) {
        CancelAnal = true;
        closePending_ = true;
        event->ignore();
        return;
    }
    analyzing_->hide();
    letters_->hide();
    if (report_)
        report_->hide();
    if (random_)
        random_->hide();
    event->accept();
}

void frmScrivel::ShowPrompt() {
    tabStats->BringToFront(framBars1);
    valid_ = false;
}

const std::string& frmScrivel::TextBytes() {
    if (!textBytesKnown_) {
        textBytes_ = platform::ToWindows1252Only(txtText->Text());
        textBytesKnown_ = true;
    }
    return textBytes_;
}

void frmScrivel::txtText_Change() {
    // The bytes are taken from the box when next analysed.
    if (!settingText_)
        textBytesKnown_ = false;
    ShowPrompt();
}

void frmScrivel::tabStats_Click() {
    if (valid_ && !busy_)
        ShowStatistics();
}

void frmScrivel::cmdClear_Click() {
    if (busy_)
        return;
    txtText->SetText(QString());
}

void frmScrivel::cmdLoad_Click() {
    if (busy_)
        return;
    platform::FileRequest request;
    request.filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
    request.defaultExt = "txt";
    const QString path = platform::OpenFileDialog(request);
    if (path.isEmpty())
        return;
    std::string bytes;
    if (!scrivel::ReadTextFile(QFile::encodeName(path).toStdString(), bytes)) {
        platform::MessageBox("Error opening file", "Load text from file",
                             platform::MessageIcon::Critical);
        return;
    }
    // The bytes read are the text the analysis reads.
    settingText_ = true;
    txtText->SetText(platform::FromWindows1252(bytes));
    settingText_ = false;
    textBytes_ = std::move(bytes);
    textBytesKnown_ = true;
    ShowPrompt();
}

void frmScrivel::cmdSettings_Click() {
    if (busy_)
        return;
    platform::ShowModal(*letters_);
    letters_->UpdateLookupTable();
    stats_.ResizeCounts(letters_->All());
    ShowPrompt();
}

QString frmScrivel::Label(int index) const {
    return frmLetters::char2string(letters_->Ind2Char(index));
}

QString frmScrivel::LangName(size_t i) const {
    return QFile::decodeName(QByteArray::fromStdString(stats_.LangName()[i]));
}
