// frmScrivel: the analysis with its progress window, the language writer, the
// random text and the reports.

#include "Color.h"
#include "Dialogs.h"
#include "ListView.h"
#include "Modal.h"
#include "MultiLineTextBox.h"
#include "NumberFormat.h"
#include "ProgramFolder.h"
#include "ProgressBar.h"
#include "Pump.h"
#include "RandomText.h"
#include "RichTextBox.h"
#include "SafeReplace.h"
#include "TabStrip.h"
#include "Windows1252.h"
#include "frmAnalyzing.h"
#include "frmLetters.h"
#include "frmRandom.h"
#include "frmReport.h"
#include "frmScrivel.h"

#include <QFile>
#include <QPushButton>
#include <filesystem>
#include <system_error>

namespace {

enum Tab { kLetters = 1, kPairs = 2, kTriplets = 3, kLanguage = 4 };

constexpr const char* kSaveTitle = "Save language definition";
constexpr const char* kRandomTitle = "Generate random text";

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Every text of the column padded on the left to the longest, so that sorting the
// texts sorts the numbers.
void PadColumn(std::vector<QStringList>& rows, int column) {
    qsizetype longest = 0;
    for (const QStringList& row : rows)
        longest = std::max(longest, row[column].size());
    for (QStringList& row : rows)
        row[column] = row[column].rightJustified(longest, ' ');
}

} // namespace

// The progress window's bar follows the pass, which lets pending window messages
// run, so that Cancel answers. The count reports every 100 characters, a few
// nanoseconds of counting each; the bar and the pump (which runs messages at most
// every few milliseconds anyway) are served on every 16th of those reports, and
// after every language definition.
class frmScrivel::FormProgress final : public scrivel::AnalysisProgress {
public:
    static constexpr unsigned kCountReportsPerPump = 16;

    explicit FormProgress(frmScrivel& form) : form_(form) {}

    void Start(uint64_t maximum) override {
        // The first stage is the count, the second the languages.
        counting_ = stages_++ == 0;
        reports_ = 0;
        if (maximum > 0)
            form_.analyzing_->progAnal->SetMax(static_cast<int64_t>(maximum));
        form_.analyzing_->progAnal->SetValue(0);
    }

    bool Advance(uint64_t value) override {
        if (counting_ && ++reports_ % kCountReportsPerPump != 0)
            return !form_.CancelAnal;
        form_.analyzing_->progAnal->SetValue(static_cast<int64_t>(value));
        platform::DoEvents();
        return !form_.CancelAnal;
    }

private:
    frmScrivel& form_;
    unsigned stages_ = 0;
    unsigned reports_ = 0;
    bool counting_ = true;
};

bool frmScrivel::AnalyzeText() {
    if (busy_)
        return false;
    busy_ = true;
    CancelAnal = false;
    // Nothing may change the text, the settings or the arrays the pass reads.
    txtText->setReadOnly(true);
    for (QPushButton* b : {cmdLoad, cmdClear, cmdAnalyze, cmdSave, cmdSettings, cmdRandom, cmdReport})
        b->setEnabled(false);
    const std::string& bytes = TextBytes();
    const std::span<const uint8_t> text(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
    analyzing_->progAnal->SetValue(0);
    analyzing_->adjustSize();
    analyzing_->ShowModeless();
    FormProgress progress(*this);
    const scrivel::AnalysisOutcome outcome =
        stats_.AnalyzeText(text, letters_->Settings(), platform::ProgramFolder(), progress);
    analyzing_->hide();
    for (QPushButton* b : {cmdLoad, cmdClear, cmdAnalyze, cmdSave, cmdSettings, cmdRandom, cmdReport})
        b->setEnabled(true);
    txtText->setReadOnly(false);
    busy_ = false;
    const bool done = outcome == scrivel::AnalysisOutcome::Done && !closePending_;
    if (done)
        ShowStatistics();
    else
        ShowPrompt();
    if (closePending_) {
        closePending_ = false;
        close();
    }
    return done;
}

void frmScrivel::cmdAnalyze_Click() {
    AnalyzeText();
}

void frmScrivel::cmdSave_Click() {
    if (busy_)
        return;
    if (!valid_ && !AnalyzeText()) {
        if (isVisible())
            platform::MessageBox("Analysis interrupted, file not saved.", kSaveTitle,
                                 platform::MessageIcon::Information);
        return;
    }
    platform::FileRequest request;
    request.filter = "Language definitions (*.scrivel)|*.scrivel";
    request.defaultExt = QString::fromLatin1(scrivel::kLanguageExtension.data(),
                                             scrivel::kLanguageExtension.size());
    request.folder = QFile::decodeName(platform::ProgramFolder().string().c_str());
    const QString path = platform::SaveFileDialog(request);
    if (path.isEmpty())
        return;
    std::error_code error;
    if (std::filesystem::exists(FsPath(path), error) &&
        platform::MessageBox(path + " already exists. Replace?", kSaveTitle,
                             platform::MessageIcon::None,
                             platform::MessageButtons::YesNo) != platform::MessageResult::Yes)
        return;
    std::vector<uint8_t> bytes;
    // A text without a counted letter or pair has no frequencies to write.
    if (!stats_.LanguageDefinitionBytes(letters_->Settings(), bytes) ||
        !platform::ReplaceFileContents(FsPath(path), std::span<const uint8_t>(bytes)))
        platform::MessageBox("Error saving file", kSaveTitle, platform::MessageIcon::Critical);
}

void frmScrivel::cmdRandom_Click() {
    if (busy_)
        return;
    const std::optional<QString> answer =
        platform::InputBox("Characters to generate?", kRandomTitle, "1000");
    if (!answer)
        return;
    int32_t count = 0;
    switch (scrivel::ReadCharacterCount(answer->toStdString(), count)) {
    case scrivel::CharacterCount::Empty:
        return;
    case scrivel::CharacterCount::TooFew:
        platform::MessageBox("There must be at least 3 characters.", kRandomTitle,
                             platform::MessageIcon::Critical);
        return;
    case scrivel::CharacterCount::TooMany:
        platform::MessageBox(
            QString("There must be at most %1 characters.").arg(scrivel::kMaxRandomCharacters),
            kRandomTitle, platform::MessageIcon::Critical);
        return;
    case scrivel::CharacterCount::Valid:
        break;
    }
    if (!valid_ && !AnalyzeText())
        return;
    if (stats_.TotalTriplets() < 1) {
        platform::MessageBox("Not enough data", kRandomTitle, platform::MessageIcon::Critical);
        return;
    }
    GenerateRandomText(count);
}

void frmScrivel::GenerateRandomText(int32_t count) {
    randomGenerator_.Randomize();
    const std::string text =
        scrivel::GenerateRandomText(stats_, letters_->Settings(), count, randomGenerator_);
    random_ = std::make_unique<frmRandom>(this);
    random_->txtText->SetText(platform::FromWindows1252(text));
    platform::ShowModal(*random_);
}

void frmScrivel::cmdReport_Click() {
    if (busy_ || !valid_)
        return;
    report_ = std::make_unique<frmReport>(this);
    platform::ListView& list = *report_->lstRep;
    const int width = list.width();
    const int n = stats_.Size();
    const auto count = [](double v) { return platform::FormatGeneral(v); };
    std::vector<QStringList> rows;
    int countColumn = -1;
    switch (tabStats->SelectedIndex()) {
    case kLetters:
        report_->setWindowTitle("Letter occurrence report");
        list.AddColumn("Letter", width * 45 / 100);
        list.AddColumn("Occurrences", width * 45 / 100);
        for (int i = 0; i < n; ++i)
            if (stats_.LetterCount(i) > 0)
                rows.push_back({Label(i), count(stats_.LetterCount(i))});
        countColumn = 1;
        break;
    case kPairs:
        report_->setWindowTitle("Letter pair occurrence report");
        list.AddColumn("First", platform::TwipsToPixels(750));
        list.AddColumn("Second", platform::TwipsToPixels(750));
        list.AddColumn("Occurrences", width * 9 / 10 - platform::TwipsToPixels(1500));
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                if (stats_.PairCount(i, j) > 0)
                    rows.push_back({Label(i), Label(j), count(stats_.PairCount(i, j))});
        countColumn = 2;
        break;
    case kTriplets:
        report_->setWindowTitle("Letter triplet occurrence report");
        list.AddColumn("First", platform::TwipsToPixels(750));
        list.AddColumn("Second", platform::TwipsToPixels(750));
        list.AddColumn("Third", platform::TwipsToPixels(750));
        list.AddColumn("Occurrences", width * 9 / 10 - platform::TwipsToPixels(2250));
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                for (int k = 0; k < n; ++k)
                    if (stats_.TripletCount(i, j, k) > 0)
                        rows.push_back({Label(i), Label(j), Label(k),
                                        count(stats_.TripletCount(i, j, k))});
        countColumn = 3;
        break;
    case kLanguage: {
        report_->setWindowTitle("Language comparison report");
        for (const char* caption : {"Language", "Letter difference", "Pair difference"})
            list.AddColumn(caption, width * 3 / 10);
        const std::vector<double>& diff = stats_.LangDiff();
        if (!diff.empty() && diff[0] > -1)
            for (size_t i = 0; i < diff.size(); ++i)
                rows.push_back({LangName(i), platform::FormatFixed(stats_.LetterDiff()[i], 10),
                                platform::FormatFixed(stats_.PairDiff()[i], 10)});
        break;
    }
    default:
        break;
    }
    if (countColumn >= 0)
        PadColumn(rows, countColumn);
    list.AddRows(std::move(rows));
    platform::ShowModal(*report_);
}
