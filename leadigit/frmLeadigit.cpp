// frmLeadigit: construction, layout and resize, the chart on every paint, the
// data files and the digit counts.

#include "frmLeadigit.h"

#include "Color.h"
#include "DigitChart.h"
#include "Dialogs.h"
#include "FreeMemory.h"
#include "Help.h"
#include "LayoutMinimum.h"
#include "ListView.h"
#include "ProgramFolder.h"
#include "StatusBar.h"
#include "Surface.h"
#include "SurfaceShape.h"
#include "Windows1252.h"
#include "frmDir.h"
#include "frmScanning.h"

#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <algorithm>
#include <filesystem>

namespace {

using platform::TwipsRect;

// The chart drawn on the window's surface, in the window's font.
class SurfaceCanvas : public leadigit::ChartCanvas {
public:
    explicit SurfaceCanvas(platform::Surface& surface) : surface_(surface) {}

    int TextWidth(std::string_view text) override { return surface_.TextWidth(Text(text)); }
    int TextHeight(std::string_view text) override { return surface_.TextHeight(Text(text)); }
    void SetColor(uint32_t bgr) override { surface_.SetPen(platform::ToQColor(bgr)); }
    void Line(double x1, double y1, double x2, double y2) override {
        surface_.Line(QPointF(x1, y1), QPointF(x2, y2));
    }
    void Text(int x, int y, std::string_view text) override { surface_.Print({x, y}, Text(text)); }

private:
    static QString Text(std::string_view text) {
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }

    platform::Surface& surface_;
};

std::filesystem::path FileSystemPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

frmLeadigit::frmLeadigit(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Veritope - Leadigit");
    // The small type of the design, so that the longest caption fits its button.
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);

    surface = new platform::Surface(this);
    surface->SetBackColor(Qt::white);
    shpBack = &surface->AddShape();
    shpBack->SetBorderColor(std::nullopt);
    shpBack->SetFillColor(platform::ToQColor(platform::kButtonFaceColor));
    shpBack->SetGeometry(TwipsRect(0, 0, 10500, 3540));
    shpGraph = &surface->AddShape();
    shpGraph->SetGeometry(TwipsRect(0, 3540, 10500, 2940));

    framData = new QGroupBox("Data to analize", this);
    framData->setGeometry(TwipsRect(150, 150, 3450, 3225));
    const struct {
        QPushButton** button;
        const char* caption;
        int top;
        void (frmLeadigit::*click)();
    } buttons[] = {
        {&cmdPopulations, "Populations of countries (year 2000)", 300,
         &frmLeadigit::cmdPopulations_Click},
        {&cmdArea, "Areas of countries (km^2)", 705, &frmLeadigit::cmdArea_Click},
        {&cmdConsts, "List of Magnitudes", 1110, &frmLeadigit::cmdConsts_Click},
        {&cmdCompanies, "Company values", 1510, &frmLeadigit::cmdCompanies_Click},
        {&cmdSizes, "Scan disk for file sizes", 2080, &frmLeadigit::cmdSizes_Click},
        {&cmdFile, "Import data from a file...", 2650, &frmLeadigit::cmdFile_Click},
    };
    for (const auto& b : buttons) {
        *b.button = new QPushButton(b.caption, framData);
        (*b.button)->setGeometry(TwipsRect(210, b.top, 3000, 400));
        connect(*b.button, &QPushButton::clicked, this, [this, click = b.click] { (this->*click)(); });
    }

    lvNumbers = new platform::ListView(this);
    lvNumbers->setGeometry(TwipsRect(3750, 225, 3450, 3135));
    lvNumbers->AddColumn("Item", lvNumbers->width() / 2);
    lvNumbers->AddColumn("Value", lvNumbers->width() / 2);

    statBar = new platform::StatusBar(this);
    statBar->AddPanel("total", QString());

    dirForm = new frmDir(this);
    scanningForm = new frmScanning(*this);
    platform::BindHelpKey(this, kHelpTopic);

    Form_Load();
    surface->onPaint = [this] { Form_Paint(); };
    // The data buttons, the list and the chart with its axis labels need their design room.
    platform::KeepControlsWhole(*this,
                                {framData->geometry(), lvNumbers->geometry(), shpGraph->Geometry()},
                                {0, statBar->sizeHint().height()});
    resize(platform::TwipsToPixels(10500), platform::TwipsToPixels(6855));
    Form_Resize();
}

frmLeadigit::~frmLeadigit() = default;

void frmLeadigit::Form_Load() {
    ClearData();
}

void frmLeadigit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmLeadigit::Form_Resize() {
    if (isMinimized())
        return;
    const int w = width();
    const int h = height();
    const int barHeight = statBar->sizeHint().height();
    statBar->setGeometry(0, h - barHeight, w, barHeight);
    shpBack->SetGeometry(0, 0, w, shpBack->Height());
    shpGraph->SetGeometry(0, shpGraph->Top(), w, shpGraph->Height());
    if (h - shpBack->Height() - barHeight > 0)
        shpGraph->SetGeometry(0, shpGraph->Top(), w, h - shpBack->Height() - barHeight);
    if (w - framData->width() - 30 > 0)
        lvNumbers->resize(w - framData->width() - 30, lvNumbers->height());
    const int listWidth = lvNumbers->width();
    lvNumbers->SetColumnWidth(0, listWidth / 2);
    if (listWidth - lvNumbers->ColumnWidth(0) - 30 > 0)
        lvNumbers->SetColumnWidth(1, listWidth - lvNumbers->ColumnWidth(0) - 30);
    // A new size repaints the surface by itself.
    const QSize before = surface->size();
    surface->setGeometry(0, 0, w, h);
    if (surface->size() == before)
        surface->Refresh();
}

void frmLeadigit::Form_Paint() {
    surface->Clear();
    SurfaceCanvas canvas(*surface);
    leadigit::DrawDigitChart(
        digitCounts,
        {shpGraph->Left(), shpGraph->Top(), shpGraph->Width(), shpGraph->Height()}, canvas);
}

void frmLeadigit::ShowNewRows() {
    // In batches, so that the texts of a long source are never all held as
    // strings at once; the list keeps them compactly.
    constexpr size_t kBatch = 16384;
    std::vector<QStringList> batch;
    for (size_t at = 0; at < rows_.size(); at += kBatch) {
        const size_t end = std::min(rows_.size(), at + kBatch);
        batch.reserve(end - at);
        for (size_t i = at; i < end; ++i) {
            const leadigit::NumberRow& row = rows_[i];
            listCounts_.Add(row.value);
            if (rowsAreFileNames_)
                batch.push_back({QFile::decodeName(row.name.c_str()), QString::fromLatin1(row.value)});
            else
                batch.push_back({platform::FromWindows1252(row.name), platform::FromWindows1252(row.value)});
        }
        lvNumbers->AddRows(std::move(batch));
    }
    rows_.clear();
}

void frmLeadigit::ReleaseReadRows() {
    const size_t bytes = rows_.capacity() * sizeof(leadigit::NumberRow);
    std::vector<leadigit::NumberRow>().swap(rows_);
    platform::ReleasedLarge(bytes);
}

void frmLeadigit::ClearData() {
    rows_.clear();
    lvNumbers->Clear();
    listCounts_ = {};
    CountLeadingDigits();
}

void frmLeadigit::CountLeadingDigits() {
    digitCounts = listCounts_;
    statBar->SetPanelText("total", QString::fromStdString(digitCounts.StatusText()));
}

void frmLeadigit::LoadDataFile(const QString& path) {
    std::filesystem::path file = FileSystemPath(path);
    std::error_code error;
    if (file.is_relative() && !std::filesystem::exists(file, error) &&
        std::filesystem::exists(platform::ProgramFolder() / file, error))
        file = platform::ProgramFolder() / file;
    const leadigit::LoadOutcome outcome = leadigit::LoadDataFile(file, rows_);
    if (outcome != leadigit::LoadOutcome::NotOpened) {
        // The rows read replace the list, also when the file failed part way.
        lvNumbers->Clear();
        listCounts_ = {};
        rowsAreFileNames_ = false;
        ShowNewRows();
        ReleaseReadRows();
        CountLeadingDigits();
        surface->Refresh();
    }
    if (outcome != leadigit::LoadOutcome::Read)
        platform::MessageBox("Error reading " + path, "Loading file", platform::MessageIcon::Critical);
}

void frmLeadigit::cmdPopulations_Click() {
    if (!scan)
        LoadDataFile("Pop2000.txt");
}

void frmLeadigit::cmdArea_Click() {
    if (!scan)
        LoadDataFile("Area.txt");
}

void frmLeadigit::cmdConsts_Click() {
    if (!scan)
        LoadDataFile("Constants.txt");
}

void frmLeadigit::cmdCompanies_Click() {
    if (!scan)
        LoadDataFile("Companies.txt");
}

void frmLeadigit::cmdFile_Click() {
    if (scan)
        return;
    platform::FileRequest request;
    request.filter = "Text files (*.txt)|*.txt|All Files (*.*)|*.*";
    const QString chosen = platform::OpenFileDialog(request);
    if (!chosen.isEmpty())
        LoadDataFile(chosen);
}
