#include "BindingFailureBox.h"
#include "Color.h"
#include "Conversions.h"
#include "CooperonFixture.h"
#include "PopulationLibrary.h"

#include <QLabel>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace cooperon_test;
using namespace cooperon;

namespace {

constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlue = qRgb(0, 0, 255);
// Where the layout puts the columns, in picture pixels.
constexpr int kGenomeX = 24;     // the 256-pixel strip centred under "Response strategy"
constexpr int kGlyphX = 339;     // centred under "Initial assumption"
constexpr int kChartGlyphX = 22; // centred under "Situation"
constexpr int kRespX = 75, kRespW = 180, kInitX = 275, kInitW = 113;

int RowY(int row) {
    return 21 + 9 * row; // below the 20-pixel header buttons
}

class Cooperon : public CooperonFixture {
protected:
    static QRgb Drawn(const platform::Surface& picture, int x, int y) {
        return picture.Image().pixel(x, y);
    }
    // The situation of the glyph at (x, y), or -1 when a square is not
    // filled in green or red alone.
    static int Glyph(const platform::Surface& picture, int x, int y) {
        int s = 0;
        for (int square = 0; square < 6; ++square) {
            const int left = x + 4 * (square / 2), top = y + 4 * (square % 2);
            const QRgb colour = Drawn(picture, left, top);
            for (int d = 0; d < 16; ++d) {
                if (Drawn(picture, left + d % 4, top + d / 4) != colour)
                    return -1;
            }
            if (colour != kGreen && colour != kRed)
                return -1;
            s |= (colour == kRed) << (5 - square);
        }
        return s;
    }
    // The genes of population row `row` as drawn, bit i = gene i.
    uint64_t ShownGenes(int row) {
        uint64_t genes = 0;
        for (int i = 0; i < 64; ++i) {
            const QRgb colour = Drawn(*Form().picPopCanvas, kGenomeX + 4 * i, RowY(row) + 7);
            genes |=
                uint64_t(colour == kRed) << i | (colour != kGreen && colour != kRed ? ~0ull : 0);
        }
        return genes;
    }
    static uint64_t Genes(int32_t member) {
        uint64_t genes = 0;
        for (int i = 0; i < 64; ++i)
            genes |= uint64_t(GetGene_(member, i)) << i;
        return genes;
    }
    void ExpectRowsShowMembers(int first, int rows = 64) {
        for (int row = 0; row < rows; ++row) {
            const int32_t m = Form().Members()[first + row];
            EXPECT_EQ(ShownGenes(row), Genes(m)) << "row " << row;
            EXPECT_EQ(Glyph(*Form().picPopCanvas, kGlyphX, RowY(row)), GetInitial_(m)) << row;
        }
    }
    // The last pixel of the run of colour that starts a chart bar.
    int BarEnd(int row, int x, QRgb colour) {
        while (Drawn(*Form().picCanvas, x + 1, RowY(row)) == colour)
            ++x;
        return x;
    }
};

TEST_F(Cooperon, LoadsLaidOutAndSetsTheLibraryUp) {
    frmCooperon& f = Form();
    EXPECT_EQ(f.windowTitle(), "Veritope - Cooperon");
    EXPECT_EQ(QStringList({f.lblPopulation->text(), f.cmdActions->text(), f.cmdInitial->text(),
                           f.lblExpression->text(), f.optCurrent->text(), f.optAverage->text(),
                           f.cmdSituation->text(), f.cmdAction->text(), f.cmdStart->text(),
                           f.cmdGo->text(), f.cmdReset->text(), f.cmdSettings->text(),
                           f.statBar->PanelText("generation")}),
              QStringList({"Population genotypes", "Response strategy", "Initial assumption",
                           "Individual genes", "Current", "Average", "Situation", "Response",
                           "Initially assumed", "Go", "Reset", "Settings", "Generation 1"}));
    EXPECT_TRUE(f.optCurrent->isChecked());
    EXPECT_FALSE(f.timEvolve->isActive());
    EXPECT_EQ(f.timEvolve->interval(), 1);

    // Pictures of 20 + 579 pixels; the buttons and the window's end each 200
    // twips further down.
    EXPECT_EQ(f.picCanvas->geometry(), QRect(445, 40, 400, 599));
    EXPECT_EQ(f.picPopCanvas->geometry(), QRect(13, 40, 400, 599));
    EXPECT_EQ(f.scrPop->geometry(), QRect(413, 60, 18, 579));
    EXPECT_EQ(f.cmdGo->geometry(), QRect(147, 652, 133, 27));
    EXPECT_EQ(f.cmdSettings->y(), 652);
    EXPECT_EQ(f.size(), QSize(858, int(std::lround(639 + 400.0 / 15 + 27 + f.statBar->height()))));
    EXPECT_EQ(f.statBar->geometry().bottom(), f.height() - 1);
    // The library's settings at load are what the settings dialog shows.
}

TEST_F(Cooperon, RowsShowTheMembersTheScrollBarReachesAndBlanksBelowTheLast) {
    const QRgb shadow = platform::ToQColor(platform::kButtonShadowColor).rgb();
    for (const int y : {30, 598}) {
        EXPECT_EQ(Drawn(*Form().picPopCanvas, 299, y), shadow);
        EXPECT_EQ(Drawn(*Form().picCanvas, 65, y), shadow);
        EXPECT_EQ(Drawn(*Form().picCanvas, 265, y), shadow);
    }
    const struct {
        int32_t size;
        int maximum;
    } cases[] = {{64, 0}, {65, 1}, {10, 0}, {100, 36}, {1, 0}};
    for (const auto& c : cases) {
        SetSize_(c.size);
        Tick(); // the size changes at the next generation
        ASSERT_EQ(GetSize_(), c.size);
        EXPECT_EQ(Form().scrPop->Max(), c.maximum) << c.size;
        EXPECT_EQ(Form().scrPop->Value(), 0) << c.size;
        const int shown = std::min(c.size, 64);
        ExpectRowsShowMembers(0, shown);
        for (int row = shown; row < 64; ++row) {
            for (int x = kGenomeX; x < kGenomeX + 256; ++x)
                ASSERT_EQ(Drawn(*Form().picPopCanvas, x, RowY(row) + 3), kWhite) << row;
            for (int x = kGlyphX; x < kGlyphX + 12; ++x)
                ASSERT_EQ(Drawn(*Form().picPopCanvas, x, RowY(row) + 7), kWhite) << row;
        }
        if (c.maximum > 0) {
            Form().scrPop->SetValue(c.maximum);
            ExpectRowsShowMembers(c.maximum);
        }
    }
    EXPECT_EQ(Form().statBar->PanelText("generation"), "Generation 6");
}

TEST_F(Cooperon, AverageShowsTheMeanSinceResetAndEqualsCurrentRightAfterIt) {
    Tick(3);
    Form().cmdReset->click();
    EXPECT_EQ(Form().statBar->PanelText("generation"), "Generation 1");
    const QImage current = Form().picCanvas->Image().copy();
    Form().optAverage->click();
    EXPECT_EQ(Form().picCanvas->Image(), current);

    const SituationStats first = Form().Stats();
    Tick();
    const SituationStats& now = Form().Stats();
    for (int s = 0; s < 64; ++s) {
        ASSERT_EQ(Glyph(*Form().picCanvas, kChartGlyphX, RowY(s)), s);
        const double response = (first.curResponse[s] + now.curResponse[s]) / 2;
        const double initial = (first.curInitial[s] + now.curInitial[s]) / 2;
        const int greenEnd = BarEnd(s, kRespX, kGreen), blueEnd = BarEnd(s, kInitX, kBlue);
        EXPECT_EQ(greenEnd, int(platform::RoundHalfEven(kRespX + (1 - response) * kRespW))) << s;
        EXPECT_EQ(blueEnd, int(platform::RoundHalfEven(kInitX + initial * kInitW))) << s;
        // The rest of each bar is its back.
        if (greenEnd < kRespX + kRespW) {
            EXPECT_EQ(BarEnd(s, greenEnd + 1, kRed), kRespX + kRespW) << s;
        }
        if (blueEnd < kInitX + kInitW) {
            EXPECT_EQ(BarEnd(s, blueEnd + 1, qRgb(0xE0, 0xE0, 0xE0)), kInitX + kInitW) << s;
        }
    }
}

TEST_F(Cooperon, HeaderButtonsOrderTheRows) {
    Tick(5);
    const Shares& response = Form().Stats().curResponse;
    const Shares& initial = Form().Stats().curInitial;
    const struct {
        QPushButton* button;
        int16_t order;
    } charts[] = {{Form().cmdAction, kByResponseShare},
                  {Form().cmdStart, kByInitialShare},
                  {Form().cmdSituation, kBySituation}};
    for (const auto& c : charts) {
        c.button->click();
        const auto expected = ChartOrder(c.order, response, initial);
        for (int row = 0; row < 64; ++row)
            EXPECT_EQ(Glyph(*Form().picCanvas, kChartGlyphX, RowY(row)), expected[row]) << row;
    }

    Form().cmdInitial->click();
    ExpectRowsShowMembers(0);
    for (int row = 1; row < 64; ++row) {
        const int16_t a = Form().Members()[row - 1], b = Form().Members()[row];
        EXPECT_TRUE(GetInitial_(a) < GetInitial_(b) || (GetInitial_(a) == GetInitial_(b) && a < b));
    }
    Form().cmdActions->click();
    EXPECT_EQ(Form().PopulationOrder(), kByResponseGenes);
    ExpectRowsShowMembers(0);
}

TEST_F(Cooperon, GoRunsTheTimerUntilStop) {
    Form().cmdGo->click();
    EXPECT_EQ(Form().cmdGo->text(), "Stop");
    QTest::qWait(30);
    Form().cmdReset->click(); // Reset leaves the timer running
    EXPECT_TRUE(Form().timEvolve->isActive());
    QTest::qWait(30);
    EXPECT_GT(Form().Generation(), 1);
    QTest::keyClick(Form().scrPop, Qt::Key_Return); // Enter is Go's
    EXPECT_EQ(Form().cmdGo->text(), "Go");
    const int32_t stopped = Form().Generation();
    QTest::qWait(20);
    EXPECT_EQ(Form().Generation(), stopped);
    EXPECT_EQ(Form().statBar->PanelText("generation"), "Generation " + QString::number(stopped));
}

TEST(CooperonLibrary, EveryEntryBindsAtStartUp) {
    std::vector<std::string> missing;
    auto previous = platform::SetBindingFailureHandler(
        [&](const platform::BindingFailure& failure) { missing.push_back(failure.entry); });
    EXPECT_TRUE(platform::BindLibrary(kPopulationLibrary));
    EXPECT_TRUE(missing.empty()) << missing.front();
    EXPECT_NE(Step_.Bound(), nullptr);
    EXPECT_NE(GetInitial_.Bound(), nullptr);
    platform::SetBindingFailureHandler(std::move(previous));
}

using CooperonDeathTest = Cooperon;

TEST_F(CooperonDeathTest, AMissingLibraryOrEntryEndsTheProgramWithAMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child reports the message box it was asked for.
    const auto bindAndCall = [](const char* library, const char* entry) {
        platform::ScriptedDialogs dialogs;
        dialogs.SetFailureHandler([&](const std::string&) {
            const platform::DialogRequest& shown = dialogs.Requests().back();
            std::fprintf(stderr, "box %s: %s\n", qPrintable(shown.title), qPrintable(shown.text));
        });
        platform::SetBindingFailureBox("Cooperon");
        // Reported when the program binds the library at start-up, before any call.
        const platform::BoundFunction<void()> missing{library, entry};
        platform::BindLibrary(library);
    };
    EXPECT_EXIT(bindAndCall(kPopulationLibrary, "_Z7Missingv"), testing::ExitedWithCode(1),
                "box Cooperon: The library \".*/libPopulation.so\" has no entry \"_Z7Missingv\"");
    EXPECT_EXIT(bindAndCall("Absent.dll", "_Z4Stepv"), testing::ExitedWithCode(1),
                "box Cooperon: Cannot load the library \".*/libAbsent.so\" to call \"_Z4Stepv\"");
}

} // namespace
