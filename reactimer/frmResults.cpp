#include "frmResults.h"

#include "Color.h"
#include "Dialogs.h"
#include "Help.h"
#include "Surface.h"

#include <QPushButton>
#include <QResizeEvent>

namespace {

using platform::TwipsToPixels;

// The file dialog of the window: text files, ".txt" added to a bare name.
platform::FileRequest ResultsFileRequest() {
    platform::FileRequest request;
    request.filter = "Text files (*.txt)|*.txt";
    request.defaultExt = "txt";
    return request;
}

} // namespace

frmResults::frmResults(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Results");
    surface = new platform::Surface(this);
    surface->SetBackColor(Qt::white);
    cmdSave = new QPushButton("Save results", this);
    cmdSave->resize(TwipsToPixels(1770), TwipsToPixels(390));
    cmdSave->setAutoDefault(false);
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    surface->onPaint = [this] { Form_Paint(); };
    // Room for the margins, the legends and a plot of some height.
    setMinimumSize(TwipsToPixels(6000), TwipsToPixels(4500));
    resize(TwipsToPixels(11010), TwipsToPixels(5625));
    Form_Resize();
    platform::BindHelpKey(this, "reactimer.htm");
}

frmResults::~frmResults() = default;

void frmResults::SetStat(int ind, double st) {
    if (ind >= 0 && ind < reactimer::kMaxStages)
        means_[static_cast<size_t>(ind)] = st;
}

bool frmResults::OpenAFile() {
    const QString path = platform::OpenFileDialog(ResultsFileRequest());
    if (path.isEmpty())
        return false;
    reactimer::StageResults results;
    if (!reactimer::LoadResultsFile(path.toStdString(), results)) {
        platform::MessageBox("Error opening file", "Reactimer", platform::MessageIcon::Critical);
        return false;
    }
    means_ = results.means;
    nums = static_cast<int16_t>(results.nums);
    return true;
}

void frmResults::cmdSave_Click() {
    const QString path = platform::SaveFileDialog(ResultsFileRequest());
    if (path.isEmpty())
        return;
    if (!reactimer::SaveResultsFile(path.toStdString(), means_, nums))
        platform::MessageBox("Error saving file", "Reactimer", platform::MessageIcon::Critical);
}

void frmResults::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmResults::Form_Resize() {
    // A new size repaints the surface by itself.
    const QSize before = surface->size();
    surface->setGeometry(0, 0, width(), height());
    if (surface->size() == before)
        surface->Refresh();
}

void frmResults::Form_Paint() {
    surface->Clear();
    reactimer::ChartInput input;
    input.results.means = means_;
    input.results.nums = nums;
    input.width = surface->width();
    input.height = surface->height();
    input.buttonWidth = cmdSave->width();
    input.buttonHeight = cmdSave->height();
    input.measure = [this](const std::string& text) {
        const QString s = QString::fromLatin1(text);
        return reactimer::TextExtent{surface->TextWidth(s), surface->TextHeight(s)};
    };
    chart_ = reactimer::DrawChart(input);
    cmdSave->move(chart_.buttonLeft, chart_.buttonTop);
    for (const reactimer::ChartMark& mark : chart_.marks) {
        surface->SetPen(platform::ToQColor(mark.color));
        if (mark.kind == reactimer::ChartMark::Kind::Line)
            surface->Line(QPoint(mark.x1, mark.y1), QPoint(mark.x2, mark.y2));
        else
            surface->Print(QPoint(mark.x1, mark.y1), QString::fromLatin1(mark.text));
    }
}
