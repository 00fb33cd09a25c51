// frmPegfall: the controls, the load, the window layout on resize, the levels
// text, Clear and Animate.

#include "frmPegfall.h"

#include "Color.h"
#include "Conversions.h"
#include "DefaultButtons.h"
#include "Help.h"
#include "LayoutMinimum.h"
#include "PegPictures.h"
#include "Slider.h"
#include "Surface.h"
#include "SurfaceImage.h"
#include "SurfaceLabel.h"
#include "SurfaceLine.h"
#include "SurfaceShape.h"
#include "TextBox.h"
#include "Timer.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>

namespace {

using pegfall::PegBoard;

platform::SurfaceLabel& NewPanelLabel(platform::Surface& surface, const char* caption,
                                      const QRect& at, platform::SurfaceLabel::Alignment align) {
    platform::SurfaceLabel& label = surface.AddLabel();
    label.SetText(caption);
    label.SetGeometry(at);
    label.SetAlignment(align);
    return label;
}

} // namespace

frmPegfall::frmPegfall(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Veritope - Pegfall");
    platform::BindHelpKey(this, kHelpTopic);
    CreateControls();
    Form_Load();
    // The speed controls keep their design places below the design width. The areas follow the
    // height while the bin area stays taller than a label: H - canvas top - (H - panel - 3 L) / 2
    // - 3 L > L, so H > 2 (canvas top + 4 L) - panel - 3 L.
    constexpr int kLeastHeight =
        static_cast<int>(2 * (PegBoard::kCanvasTop + 4 * PegBoard::kLabelHeight) -
                         PegBoard::kPanelHeight - 3 * PegBoard::kLabelHeight) +
        1;
    platform::KeepControlsWhole(*this, {lblFast->Geometry(), chkAnimate->geometry()}, {5, 0},
                                {0, kLeastHeight});
    resize(static_cast<int>(PegBoard::kDesignWidth), static_cast<int>(PegBoard::kDesignHeight));
    Form_Resize();
}

frmPegfall::~frmPegfall() = default;

void frmPegfall::CreateControls() {
    using Alignment = platform::SurfaceLabel::Alignment;
    surface = new platform::Surface(this);
    surface->SetBackColor(Qt::white);
    surface->setGeometry(0, 0, static_cast<int>(PegBoard::kDesignWidth),
                         static_cast<int>(PegBoard::kDesignHeight));

    shpBack = &surface->AddShape();
    shpBack->SetBorderColor(std::nullopt);
    shpBack->SetFillColor(platform::ToQColor(platform::kButtonFaceColor));
    shpBack->SetGeometry(0, 0, static_cast<int>(PegBoard::kDesignWidth),
                         static_cast<int>(PegBoard::kPanelHeight));
    linSep = &surface->AddLine();
    linSep->SetColor(platform::ToQColor(platform::kWindowTextColor));
    linSep->SetPoints(QPointF(0, PegBoard::kPanelHeight),
                      QPointF(PegBoard::kDesignWidth, PegBoard::kPanelHeight));
    lblPegs = &NewPanelLabel(*surface, "Levels", QRect(7, 22, 66, 25), Alignment::Right);
    lblSlow = &NewPanelLabel(*surface, "Slow", QRect(449, 35, 46, 25), Alignment::Right);
    lblFast = &NewPanelLabel(*surface, "Fast", QRect(582, 35, 46, 25), Alignment::Left);

    txtPegs = new platform::TextBox(this);
    txtPegs->setGeometry(82, 19, 50, 25);
    txtPegs->setText("8");
    cmdGo = new QPushButton("Go", this);
    cmdGo->setGeometry(239, 5, 155, 25);
    cmdClean = new QPushButton("Clear", this);
    cmdClean->setGeometry(239, 35, 155, 25);
    chkAnimate = new QCheckBox("Animate", this);
    chkAnimate->setGeometry(488, 5, 100, 25);
    chkAnimate->setChecked(true);
    sldSpeed = new platform::Slider(this);
    sldSpeed->setGeometry(500, 30, 77, 30);
    sldSpeed->SetMin(0);
    sldSpeed->SetMax(4);
    sldSpeed->SetLargeChange(1);
    sldSpeed->SetValue(2);
    timAnim = new platform::Timer(this);
    timAnim->SetEnabled(false);
    timAnim->SetInterval(100);
    defaultButtons = new platform::DefaultButtons(this);
    defaultButtons->SetDefault(cmdGo);

    // The two areas only hold their places; they draw nothing.
    shpCanvas = &surface->AddShape();
    shpCanvas->SetBorderColor(std::nullopt);
    shpResults = &surface->AddShape();
    shpResults->SetBorderColor(std::nullopt);

    // Entry 0 of each control array, with the design properties the others copy.
    platform::SurfaceImage& peg = surface->AddImage();
    peg.SetPicture(pegfall::PegPicture());
    imTwig.push_back(&peg);
    imBall = &surface->AddImage();
    imBall->SetPicture(pegfall::BallPicture());
    platform::SurfaceShape& bar = surface->AddShape();
    bar.SetFillColor(platform::ToQColor(0xC0E0FF));
    bar.SetBorderColor(platform::ToQColor(0x0000FF));
    shpBar.push_back(&bar);
    platform::SurfaceLabel& label = surface->AddLabel();
    label.SetText("Label1");
    label.SetAlignment(Alignment::Center);
    label.SetBackColor(std::nullopt);
    label.SetForeColor(platform::ToQColor(platform::kWindowTextColor));
    label.SetGeometry(0, 0, static_cast<int>(PegBoard::kLabelWidth),
                      static_cast<int>(PegBoard::kLabelHeight));
    lblBar.push_back(&label);
    platform::SurfaceLine& segment = surface->AddLine();
    segment.SetColor(platform::ToQColor(0xFF0000));
    linGauss.push_back(&segment);

    txtPegs->onChange = [this] { txtPegs_Change(); };
    connect(cmdGo, &QPushButton::clicked, this, [this] { cmdGo_Click(); });
    connect(cmdClean, &QPushButton::clicked, this, [this] { cmdClean_Click(); });
    connect(chkAnimate, &QCheckBox::toggled, this, [this] { chkAnimate_Click(); });
    sldSpeed->onChange = [this](int) { sldSpeed_Change(); };
    timAnim->onTimer = [this] { timAnim_Timer(); };
}

void frmPegfall::Form_Load() {
    cr = std::make_unique<clsRaiser>();
    cr->FullSpeed = [this] { cr_FullSpeed(); };
    pegMark_ = 0;
    barMark_ = 0;
    curveMark_ = 0;
    board_.SetLevels(PegBoard::ReadLevels(txtPegs->text().toStdString()));
    LayoutBoard();
    ResetBall();
    ResetBins();
    surface->update();
}

void frmPegfall::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmPegfall::Form_Resize() {
    const int w = width();
    // Without a width there is no pitch to lay the board out by: the last layout stays.
    if (w <= 0)
        return;
    surface->setGeometry(0, 0, w, height());
    linSep->SetPoints(QPointF(0, PegBoard::kPanelHeight), QPointF(w, PegBoard::kPanelHeight));
    const int slowLeft = w - 15 - sldSpeed->width() - lblFast->Width() - lblSlow->Width();
    if (slowLeft > 0) {
        lblSlow->Move(slowLeft, lblSlow->Top());
        sldSpeed->move(lblSlow->Left() + lblSlow->Width() + 5, sldSpeed->y());
        lblFast->Move(sldSpeed->x() + sldSpeed->width() + 5, lblFast->Top());
        const double offset =
            (sldSpeed->width() + lblFast->Width() + lblSlow->Width() + 10 - chkAnimate->width()) /
            2.0;
        chkAnimate->move(platform::NearestInt(slowLeft + offset), chkAnimate->y());
    }
    const double buttonLeft = w / 2.0 - cmdClean->width() / 2.0;
    if (buttonLeft > 0) {
        cmdClean->move(platform::NearestInt(buttonLeft), cmdClean->y());
        cmdGo->move(platform::NearestInt(buttonLeft), cmdGo->y());
    }
    shpBack->SetGeometry(0, 0, w, shpBack->Height());
    board_.SetClientWidth(w);
    LayoutPanels();
}

void frmPegfall::closeEvent(QCloseEvent* event) {
    // A full-speed loop ends before its next ball; the program ends with the window.
    closed_ = true;
    timAnim->SetEnabled(false);
    event->accept();
}

void frmPegfall::ResetBins() {
    board_.ResetBins();
}

void frmPegfall::LayoutPanels() {
    board_.LayoutPanels(height());
    PlaceAreas();
    LayoutBoard();
    ResetBall();
    DrawHistogram();
}

void frmPegfall::ResetBall() {
    ball_.Reset(board_);
    PlaceBall();
}

void frmPegfall::txtPegs_Change() {
    const int levels = PegBoard::ReadLevels(txtPegs->text().toStdString());
    board_.SetLevels(levels);
    // Writing the levels back raises this handler once more, which then settles.
    txtPegs->setText(QString::number(levels));
    LayoutBoard();
    ResetBall();
    ResetBins();
    DrawHistogram();
}

void frmPegfall::cmdClean_Click() {
    ResetBins();
    DrawHistogram();
}

void frmPegfall::chkAnimate_Click() {
    const bool animate = chkAnimate->isChecked();
    imBall->SetVisible(animate);
    board_.SetAnimate(animate);
    LayoutPanels();
    ResetBall();
}

void frmPegfall::EnableLevels(bool enabled) {
    lblPegs->SetForeColor(
        platform::ToQColor(enabled ? platform::kButtonTextColor : platform::kGrayTextColor));
    txtPegs->setEnabled(enabled);
}
