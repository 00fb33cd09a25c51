#include "BindingFailureBox.h"
#include "Color.h"
#include "Conversions.h"
#include "CooperonFixture.h"
#include "HelpKeyPress.h"
#include "PopulationLibrary.h"
#include "WindowSizeChecks.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
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

int RowY(int row) {
    return 21 + 9 * row; // below the 20-pixel header buttons
}

class Cooperon : public CooperonFixture {
protected:
    // Where the columns lie in picture pixels, by the header buttons above them.
    int Left(const QPushButton* header, const platform::Surface* picture) {
        return header->x() - picture->x();
    }
    // The 256-pixel strip centred under "Response strategy".
    int GenomeX() {
        return Rounded(Left(Form().cmdActions, Form().picPopCanvas) +
                       Form().cmdActions->width() / 2.0 - 128);
    }
    // Centred under "Initial assumption".
    int GlyphX() {
        return Rounded(Left(Form().cmdActions, Form().picPopCanvas) + Form().cmdActions->width() +
                       Form().cmdInitial->width() / 2.0 - 12);
    }
    // Centred under "Situation".
    int ChartGlyphX() {
        return Rounded(Left(Form().cmdSituation, Form().picCanvas) +
                       Form().cmdSituation->width() / 2.0 - 12);
    }
    int RespX() { return Form().cmdSituation->width() + 10; }
    int RespW() { return Form().cmdAction->width() - 20; }
    int InitX() { return Form().cmdSituation->width() + Form().cmdAction->width() + 10; }
    int InitW() { return Form().cmdStart->width() - 20; }
    static int Rounded(double v) { return int(platform::RoundHalfEven(v)); }
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
            const QRgb colour = Drawn(*Form().picPopCanvas, GenomeX() + 4 * i, RowY(row) + 7);
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
            EXPECT_EQ(Glyph(*Form().picPopCanvas, GlyphX(), RowY(row)), GetInitial_(m)) << row;
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
    // twips further down. A header too narrow for its caption widens its
    // picture and the window by what it lacks.
    const int population = f.cmdActions->width() - 299 + f.cmdInitial->width() - 100;
    const int chart = f.cmdSituation->width() - 65 + f.cmdAction->width() - 200 +
                      f.cmdStart->width() - 133;
    EXPECT_EQ(f.picPopCanvas->geometry(), QRect(13, 40, 400 + population, 599));
    EXPECT_EQ(f.scrPop->geometry(), QRect(413 + population, 60, 18, 579));
    EXPECT_EQ(f.picCanvas->geometry(), QRect(445 + population, 40, 400 + chart, 599));
    EXPECT_EQ(f.cmdGo->geometry(), QRect(147, 652, 133, 27));
    EXPECT_EQ(f.cmdSettings->y(), 652);
    EXPECT_EQ(f.size(), QSize(858 + population + chart,
                              int(std::lround(639 + 400.0 / 15 + 27 + f.statBar->height()))));
    EXPECT_EQ(f.statBar->geometry().bottom(), f.height() - 1);
    // The controls keep their places: the window cannot be made smaller than the size that holds
    // them.
    EXPECT_TRUE(platform_test::StopsShrinkingAt(f, f.size()));
}

// Every header shows its whole caption in the window's font, and the headers
// of a picture still lie side by side across it.
TEST_F(Cooperon, HeaderCaptionsFitTheirButtons) {
    const frmCooperon& f = Form();
    for (const QPushButton* header :
         {f.cmdActions, f.cmdInitial, f.cmdSituation, f.cmdAction, f.cmdStart}) {
        QStyleOptionButton option;
        option.initFrom(header);
        option.text = header->text();
        option.features = QStyleOptionButton::AutoDefaultButton;
        const QRect contents =
            header->style()->subElementRect(QStyle::SE_PushButtonContents, &option, header);
        EXPECT_GE(contents.width(), header->fontMetrics().horizontalAdvance(header->text()))
            << header->text().toStdString();
    }
    // Within a pixel of the design's rounding.
    const auto sideBySide = [](const QWidget* left, const QWidget* right) {
        return std::abs(left->geometry().right() + 1 - right->x()) <= 1;
    };
    EXPECT_TRUE(sideBySide(f.cmdActions, f.cmdInitial));
    EXPECT_TRUE(sideBySide(f.cmdInitial, f.scrPop));
    EXPECT_TRUE(sideBySide(f.cmdSituation, f.cmdAction));
    EXPECT_TRUE(sideBySide(f.cmdAction, f.cmdStart));
}

// Go is the default button: Enter clicks it, unless another button has the
// focus, which then takes Enter. A click on a header leaves the focus alone.
TEST_F(Cooperon, EnterClicksGoUnlessAnotherButtonHasTheFocus) {
    QApplication::setActiveWindow(&Form());
    const auto enter = [&] {
        QWidget* focus = Form().focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_Return);
    };
    enter();
    EXPECT_EQ(Form().cmdGo->text(), "Stop");
    QTest::mouseClick(Form().cmdInitial, Qt::LeftButton);
    EXPECT_EQ(Form().PopulationOrder(), kByInitialMemory);
    enter();
    EXPECT_EQ(Form().cmdGo->text(), "Go");
    Form().optAverage->setFocus(Qt::TabFocusReason);
    enter();
    EXPECT_EQ(Form().cmdGo->text(), "Stop");
    Form().cmdGo->click();
    Tick(2);
    Form().cmdReset->setFocus(Qt::TabFocusReason);
    enter();
    EXPECT_EQ(Form().Generation(), 1);
    EXPECT_EQ(Form().cmdGo->text(), "Go");
    Form().cmdInitial->setFocus(Qt::TabFocusReason);
    Form().cmdActions_Click();
    enter();
    EXPECT_EQ(Form().PopulationOrder(), kByInitialMemory);
    EXPECT_EQ(Form().cmdGo->text(), "Go");
}

TEST_F(Cooperon, RowsShowTheMembersTheScrollBarReachesAndBlanksBelowTheLast) {
    const QRgb shadow = platform::ToQColor(platform::kButtonShadowColor).rgb();
    for (const int y : {30, 598}) {
        EXPECT_EQ(Drawn(*Form().picPopCanvas, Form().cmdActions->width(), y), shadow);
        EXPECT_EQ(Drawn(*Form().picCanvas, RespX() - 10, y), shadow);
        EXPECT_EQ(Drawn(*Form().picCanvas, InitX() - 10, y), shadow);
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
            for (int x = GenomeX(); x < GenomeX() + 256; ++x)
                ASSERT_EQ(Drawn(*Form().picPopCanvas, x, RowY(row) + 3), kWhite) << row;
            for (int x = GlyphX(); x < GlyphX() + 12; ++x)
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
        ASSERT_EQ(Glyph(*Form().picCanvas, ChartGlyphX(), RowY(s)), s);
        const double response = (first.curResponse[s] + now.curResponse[s]) / 2;
        const double initial = (first.curInitial[s] + now.curInitial[s]) / 2;
        const int greenEnd = BarEnd(s, RespX(), kGreen), blueEnd = BarEnd(s, InitX(), kBlue);
        EXPECT_EQ(greenEnd, int(platform::RoundHalfEven(RespX() + (1 - response) * RespW()))) << s;
        EXPECT_EQ(blueEnd, int(platform::RoundHalfEven(InitX() + initial * InitW()))) << s;
        // The rest of each bar is its back.
        if (greenEnd < RespX() + RespW()) {
            EXPECT_EQ(BarEnd(s, greenEnd + 1, kRed), RespX() + RespW()) << s;
        }
        if (blueEnd < InitX() + InitW()) {
            EXPECT_EQ(BarEnd(s, blueEnd + 1, qRgb(0xE0, 0xE0, 0xE0)), InitX() + InitW()) << s;
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
            EXPECT_EQ(Glyph(*Form().picCanvas, ChartGlyphX(), RowY(row)), expected[row]) << row;
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
    // Waits for ticks as long as the machine needs, never for a fixed time.
    auto waitForGenerations = [this](int32_t more) {
        const int32_t target = Form().Generation() + more;
        for (int waited = 0; Form().Generation() < target && waited < 10000; ++waited)
            QTest::qWait(1);
    };
    waitForGenerations(1);
    Form().cmdReset->click(); // Reset leaves the timer running
    EXPECT_TRUE(Form().timEvolve->isActive());
    waitForGenerations(2);
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

TEST_F(Cooperon, F1OpensTheProgramsHelpPageInTheWindowAndInTheSettings) {
    EXPECT_EQ(platform_test::HelpPagesOnF1(Form()), std::vector<QString>{frmCooperon::kHelpTopic});
    std::vector<QString> pages;
    EXPECT_TRUE(WithSettings([&](frmSettings& settings) { pages = platform_test::HelpPagesOnF1(settings); }));
    EXPECT_EQ(pages, std::vector<QString>{frmCooperon::kHelpTopic});
}

} // namespace
