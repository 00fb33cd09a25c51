#pragma once

#include "LetterStatistics.h"
#include "RuntimeRandom.h"

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

class QLabel;
class QPushButton;
class frmAnalyzing;
class frmLetters;
class frmRandom;
class frmReport;

namespace platform {
class RichTextBox;
class Surface;
class SurfaceLabel;
class SurfaceShape;
class TabStrip;
} // namespace platform

// The main window of Scrivel: the text to analyse, the commands, and a bar chart
// of the 20 largest values of the statistic the tabs select. The statistics are
// valid or invalid: any change of the text or of the character settings makes them
// invalid and hides the chart behind a prompt until the next analysis.
//
// The analysis reads the text as Windows-1252 bytes, which the window keeps beside
// the text box: as read from a file, or taken from the box once after it changed.
// Characters the code page lacks are left out, which counts them as characters
// that are not counted.
class frmScrivel : public QWidget {
public:
    static constexpr int kBars = 20;
    static constexpr const char* kHelpTopic = "scrivel.htm";

    explicit frmScrivel(QWidget* parent = nullptr);
    ~frmScrivel() override;

    // --- handlers ----------------------------------------------------------------
    void txtText_Change();
    void tabStats_Click();
    void cmdClear_Click();
    void cmdLoad_Click();
    void cmdAnalyze_Click();
    void cmdSave_Click();
    void cmdSettings_Click();
    void cmdRandom_Click();
    void cmdReport_Click();
    // The progress window's Cancel.
    void CancelAnalysis() { CancelAnal = true; }

    // --- the analysis and the chart ------------------------------------------------
    // The whole pass with the progress window; true when it completed.
    bool AnalyzeText();
    void ClearBars();
    void InsertBar(const QString& name, double value);
    void ShowStatistics();

    bool StatisticsValid() const { return valid_; }
    bool Busy() const { return busy_; }
    const scrivel::LetterStatistics& Statistics() const { return stats_; }
    // The label of an alphabet index, as the chart and the reports show it.
    QString Label(int index) const;
    QString LangName(size_t i) const;

    frmLetters& Letters() const { return *letters_; }
    frmAnalyzing& Analyzing() const { return *analyzing_; }
    // The last report or random text shown, null before the first.
    frmReport* Report() const { return report_.get(); }
    frmRandom* Random() const { return random_.get(); }

    // One row of the chart as it stands: its name, value (-1 when empty), the bar's
    // length in twips and whether it is shown.
    struct BarRow {
        QString name;
        double value = -1;
        int length = 0;
        bool visible = false;
    };
    const BarRow& Bar(int k) const { return rows_[k]; }

    bool CancelAnal = false;

    // --- controls ------------------------------------------------------------------
    platform::RichTextBox* txtText = nullptr;
    QPushButton* cmdLoad = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdAnalyze = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdSettings = nullptr;
    QPushButton* cmdRandom = nullptr;
    QPushButton* cmdReport = nullptr;
    platform::TabStrip* tabStats = nullptr;
    // The chart (a surface in twips) and the prompt in front of it while invalid.
    platform::Surface* framBars0 = nullptr;
    QWidget* framBars1 = nullptr;
    QLabel* lblPress = nullptr;
    std::array<platform::SurfaceLabel*, kBars> lblBar{};
    std::array<platform::SurfaceShape*, kBars> shpBar{};
    std::array<platform::SurfaceLabel*, kBars> lblBar2{};

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class FormProgress;

    void Form_Load();
    void ShowPrompt();
    // The bytes the analysis reads; taken from the text box when it changed.
    const std::string& TextBytes();
    // Shows row k from rows_: its name, bar and value label.
    void ShowRow(int k);
    void SetBarLength(int k, int length);
    void GenerateRandomText(int32_t count);

    scrivel::LetterStatistics stats_;
    platform::RuntimeRandom randomGenerator_;
    std::array<BarRow, kBars> rows_{};
    int BarWidth = 0;
    bool valid_ = false;
    bool busy_ = false;
    bool closePending_ = false;
    std::string textBytes_;
    bool textBytesKnown_ = true;
    bool settingText_ = false;
    frmLetters* letters_ = nullptr;
    frmAnalyzing* analyzing_ = nullptr;
    std::unique_ptr<frmReport> report_;
    std::unique_ptr<frmRandom> random_;
};
