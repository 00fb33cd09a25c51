// frmCooperon: construction, layout and load, the run, the buttons, the
// settings and unload.

#include "frmCooperon.h"

#include "Color.h"
#include "DefaultButtons.h"
#include "Dialogs.h"
#include "Help.h"
#include "LayoutMinimum.h"
#include "Modal.h"
#include "ScrollBar.h"
#include "SettingsRules.h"
#include "StatusBar.h"
#include "Surface.h"
#include "TextBox.h"
#include "frmSettings.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <cmath>
#include <utility>

using cooperon::Finalize_;
using cooperon::GetGameParams_;
using cooperon::GetPayoffs_;
using cooperon::GetRepParams_;
using cooperon::GetSize_;
using cooperon::Initialize_;
using cooperon::NewPop_;
using cooperon::Reset_;
using cooperon::SetGameParams_;
using cooperon::SetPayoffs_;
using cooperon::SetRepParams_;
using cooperon::SetSize_;
using cooperon::Step_;
using platform::TwipsRect;

namespace {

QPushButton* NewButton(const char* caption, const QRect& geometry, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    // A focused button takes Enter itself (and is sized for the default frame).
    button->setAutoDefault(true);
    return button;
}

// The width a button needs to show its whole caption in its font.
int WidthForCaption(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (button.autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    const QRect contents =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    return button.fontMetrics().horizontalAdvance(button.text()) + option.rect.width() -
           contents.width();
}

QString QText(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Shows a box's text from its start.
void Fill(platform::TextBox& box, const QString& text) {
    box.setText(text);
    box.setCursorPosition(0);
}

std::string Text(const platform::TextBox& box) {
    return box.text().toStdString();
}

} // namespace

frmCooperon::frmCooperon(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Veritope - Cooperon");
    platform::BindHelpKey(this, kHelpTopic);

    lblPopulation = new QLabel("Population genotypes", this);
    lblPopulation->setGeometry(TwipsRect(200, 200, 3000, 255));
    picPopCanvas = new platform::Surface(this);
    picPopCanvas->setGeometry(TwipsRect(200, 600, 6000, 8000));
    cmdActions = NewButton("Response strategy", TwipsRect(220, 620, 4480, 300), this);
    cmdInitial = NewButton("Initial assumption", TwipsRect(4700, 620, 1500, 300), this);
    scrPop = new platform::ScrollBar(Qt::Vertical, this);
    scrPop->setGeometry(TwipsRect(6200, 900, 270, 7700));
    scrPop->SetMin(0);
    scrPop->SetMax(0);
    scrPop->SetSmallChange(1);
    scrPop->SetLargeChange(1);

    lblExpression = new QLabel("Individual genes", this);
    lblExpression->setGeometry(TwipsRect(6670, 200, 3000, 255));
    optCurrent = new QRadioButton("Current", this);
    optCurrent->setGeometry(TwipsRect(9670, 200, 1500, 255));
    optCurrent->setChecked(true);
    optAverage = new QRadioButton("Average", this);
    optAverage->setGeometry(TwipsRect(11170, 200, 1500, 255));
    picCanvas = new platform::Surface(this);
    picCanvas->setGeometry(TwipsRect(6670, 600, 6000, 8000));
    cmdSituation = NewButton("Situation", TwipsRect(6690, 620, 980, 300), this);
    cmdAction = NewButton("Response", TwipsRect(7670, 620, 3000, 300), this);
    cmdStart = NewButton("Initially assumed", TwipsRect(10670, 620, 2000, 300), this);

    cmdGo = NewButton("Go", TwipsRect(2200, 8800, 2000, 400), this);
    cmdReset = NewButton("Reset", TwipsRect(5500, 8800, 2000, 400), this);
    cmdSettings = NewButton("Settings", TwipsRect(8800, 8800, 2000, 400), this);

    timEvolve = new QTimer(this);
    timEvolve->setInterval(1);
    timEvolve->setTimerType(Qt::PreciseTimer);

    statBar = new platform::StatusBar(this);
    statBar->setSizeGripEnabled(false);
    statBar->AddPanel(kGenerationPanel, "Generation 1");

    for (platform::Surface* picture : {picPopCanvas, picCanvas})
        picture->SetBackColor(Qt::white);
    // The header buttons lie over the top strip of their pictures. A click on
    // one leaves the focus where it was, so that Enter still clicks Go.
    const int widened = FitCaptions();
    for (QPushButton* header : {cmdActions, cmdInitial, cmdSituation, cmdAction, cmdStart}) {
        header->raise();
        header->setFocusPolicy(Qt::TabFocus);
    }

    connect(cmdGo, &QPushButton::clicked, this, [this] { cmdGo_Click(); });
    connect(timEvolve, &QTimer::timeout, this, [this] { timEvolve_Timer(); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    connect(cmdSettings, &QPushButton::clicked, this, [this] { cmdSettings_Click(); });
    connect(cmdActions, &QPushButton::clicked, this, [this] { cmdActions_Click(); });
    connect(cmdInitial, &QPushButton::clicked, this, [this] { cmdInitial_Click(); });
    connect(cmdSituation, &QPushButton::clicked, this, [this] { cmdSituation_Click(); });
    connect(cmdAction, &QPushButton::clicked, this, [this] { cmdAction_Click(); });
    connect(cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(optCurrent, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optCurrent_Click();
    });
    connect(optAverage, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optAverage_Click();
    });
    scrPop->onChange = [this](int) { scrPop_Change(); };
    // Enter clicks the button that has the focus; elsewhere it clicks Go.
    defaultButtons_ = new platform::DefaultButtons(this);
    defaultButtons_->SetDefault(cmdGo);

    resize(TwipsRect(0, 0, 12870, 9750).size() + QSize(widened, 0));
    Form_Load();
}

frmCooperon::~frmCooperon() {
    Form_Unload();
}

int frmCooperon::FitCaptions() {
    const std::pair<QPushButton*, platform::Surface*> headers[] = {
        {cmdActions, picPopCanvas},
        {cmdInitial, picPopCanvas},
        {cmdSituation, picCanvas},
        {cmdAction, picCanvas},
        {cmdStart, picCanvas}};
    int widened = 0;
    for (const auto& [header, picture] : headers) {
        const int missing = WidthForCaption(*header) - header->width();
        if (missing <= 0)
            continue;
        // What lies right of the header and above the buttons moves along.
        const int right = header->geometry().right();
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->x() > right && child->y() < cmdGo->y())
                child->move(child->x() + missing, child->y());
        }
        header->resize(header->width() + missing, header->height());
        picture->resize(picture->width() + missing, picture->height());
        widened += missing;
    }
    return widened;
}

void frmCooperon::Form_Load() {
    Initialize_();
    LayoutAtLoad();
    NewPop_(64);
    SetPayoffs_(1, 0, 20, 10);
    SetRepParams_(1.0 / 70, 2.0 / 70);
    SetGameParams_(50, 4);
    populationOrder_ = cooperon::kByResponseGenes;
    chartOrder_ = cooperon::kBySituation;
    cmdReset_Click();
    // Go is the default button: Enter clicks it from the start.
    cmdGo->setFocus();
}

void frmCooperon::LayoutAtLoad() {
    picCanvas->resize(picCanvas->width(), cmdActions->height() + 579);
    scrPop->resize(scrPop->width(), picCanvas->height() - cmdAction->height());
    picPopCanvas->resize(picPopCanvas->width(), picCanvas->height());
    // 200 twips below the pictures, and again below the buttons and status bar.
    constexpr double kGap = 200.0 / platform::kTwipsPerPixel;
    const double goTop = picCanvas->y() + picCanvas->height() + kGap;
    for (QPushButton* button : {cmdGo, cmdReset, cmdSettings})
        button->move(button->x(), int(std::lround(goTop)));
    const int statusHeight = statBar->sizeHint().height();
    resize(width(), int(std::lround(goTop + cmdGo->height() + statusHeight + kGap)));
    statBar->setGeometry(0, height() - statusHeight, width(), statusHeight);
    // The controls keep their places: the window keeps the size that holds them with their margins.
    platform::KeepControlsWhole(*this, {rect()});
    // Drawings persist: each picture's image takes its size before the first drawing.
    picPopCanvas->Refresh();
    picCanvas->Refresh();
}

void frmCooperon::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int statusHeight = statBar->sizeHint().height();
    statBar->setGeometry(0, height() - statusHeight, width(), statusHeight);
}

void frmCooperon::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmCooperon::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    timEvolve->stop();
    Finalize_();
}

void frmCooperon::cmdGo_Click() {
    if (cmdGo->text() == "Go") {
        cmdGo->setText("Stop");
        timEvolve->start();
    } else {
        cmdGo->setText("Go");
        timEvolve->stop();
    }
}

void frmCooperon::timEvolve_Timer() {
    Step_();
    // Wraps rather than overflows after 2^31 generations.
    generation_ = int32_t(uint32_t(generation_) + 1u);
    GatherStats();
    SortPopulation();
    DrawChart();
}

void frmCooperon::cmdReset_Click() {
    Reset_();
    generation_ = 1;
    stats_.ClearSums();
    GatherStats();
    SortPopulation();
    DrawChart();
}

void frmCooperon::cmdSettings_Click() {
    frmSettings dialog(*this);
    int32_t payoffs[4] = {};
    GetPayoffs_(&payoffs[0], &payoffs[1], &payoffs[2], &payoffs[3]);
    for (int i = 0; i < 4; ++i)
        Fill(*dialog.txtPayoff[i], QString::number(payoffs[i]));
    int32_t games = 0;
    int32_t sessions = 0;
    GetGameParams_(&games, &sessions);
    Fill(*dialog.txtGames, QString::number(games));
    Fill(*dialog.txtTours, QString::number(sessions));
    Fill(*dialog.txtSize, QString::number(GetSize_()));
    double mutation = 0;
    double crossover = 0;
    GetRepParams_(&mutation, &crossover);
    Fill(*dialog.txtMut, QText(cooperon::FormatProbability(mutation)));
    Fill(*dialog.txtCross, QText(cooperon::FormatProbability(crossover)));
    platform::ShowModal(dialog);
}

void frmCooperon::UpdateSettings(const frmSettings& settings) {
    using cooperon::IntegerSetting;
    SetPayoffs_(
        IntegerSetting(Text(*settings.txtPayoff[0])), IntegerSetting(Text(*settings.txtPayoff[1])),
        IntegerSetting(Text(*settings.txtPayoff[2])), IntegerSetting(Text(*settings.txtPayoff[3])));
    SetGameParams_(IntegerSetting(Text(*settings.txtGames)),
                   IntegerSetting(Text(*settings.txtTours)));
    SetSize_(IntegerSetting(Text(*settings.txtSize)));
    SetRepParams_(cooperon::ProbabilitySetting(Text(*settings.txtMut)),
                  cooperon::ProbabilitySetting(Text(*settings.txtCross)));
}

void frmCooperon::cmdActions_Click() {
    populationOrder_ = cooperon::kByResponseGenes;
    SortPopulation();
    DrawChart();
}

void frmCooperon::cmdInitial_Click() {
    populationOrder_ = cooperon::kByInitialMemory;
    SortPopulation();
    DrawChart();
}

void frmCooperon::cmdSituation_Click() {
    chartOrder_ = cooperon::kBySituation;
    DrawChart();
}

void frmCooperon::cmdAction_Click() {
    chartOrder_ = cooperon::kByResponseShare;
    DrawChart();
}

void frmCooperon::cmdStart_Click() {
    chartOrder_ = cooperon::kByInitialShare;
    DrawChart();
}

void frmCooperon::optCurrent_Click() {
    DrawChart();
}

void frmCooperon::optAverage_Click() {
    DrawChart();
}

void frmCooperon::scrPop_Change() {
    DrawPopulation();
}

void frmCooperon::GatherStats() {
    stats_.GatherStats(population_);
}

void frmCooperon::SortPopulation() {
    memberOrder_.SortPopulation(population_, populationOrder_);
}
