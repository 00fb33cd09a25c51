// Scrivel's main window: the valid/invalid state, the chart, the reports, the
// language writer, the random text and loading a text.

#include "Color.h"
#include "ListView.h"
#include "MultiLineTextBox.h"
#include "ScrivelFixture.h"
#include "Surface.h"
#include "frmAnalyzing.h"
#include "frmRandom.h"
#include "frmReport.h"

#include <QLabel>

namespace scrivel_test {
namespace {

using platform::MessageIcon;
using platform::MessageResult;

TEST_F(ScrivelFixture, ChartHidesBehindThePromptUntilAnAnalysisOfTheTextAsItStands) {
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
}

TEST_F(ScrivelFixture, TabsRedrawTheChartWithTheLargestValuesFirstAndEqualOnesInIndexOrder) {
    Analyze("BA");
    EXPECT_EQ(Chart(), "A 1\nB 1\n");

    Analyze("ba b, ab\r\n");
    EXPECT_EQ(Chart(), "[Spc] 4\nB 3\nA 2\n");
    Form().tabStats->Select(2);
    EXPECT_TRUE(ChartInFront());
    EXPECT_EQ(Chart(), "B[Spc] 2\n[Spc][Spc] 1\n[Spc]A 1\n[Spc]B 1\nA[Spc] 1\nAB 1\nBA 1\n");
    Form().tabStats->Select(3);
    EXPECT_EQ(Chart(), "[Spc]AB 1\n[Spc]B[Spc] 1\nA[Spc]B 1\nAB[Spc] 1\n"
                       "B[Spc][Spc] 1\nB[Spc]A 1\nBA[Spc] 1\n");
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
    Form().txtText->SetText(QString(1000, 'x'));
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

TEST_F(ScrivelFixture, LanguageChartOfOneDefinitionIsOneFullBarWithoutValueOrNoneWhenEqual) {
    Analyze("Hello world");
    dialogs_.AnswerFile(Q(dir_ / "English.scrivel"));
    Form().cmdSave->click();
    ASSERT_TRUE(std::filesystem::exists(dir_ / "English.scrivel"));
    EXPECT_EQ(dialogs_.Requests().back().file.filter,
              "Language definitions (*.scrivel)|*.scrivel");
    EXPECT_EQ(dialogs_.Requests().back().file.defaultExt, "scrivel");
    EXPECT_EQ(dialogs_.Requests().back().file.folder, Q(dir_));

    Form().tabStats->Select(4);
    Analyze("Quite another text");
    ASSERT_TRUE(ChartInFront());
    ASSERT_EQ(Form().Bar(0).name, "English");
    EXPECT_TRUE(Form().Bar(0).visible);
    EXPECT_EQ(Form().Bar(0).length, 2500);
    EXPECT_FALSE(Form().lblBar2[0]->IsVisible());
    EXPECT_FALSE(Form().Bar(1).visible);

    Analyze("Hello world");
    EXPECT_EQ(Chart(), "");
}

} // namespace
} // namespace scrivel_test
