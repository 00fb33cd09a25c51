// frmNeuromesh: construction, load and unload, the strokes on the canvas, the
// modes and the selection of sample slots, and the pattern-set commands.

#include "frmNeuromesh.h"

#include "Color.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "Help.h"
#include "LayoutMinimum.h"
#include "Modal.h"
#include "NeuralLibrary.h"
#include "ListBox.h"
#include "PatternFile.h"
#include "ProgramFolder.h"
#include "ScrollBar.h"
#include "Slider.h"
#include "Surface.h"
#include "SurfaceShape.h"
#include "Timer.h"
#include "Windows1252.h"
#include "frmPatSet.h"
#include "frmTrain.h"

#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <system_error>

using platform::TwipsRect;

namespace {

QPushButton* NewButton(const char* caption, const QRect& geometry, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    return button;
}

// A picture of the window colour, drawing in twips.
platform::Surface* NewPicture(const QRect& geometry, QWidget* parent) {
    auto* picture = new platform::Surface(parent);
    picture->setGeometry(geometry);
    picture->SetScaleMode(platform::Surface::ScaleMode::Twips);
    picture->SetBackColor(platform::ToQColor(platform::kWindowColor));
    return picture;
}

} // namespace

frmNeuromesh::frmNeuromesh(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Veritope - Neuromesh");

    framPatterns = new QGroupBox("Pattern set", this);
    framPatterns->setGeometry(TwipsRect(200, 200, 6200, 5025));
    // Under every control of the frame, in the frame's own twips.
    patternsSurface = new platform::Surface(framPatterns);
    patternsSurface->setGeometry(QRect(2, 20, framPatterns->width() - 4, framPatterns->height() - 22));
    patternsSurface->SetScaleMode(platform::Surface::ScaleMode::Twips);
    patternsSurface->SetOrigin(QPoint(platform::PixelsToTwips(2), platform::PixelsToTwips(20)));
    patternsSurface->SetBackColor(platform::ToQColor(platform::kButtonFaceColor));
    shpPatSelector = &patternsSurface->AddShape();
    shpPatSelector->SetBorderColor(platform::ToQColor(0xC00000));
    shpPatSelector->SetGeometry(0, 0, 350, 350);
    cmdPatternSet = NewButton("Pattern set settings", TwipsRect(210, 300, 1900, 450), framPatterns);
    cmdSave = NewButton("Save pattern set", TwipsRect(2160, 300, 1750, 450), framPatterns);
    cmdLoad = NewButton("Load pattern set", TwipsRect(3960, 300, 1750, 450), framPatterns);
    scrPats = new platform::ScrollBar(Qt::Vertical, framPatterns);
    scrPats->setGeometry(TwipsRect(5715, 1000, 270, 3825));
    scrPats->SetMin(0);
    scrPats->SetMax(0);
    scrPats->SetSmallChange(1);
    scrPats->SetLargeChange(kVisibleRows);

    framWorkspace = new QGroupBox("Drawing workspace", this);
    framWorkspace->setGeometry(TwipsRect(6600, 200, 3400, 3500));
    picCanvas = NewPicture(TwipsRect(200, 350, 3000, 3000), framWorkspace);

    framMode = new QGroupBox("Mode", this);
    framMode->setGeometry(TwipsRect(6600, 3900, 3400, 1325));
    optDefine = new QRadioButton("Edit pattern set", framMode);
    optDefine->setGeometry(TwipsRect(200, 350, 3000, 300));
    optRecognize = new QRadioButton("Recognize", framMode);
    optRecognize->setGeometry(TwipsRect(200, 800, 3000, 300));

    framNet = new QGroupBox("Neural network", this);
    framNet->setGeometry(TwipsRect(10200, 200, 4180, 5025));
    picNet = new platform::Surface(framNet);
    picNet->setGeometry(TwipsRect(190, 350, 3800, 2800));
    picNet->SetBackColor(platform::ToQColor(platform::kButtonFaceColor));
    lblDiff = new QLabel("Label1", framNet);
    lblDiff->setGeometry(TwipsRect(190, 3250, 3800, 300));
    cmdTrain = NewButton("Train network", TwipsRect(190, 3650, 1850, 450), framNet);
    cmdNetSet = NewButton("Edit network design", TwipsRect(2140, 3650, 1850, 450), framNet);
    cmdSaveNet = NewButton("Save network", TwipsRect(190, 4250, 1850, 450), framNet);
    cmdLoadNet = NewButton("Load network", TwipsRect(2140, 4250, 1850, 450), framNet);

    timAnim = new platform::Timer(this);
    timAnim->SetEnabled(false);
    timAnim->SetInterval(100);
    timCapture = new platform::Timer(this);
    timCapture->SetEnabled(false);
    timCapture->SetInterval(1);

    connect(optDefine, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optDefine_Click();
    });
    connect(optRecognize, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optRecognize_Click();
    });
    scrPats->onChange = [this](int) { scrPats_Change(); };
    picCanvas->onMouseDown = [this](const platform::MouseEvent& e) { picCanvas_MouseDown(e); };
    picCanvas->onMouseMove = [this](const platform::MouseEvent& e) { picCanvas_MouseMove(e); };
    picCanvas->onMouseUp = [this](const platform::MouseEvent& e) { picCanvas_MouseUp(e); };
    timAnim->onTimer = [this] { timAnim_Timer(); };
    timCapture->onTimer = [this] { timCapture_Timer(); };
    connect(cmdPatternSet, &QPushButton::clicked, this, [this] { cmdPatternSet_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(cmdTrain, &QPushButton::clicked, this, [this] { cmdTrain_Click(); });
    connect(cmdNetSet, &QPushButton::clicked, this, [this] { cmdNetSet_Click(); });
    connect(cmdSaveNet, &QPushButton::clicked, this, [this] { cmdSaveNet_Click(); });
    connect(cmdLoadNet, &QPushButton::clicked, this, [this] { cmdLoadNet_Click(); });
    platform::BindHelpKey(this, kHelpTopic);

    // The frames keep their places: the window keeps room for them and its margin.
    platform::KeepControlsWhole(
        *this, {framPatterns->geometry(), framMode->geometry(), framNet->geometry()},
        TwipsRect(0, 0, 200, 200).size());
    resize(TwipsRect(0, 0, 14580, 5430).size());
    Form_Load();
}

frmNeuromesh::~frmNeuromesh() {
    Form_Unload();
}

void frmNeuromesh::Form_Load() {
    marked = -100;
    neuromesh::Initialize_();
    int32_t sizes[] = {1, 25, 1};
    neuromesh::NewNetwork_(3, sizes);
    patset_ = neuromesh::PatternSet(); // 26 categories "a" to "z", 3 samples of 10 points
    net_.inputvec.assign(size_t(patset_.Components()), 0.0);
    net_.outputvec.assign(size_t(patset_.pattypes()), 0.0);
    BuildPatternRows();
    CaptionCategories();
    LayoutPatternRows();
    SetMode(1);
    FitNetworkToPatterns();

    const std::filesystem::path folder = platform::ProgramFolder();
    std::error_code error;
    if (std::filesystem::exists(folder / kRecentPatternSet, error)) {
        LoadPatternFile(folder / kRecentPatternSet);
        if (std::filesystem::exists(folder / kRecentNetwork, error))
            LoadNetworkFile(folder / kRecentNetwork);
    }
}

void frmNeuromesh::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmNeuromesh::ShowDialog(QDialog& dialog) {
    const auto showing = closeGuard_.Enter();
    modal_ = &dialog;
    platform::ShowModal(dialog);
    modal_ = nullptr;
}

void frmNeuromesh::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    timCapture->SetEnabled(false);
    timAnim->SetEnabled(false);
    const std::filesystem::path folder = platform::ProgramFolder();
    SavePatternFile(folder / kRecentPatternSet);
    SaveNetworkFile(folder / kRecentNetwork);
    neuromesh::Finalize_();
}

void frmNeuromesh::CaptionCategories() {
    for (int c = 0; c < patset_.pattypes(); ++c)
        optPattern[c].setText(platform::FromWindows1252(patset_.patnames()[size_t(c)]));
}

// ---------------------------------------------------------------------------
// Strokes

void frmNeuromesh::picCanvas_MouseDown(const platform::MouseEvent& event) {
    picCanvas->Clear();
    ShowBars(false);
    stroke_.Press(float(event.x), float(event.y));
    timCapture->SetEnabled(true);
}

void frmNeuromesh::picCanvas_MouseMove(const platform::MouseEvent& event) {
    if (!timCapture->Enabled())
        return;
    picCanvas->SetPen(Qt::black);
    picCanvas->Line(QPointF(stroke_.lastx(), stroke_.lasty()), QPointF(event.x, event.y));
    stroke_.Move(float(event.x), float(event.y));
}

void frmNeuromesh::timCapture_Timer() {
    stroke_.Tick();
}

void frmNeuromesh::picCanvas_MouseUp(const platform::MouseEvent&) {
    // A second button's release ends no stroke that was already ended.
    if (!timCapture->Enabled())
        return;
    timCapture->SetEnabled(false);
    picCanvas->Clear();
    const auto outcome =
        neuromesh::ResampleStroke(stroke_, patset_.inputsize(), float(picCanvas->ScaleWidth()),
                                  float(picCanvas->ScaleHeight()), sampled_, net_.inputvec);
    if (outcome != neuromesh::StrokeOutcome::kKept)
        return;
    picCanvas->SetPen(platform::ToQColor(255));
    const int n = patset_.inputsize();
    auto point = [this](int i) {
        return QPointF(sampled_[2 * size_t(i)], sampled_[2 * size_t(i) + 1]);
    };
    picCanvas->CircleOutline(point(0), 50);
    for (int i = 1; i < n; ++i) {
        picCanvas->Line(point(i - 1), point(i));
        picCanvas->CircleOutline(point(i), 50);
    }
    if (mode == 2) {
        RecognizeStroke();
        return;
    }
    patset_.SetSample(cursample, net_.inputvec);
    DrawThumbnail(cursample);
    SelectSampleSlot(patset_.NextSlot(cursample));
}

void frmNeuromesh::RecognizeStroke() {
    const int best = net_.RecognizeStroke(patset_);
    if (best < 0)
        return;
    for (int k = 0; k < patset_.pattypes(); ++k) {
        platform::SurfaceShape& bar = *shpBar[size_t(k)];
        const double width = net_.outputvec[size_t(k)] * maxbarwidth;
        bar.SetGeometry(bar.Left(), bar.Top(), int(platform::RoundHalfEven(width)), bar.Height());
    }
    SetOptionChecked(best, true);
    ScrollToCategory(best);
    ShowBars(true);
}

void frmNeuromesh::ShowBars(bool show) {
    const int first = scrPats->Value();
    const int last = patset_.pattypes() < 12 ? patset_.pattypes() - 1 : first + 10;
    for (int row = 0; row < int(shpBar.size()); ++row) {
        const bool visibleRow = row >= first && row <= last;
        shpBar[size_t(row)]->SetVisible(visibleRow && show);
        if (visibleRow && !show && mode == 2)
            SetOptionChecked(row, false);
    }
    barsshown = show;
    if (!show)
        picCanvas->Clear();
}

void frmNeuromesh::SetOptionChecked(int category, bool checked) {
    QRadioButton& option = optPattern[category];
    if (checked) {
        option.setChecked(true);
        return;
    }
    // An option of an exclusive group cannot be cleared by itself.
    option.setAutoExclusive(false);
    option.setChecked(false);
    option.setAutoExclusive(true);
}

// ---------------------------------------------------------------------------
// Modes and sample slots

void frmNeuromesh::optDefine_Click() {
    mode = 1;
    shpPatSelector->SetVisible(true);
    SelectSampleSlot(0);
}

void frmNeuromesh::optRecognize_Click() {
    mode = 2;
    shpPatSelector->SetVisible(false);
}

void frmNeuromesh::SetMode(int m) {
    QRadioButton* option = m == 1 ? optDefine : optRecognize;
    if (option->isChecked()) {
        if (m == 1)
            optDefine_Click();
        else
            optRecognize_Click();
    } else {
        option->setChecked(true); // its toggle runs the handler
    }
    if (m == 1)
        SelectSampleSlot(0);
}

void frmNeuromesh::picPattern_Click(int index) {
    if (mode == 1)
        SelectSampleSlot(index);
}

void frmNeuromesh::SelectSampleSlot(int slot) {
    const int category = patset_.CategoryOf(slot);
    ScrollToCategory(category);
    cursample = int16_t(slot);
    SetOptionChecked(category, true);
    const QPoint at = ThumbnailTwips(slot);
    shpPatSelector->Move(at.x() - 25, at.y() - 25);
    shpPatSelector->SetVisible(true);
    ShowBars(false);
    picCanvas->Clear();
}

void frmNeuromesh::ScrollToCategory(int category) {
    // Setting the value lays the rows out through its change.
    if (category < scrPats->Value())
        scrPats->SetValue(category);
    if (scrPats->Value() + 10 < category)
        scrPats->SetValue(category - 10);
}

void frmNeuromesh::scrPats_Change() {
    LayoutPatternRows();
}

// ---------------------------------------------------------------------------
// Pattern sets

namespace {

const platform::FileRequest kPatternFiles{"", "Neuromesh pattern files (*.pat)|*.pat", "pat", "",
                                          "", false};

std::filesystem::path FilePath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

} // namespace

void frmNeuromesh::cmdLoad_Click() {
    platform::FileRequest request = kPatternFiles;
    request.title = "Load pattern set";
    const QString name = platform::OpenFileDialog(request);
    if (name.isEmpty())
        return;
    LoadPatternFile(FilePath(name));
}

void frmNeuromesh::cmdSave_Click() {
    platform::FileRequest request = kPatternFiles;
    request.title = "Save pattern set";
    const QString name = platform::SaveFileDialog(request);
    if (name.isEmpty())
        return;
    std::error_code error;
    if (std::filesystem::exists(FilePath(name), error) &&
        platform::MessageBox("File exists. Overwrite?", "Save pattern set",
                             platform::MessageIcon::None,
                             platform::MessageButtons::YesNo) != platform::MessageResult::Yes)
        return;
    SavePatternFile(FilePath(name));
}

void frmNeuromesh::LoadPatternFile(const std::filesystem::path& path) {
    std::optional<neuromesh::PatternSet> loaded = neuromesh::LoadPatternFile(path);
    if (!loaded) {
        platform::MessageBox("Error opening file", "Load pattern file",
                             platform::MessageIcon::Critical);
        return;
    }
    patset_ = std::move(*loaded);
    BuildPatternRows();
    CaptionCategories();
    DrawAllThumbnails();
    SetMode(patset_.AnyEmpty() ? 1 : 2);
    FitNetworkToPatterns();
    LayoutPatternRows();
    ShowBars(false);
}

void frmNeuromesh::SavePatternFile(const std::filesystem::path& path) {
    if (!neuromesh::SavePatternFile(path, patset_))
        platform::MessageBox("Error saving file", "Save pattern file",
                             platform::MessageIcon::Critical);
}

void frmNeuromesh::cmdPatternSet_Click() {
    frmPatSet dialog(*this);
    dialog.lstPats->Clear();
    for (const std::string& name : patset_.patnames())
        dialog.lstPats->AddItem(platform::FromWindows1252(name));
    dialog.sldSamples->SetValue(patset_.patternnumber());
    dialog.sldAccuracy->SetValue(patset_.inputsize());
    dialog.sldSamples_Change();
    dialog.sldAccuracy_Change();
    ShowDialog(dialog);
}

void frmNeuromesh::UpdatePatSettings(const frmPatSet& dialog) {
    std::vector<std::string> names;
    for (int i = 0; i < dialog.lstPats->ListCount(); ++i)
        names.push_back(platform::ToWindows1252(dialog.lstPats->List(i)));
    if (!patset_.Redefine(std::move(names), dialog.sldSamples->Value(),
                          dialog.sldAccuracy->Value()))
        return;
    BuildPatternRows();
    CaptionCategories();
    ShowBars(false);
    DrawAllThumbnails();
    LayoutPatternRows();
    FitNetworkToPatterns();
    SetMode(1);
}

// ---------------------------------------------------------------------------
// Training

void frmNeuromesh::cmdTrain_Click() {
    frmTrain dialog(*this);
    training_ = &dialog;
    ShowDialog(dialog);
    training_ = nullptr;
}
