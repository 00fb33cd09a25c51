// Scrivel's main window: the valid/invalid state, the chart, the reports, the
// language writer, the random text and loading a text.

#include "Color.h"
#include "HelpKeyPress.h"
#include "ListView.h"
#include "MultiLineTextBox.h"
#include "OddFiles.h"
#include "SafeReplace.h"
#include "ScrivelFixture.h"
#include "Surface.h"
#include "WindowSizeChecks.h"
#include "frmAnalyzing.h"
#include "frmRandom.h"
#include "frmReport.h"

#include <QLabel>

namespace scrivel_test {
namespace {

TEST_F(ScrivelFixture, ChartHidesBehindThePromptUntilAnAnalysisOfTheTextAsItStands) {
    EXPECT_TRUE(platform_test::KeepsItsSize(Form()));
    EXPECT_FALSE(ChartInFront());
    EXPECT_FALSE(Form().cmdReport->isVisible());
    EXPECT_TRUE(Form().lblPress->isVisible());
    // Switching tabs while invalid shows nothing.
    Form().tabStats->Select(2);
    EXPECT_FALSE(ChartInFront());
    Form().tabStats->Select(1);

    Analyze("AAB");
    EXPECT_TRUE(ChartInFront());
    EXPECT_TRUE(Form().StatisticsValid());
    EXPECT_TRUE(Form().cmdReport->isVisible());
    EXPECT_EQ(Chart(), "A 2\nB 1\n");

    // One more character hides the chart, and the tabs do not bring it back.
    Form().txtText->SetText("AABC");
    EXPECT_FALSE(ChartInFront());
    EXPECT_FALSE(Form().StatisticsValid());
    Form().tabStats->Select(2);
    EXPECT_FALSE(ChartInFront());
    Form().cmdAnalyze->click();
    EXPECT_EQ(Chart(), "AA 1\nAB 1\nBC 1\n");
    Form().cmdClear->click();
    EXPECT_TRUE(Form().txtText->Text().isEmpty());
    EXPECT_FALSE(ChartInFront());

    // Equal counts keep index order.
    Analyze("BA");
    Form().tabStats->Select(1);
    EXPECT_EQ(Chart(), "A 1\nB 1\n");
}

TEST_F(ScrivelFixture, TwentyRowsOfTheLargestValuesWithBarsToScale) {
    // Letter i of the alphabet i + 1 times: Z to G take the 20 rows.
    QString text;
    for (int i = 0; i < 26; ++i)
        text += QString(i + 1, QChar('A' + i)) + ' ';
    Analyze(text);
    EXPECT_EQ(Form().Bar(0).name, "[Spc]");
    EXPECT_EQ(Form().Bar(1).name, "Z");
    EXPECT_EQ(Form().Bar(19).name, "H");
    EXPECT_EQ(Form().Bar(19).value, 8);
    EXPECT_EQ(Form().Bar(0).length, 2500);
    EXPECT_EQ(Form().Bar(1).length, 2500);
    EXPECT_EQ(Form().Bar(19).length, 769); // 2500 * 8 / 26
    EXPECT_EQ(Form().shpBar[19]->Width(), 769);
    // The value label stands 100 twips right of its bar.
    EXPECT_EQ(Form().lblBar2[19]->Left(), 1200 + 769 + 100);
    EXPECT_EQ(Form().lblBar2[19]->Text(), "8");

    // The bar is drawn in its colour where it reaches and not beyond.
    const QImage shown = Form().framBars0->Composite();
    const QColor bar = platform::ToQColor(0xC0C0FF);
    const auto at = [&](int x, int row) {
        return shown.pixelColor(platform::TwipsToPixels(x), platform::TwipsToPixels(60 + 320 * row + 110));
    };
    EXPECT_EQ(at(1200 + 700, 19), bar);
    EXPECT_NE(at(1200 + 1000, 19), bar);
    EXPECT_EQ(at(1200 + 2400, 1), bar);
}

TEST_F(ScrivelFixture, AnalysisCancelledLeavesTheStatisticsInvalidAndTheWindowClosesAfterIt) {
    Analyze("Hello world");
    ASSERT_TRUE(Form().StatisticsValid());
    // A cancel while the pass runs, also when it was valid before.
    Form().txtText->SetText(QString(4000, 'x'));
    int calls = 0;
    platform::SetDoEventsHook([&] {
        EXPECT_TRUE(Form().Busy());
        EXPECT_TRUE(Form().Analyzing().isVisible());
        // The commands do not act while the pass runs.
        EXPECT_FALSE(Form().cmdSettings->isEnabled());
        if (++calls == 2)
            Form().Analyzing().cmdCancel->click();
    });
    Form().cmdAnalyze->click();
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(Form().StatisticsValid());
    EXPECT_FALSE(ChartInFront());
    EXPECT_FALSE(Form().Analyzing().isVisible());
    EXPECT_TRUE(Form().cmdSettings->isEnabled());

    // Closing the window during the pass ends the pass first, then the window.
    calls = 0;
    platform::SetDoEventsHook([&] {
        if (++calls == 1)
            Form().close();
    });
    Form().cmdAnalyze->click();
    platform::SetDoEventsHook(nullptr);
    EXPECT_FALSE(Form().isVisible());
    EXPECT_FALSE(Form().Busy());
}

// The rows of the report list as "text|text|..." lines.
std::string Rows(const platform::ListView& list) {
    std::string rows;
    for (int r = 0; r < list.RowCount(); ++r) {
        for (int c = 0; c < list.ColumnCount(); ++c)
            rows += (c ? "|" : "") + list.Text(r, c).toStdString();
        rows += "\n";
    }
    return rows;
}

TEST_F(ScrivelFixture, ReportsListTheCountsPaddedSortByAClickAndSaveAsTabbedLines) {
    Analyze("AAB");
    std::string shown;
    onModal_ = [&](QDialog& dialog) {
        auto& report = static_cast<frmReport&>(dialog);
        shown = report.windowTitle().toStdString() + "\n" + Rows(*report.lstRep);
        EXPECT_TRUE(platform_test::KeepsItsSize(report));
        dialogs_.AnswerFile(Q(dir_ / "letters.txt"));
        report.cmdSave->click();
    };
    Form().cmdReport->click();
    EXPECT_EQ(shown, "Letter occurrence report\nA|2\nB|1\n");
    EXPECT_EQ(ReadFile(dir_ / "letters.txt"), "A\t2\r\nB\t1\r\n");
    EXPECT_EQ(dialogs_.Requests().back().file.filter, "Text files (*.txt)|*.txt");

    // Counts padded to the longest, so that the texts sort as numbers; a second
    // click on the same column reverses the order.
    Analyze("AAAAAAAAAA BB C");
    Form().tabStats->Select(1);
    std::vector<std::string> orders;
    onModal_ = [&](QDialog& dialog) {
        platform::ListView& list = *static_cast<frmReport&>(dialog).lstRep;
        for (int click = 0; click < 3; ++click) {
            orders.push_back(Rows(list));
            list.ClickColumn(1);
        }
    };
    Form().cmdReport->click();
    ASSERT_EQ(orders.size(), 3u);
    EXPECT_EQ(orders[0], "[Spc]| 2\nA|10\nB| 2\nC| 1\n");
    EXPECT_EQ(orders[1], "C| 1\n[Spc]| 2\nB| 2\nA|10\n");
    EXPECT_EQ(orders[2], "A|10\n[Spc]| 2\nB| 2\nC| 1\n");

    Form().tabStats->Select(3);
    onModal_ = [&](QDialog& dialog) {
        auto& report = static_cast<frmReport&>(dialog);
        shown = report.windowTitle().toStdString() + "\n" + Rows(*report.lstRep);
        EXPECT_EQ(report.lstRep->ColumnCount(), 4);
        EXPECT_EQ(report.lstRep->ColumnWidth(0), 50);
    };
    Analyze("ABAB");
    Form().cmdReport->click();
    EXPECT_EQ(shown, "Letter triplet occurrence report\nA|B|A|1\nB|A|B|1\n");
}

TEST_F(ScrivelFixture, LanguagesChartedClosestFirstWithoutValuesAndReportedByName) {
    Analyze("Hello world");
    dialogs_.AnswerFile(Q(dir_ / "English.scrivel"));
    Form().cmdSave->click();
    const platform::FileRequest& request = dialogs_.Requests().back().file;
    EXPECT_EQ(request.filter, "Language definitions (*.scrivel)|*.scrivel");
    EXPECT_EQ(request.defaultExt, "scrivel");
    EXPECT_EQ(request.folder, Q(dir_));
    // One definition: one full bar without a value; none when the text matches it.
    Form().tabStats->Select(4);
    Analyze("Quite another text");
    EXPECT_EQ(Chart(), "English " + QString::number(Form().Bar(0).value).toStdString() + "\n");
    EXPECT_EQ(Form().Bar(0).length, 2500);
    EXPECT_FALSE(Form().lblBar2[0]->IsVisible());
    Analyze("Hello world");
    EXPECT_EQ(Chart(), "");

    for (const auto& [name, text] : {std::pair{"Beta", "zzzz yyyy zzzz"},
                                     std::pair{"Alpha", "the cat sat on the mat"}}) {
        Analyze(text);
        dialogs_.AnswerFile(Q(dir_ / (std::string(name) + ".scrivel")));
        Form().cmdSave->click();
    }
    Analyze("the cat sat on a mat");
    EXPECT_EQ(Chart().substr(0, 6), "Alpha ");
    std::vector<std::string> names;
    onModal_ = [&](QDialog& dialog) {
        auto& report = static_cast<frmReport&>(dialog);
        EXPECT_EQ(report.windowTitle(), "Language comparison report");
        platform::ListView& list = *report.lstRep;
        EXPECT_EQ(list.ColumnCaption(1), "Letter difference");
        EXPECT_EQ(list.Text(0, 1).size(), 12); // ten decimals
        for (int click = 0; click < 3; ++click) {
            names.emplace_back();
            for (int r = 0; r < list.RowCount(); ++r)
                names.back() += list.Text(r, 0).toStdString() + " ";
            list.ClickColumn(1);
        }
    };
    Form().cmdReport->click();
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha Beta English ", "Alpha English Beta ",
                                               "Beta English Alpha "}));
}

TEST_F(ScrivelFixture, LanguageWriterAsksBeforeReplacingAndRefusesWhatItCannotWrite) {
    const std::filesystem::path path = WriteFile("Old.scrivel", "old");
    // Not analysed yet: the writer analyses first.
    Form().txtText->SetText("Some text");
    dialogs_.AnswerFile(Q(path));
    dialogs_.AnswerMessage(platform::MessageResult::No);
    Form().cmdSave->click();
    EXPECT_TRUE(Form().StatisticsValid());
    const platform::DialogRequest& question = dialogs_.Requests().back();
    EXPECT_EQ(question.text, Q(path) + " already exists. Replace?");
    EXPECT_EQ(question.title, "Save language definition");
    EXPECT_EQ(question.icon, platform::MessageIcon::None);
    EXPECT_EQ(question.buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(ReadFile(path), "old");

    dialogs_.AnswerFile(Q(path));
    dialogs_.AnswerMessage(platform::MessageResult::Yes);
    Form().cmdSave->click();
    EXPECT_GT(ReadFile(path).size(), 2048u);

    // A single counted character has no pair: nothing to divide by. A full disk
    // fails the save too; either way the previous file stays as it was.
    const std::string previous = ReadFile(path);
    for (const char* text : {"A", "Other words"}) {
        platform::SafeReplaceWriteLimit full(100);
        Analyze(text);
        dialogs_.AnswerFile(Q(path));
        dialogs_.AnswerMessage(platform::MessageResult::Yes);
        dialogs_.AnswerMessage(platform::MessageResult::Ok);
        Form().cmdSave->click();
        EXPECT_EQ(dialogs_.Requests().back().text, "Error saving file");
        EXPECT_EQ(dialogs_.Requests().back().icon, platform::MessageIcon::Critical);
        EXPECT_EQ(ReadFile(path), previous);
    }
    // A read-only definition is not replaced, by root either.
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    dialogs_.AnswerFile(Q(path));
    dialogs_.AnswerMessage(platform::MessageResult::Yes);
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Form().cmdSave->click();
    EXPECT_EQ(dialogs_.Requests().back().text, "Error saving file");
    EXPECT_EQ(dialogs_.Requests().back().title, "Save language definition");
    EXPECT_EQ(ReadFile(path), previous);
    std::filesystem::permissions(path, std::filesystem::perms(0644));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator()), 1);

    // An analysis cancelled by the writer saves nothing.
    Form().txtText->SetText(QString(2000, 'x'));
    platform::SetDoEventsHook([&] { Form().Analyzing().cmdCancel->click(); });
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Form().cmdSave->click();
    platform::SetDoEventsHook(nullptr);
    EXPECT_EQ(dialogs_.Requests().back().text, "Analysis interrupted, file not saved.");
    EXPECT_EQ(dialogs_.Requests().back().icon, platform::MessageIcon::Information);
    EXPECT_FALSE(Form().StatisticsValid());
}

TEST_F(ScrivelFixture, RandomTextAsksForACountAndFollowsTheTriplets) {
    // Answers the input box, and the message that follows when told so.
    const auto ask = [&](const QString& answer, bool message = false) {
        dialogs_.AnswerInput(answer);
        if (message)
            dialogs_.AnswerMessage(platform::MessageResult::Ok);
        Form().cmdRandom->click();
    };
    Form().txtText->SetText("ABAB");
    ask("");
    EXPECT_EQ(dialogs_.Requests().back().text, "Characters to generate?");
    EXPECT_EQ(dialogs_.Requests().back().defaultText, "1000");
    EXPECT_EQ(modals_, 0);
    for (const char* few : {"2", "abc"}) {
        ask(few, true);
        EXPECT_EQ(dialogs_.Requests().back().text, "There must be at least 3 characters.");
        EXPECT_EQ(dialogs_.Requests().back().title, "Generate random text");
    }
    ask("1000001", true);
    EXPECT_EQ(dialogs_.Requests().back().text, "There must be at most 1000000 characters.");
    EXPECT_FALSE(Form().StatisticsValid());

    // Every pair of ABAB continues one way only.
    QString text;
    onModal_ = [&](QDialog& dialog) {
        auto& random = static_cast<frmRandom&>(dialog);
        EXPECT_EQ(random.windowTitle(), "Random text");
        EXPECT_TRUE(platform_test::KeepsItsSize(random));
        text = random.txtText->Text();
        dialogs_.AnswerFile(Q(dir_ / "random.txt"));
        random.cmdSave->click();
    };
    ask("5");
    EXPECT_TRUE(Form().StatisticsValid());
    EXPECT_TRUE(text == "ABABA" || text == "BABAB") << text.toStdString();
    EXPECT_EQ(ReadFile(dir_ / "random.txt"), text.toStdString() + "\r\n");

    Analyze("AB");
    ask("1000", true);
    EXPECT_EQ(dialogs_.Requests().back().text, "Not enough data");
    EXPECT_EQ(modals_, 1);
}

TEST_F(ScrivelFixture, TextLoadedAsBytesOfTheCodePageAndAFailedLoadKeepsTheText) {
    const std::filesystem::path path = WriteFile("text.txt", "A\r\nB \xC9t\xE9");
    dialogs_.AnswerFile(Q(path));
    Form().cmdLoad->click();
    EXPECT_EQ(dialogs_.Requests().back().file.filter,
              "Text files (*.txt)|*.txt|All files (*.*)|*.*");
    EXPECT_EQ(Form().txtText->Text(), QString::fromUtf8("A\r\nB \u00C9t\u00E9"));
    Form().cmdAnalyze->click();
    // CR LF is two spaces; the accented letters are not counted.
    EXPECT_EQ(Chart(), "[Spc] 3\nA 1\nB 1\nT 1\n");

    dialogs_.AnswerFile(Q(dir_ / "missing.txt"));
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Form().cmdLoad->click();
    EXPECT_EQ(dialogs_.Requests().back().text, "Error opening file");
    EXPECT_EQ(dialogs_.Requests().back().title, "Load text from file");
    EXPECT_EQ(Form().txtText->Text(), QString::fromUtf8("A\r\nB \u00C9t\u00E9"));
    EXPECT_TRUE(Form().StatisticsValid());

    // Typed characters the code page lacks are left out, not taken for "?".
    onModal_ = [&](QDialog&) { Letters().chkLetter.Click('?'); };
    Form().cmdSettings->click();
    Form().txtText->SetText(QString::fromUtf8("A\u4E2DB?"));
    Form().cmdAnalyze->click();
    Form().tabStats->Select(2);
    EXPECT_EQ(Chart(), "AB 1\nB? 1\n");
}

TEST_F(ScrivelFixture, PipesDevicesAndHugeFilesAreRefusedAndTheWindowStaysUsable) {
    namespace odd = platform::oddfiles;
    const std::filesystem::path fifo = odd::MakeFifo("window.fifo");
    const std::filesystem::path huge = odd::MakeSparseFile("window.txt", odd::kHugeSize);
    Form().txtText->SetText("kept");
    for (const std::filesystem::path& path : {fifo, std::filesystem::path("/dev/zero"), huge}) {
        dialogs_.AnswerFile(Q(path));
        dialogs_.AnswerMessage(platform::MessageResult::Ok);
        Form().cmdLoad->click();
        EXPECT_EQ(dialogs_.Requests().back().text, "Error opening file") << path;
        EXPECT_EQ(dialogs_.Requests().back().title, "Load text from file");
        EXPECT_EQ(Form().txtText->Text(), "kept");
        dialogs_.AnswerFile(Q(path));
        dialogs_.AnswerMessage(platform::MessageResult::Ok);
        Letters().cmdLoad->click();
        EXPECT_EQ(dialogs_.Requests().back().text, "Error opening file") << path;
        EXPECT_EQ(dialogs_.Requests().back().title, "Load character settings");
        EXPECT_EQ(Letters().IsAlias('a'), 'A');
    }
    std::filesystem::remove(huge);
    // A pipe among the language definitions is passed over.
    std::filesystem::rename(fifo, dir_ / "Pipe.scrivel");
    Analyze("abba");
    EXPECT_TRUE(Form().StatisticsValid());
    EXPECT_EQ(Chart(), "A 2\nB 2\n");
}

} // namespace
TEST_F(ScrivelFixture, F1OpensTheProgramsHelpPage) {
    EXPECT_EQ(platform_test::HelpPagesOnF1(Form()), std::vector<QString>{frmScrivel::kHelpTopic});
}

} // namespace scrivel_test
