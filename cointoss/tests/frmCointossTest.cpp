#include "frmCointoss.h"

#include "Help.h"
#include "MultiLineTextBox.h"
#include "PrngLibrary.h"
#include "ScriptedDialogs.h"
#include "Surface.h"
#include "TextBox.h"
#include "frmStats.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class CointossWindow : public ::testing::Test {
protected:
    void SetUp() override {
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        form_ = std::make_unique<frmCointoss>();
        form_->show();
    }
    void TearDown() override {
        form_.reset();
        EXPECT_EQ(dialogs_.Unused(), 0u);
    }
    frmCointoss& Form() { return *form_; }
    // The chart windows open now, oldest first.
    std::vector<frmStats*> Charts() {
        std::vector<frmStats*> charts;
        for (QObject* child : Form().children())
            if (auto* chart = dynamic_cast<frmStats*>(child); chart && chart->isVisible())
                charts.push_back(chart);
        return charts;
    }
    platform::ScriptedDialogs dialogs_;
    std::unique_ptr<frmCointoss> form_;
};

TEST_F(CointossWindow, StartsInManualModeWithAFixedSize) {
    EXPECT_EQ(Form().windowTitle(), "Veritope - Cointoss");
    EXPECT_TRUE(Form().optManual->isChecked());
    EXPECT_FALSE(Form().cmdGen->isEnabled());
    EXPECT_FALSE(Form().txtLength->isEnabled());
    EXPECT_EQ(Form().lblLength->text(), "0 characters");
    EXPECT_EQ(Form().minimumSize(), Form().maximumSize());
    EXPECT_GE(Form().width(), 682);
    EXPECT_EQ(Form().height(), 186);
}

// "Using a random number generator" stands on one line in the window's font,
// clear of the length box below it, and the frame widens with it.
TEST_F(CointossWindow, TheGeneratorCaptionFitsOnItsLine) {
    const QRadioButton& option = *Form().optRandom;
    EXPECT_EQ(option.text(), "Using a random number generator");
    QStyleOptionButton style;
    style.initFrom(&option);
    style.text = option.text();
    const QRect label = option.style()->subElementRect(QStyle::SE_RadioButtonContents, &style, &option);
    const QFontMetrics metrics = option.fontMetrics();
    EXPECT_GE(label.width(), metrics.horizontalAdvance(option.text()));
    EXPECT_LE(option.y() + (option.height() + metrics.height()) / 2, Form().txtLength->y());
    EXPECT_LE(option.geometry().right(), Form().frmMode->contentsRect().right());
    EXPECT_LT(Form().frmMode->geometry().right(), Form().txtSeq->x());
    // What stands right of the frame keeps the design's places relative to it.
    EXPECT_EQ(Form().txtSeq->x() - Form().frmMode->geometry().right(), 240 - 229);
    EXPECT_EQ(Form().width() - Form().txtSeq->geometry().right(), 682 - 669);
    EXPECT_EQ(Form().lblLength->geometry().right(), Form().txtSeq->geometry().right());
}

TEST_F(CointossWindow, TypedSequenceIsCleanedAndChartedInANewWindowEachTime) {
    QTest::keyClicks(Form().txtSeq, "1 0");
    QTest::keyClick(Form().txtSeq, Qt::Key_Return);
    QTest::keyClicks(Form().txtSeq, "1");
    EXPECT_EQ(Form().lblLength->text(), "6 characters") << "the typed line break is CR LF";
    Form().cmdStats->click();
    EXPECT_EQ(Form().txtSeq->Text(), "101");
    EXPECT_EQ(Form().lblLength->text(), "3 characters");
    ASSERT_EQ(Charts().size(), 1u);
    EXPECT_EQ(Charts()[0]->windowTitle(), "One-block statistics");
    Form().cmdStats->click();
    EXPECT_EQ(Charts().size(), 2u) << "earlier charts stay open";

    // A closed chart is destroyed.
    QPointer<frmStats> first = Charts()[0];
    first->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());

    // The charts go with the main window.
    Form().close();
    EXPECT_TRUE(Charts().empty());
}

TEST_F(CointossWindow, SequenceWithoutOnesGivesTheMessageAndNoChart) {
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Form().txtSeq->SetText("000");
    Form().cmdStats->click();
    ASSERT_EQ(dialogs_.Requests().size(), 1u);
    EXPECT_EQ(dialogs_.Requests()[0].text, "There must be at least one 1 in the sequence!");
    EXPECT_EQ(dialogs_.Requests()[0].title, "Generate statistics");
    EXPECT_EQ(dialogs_.Requests()[0].icon, platform::MessageIcon::Information);
    EXPECT_TRUE(Charts().empty());
}

TEST_F(CointossWindow, GeneratingAndSwitchingModes) {
    Form().txtSeq->SetText("0110");
    Form().optManual->click();
    EXPECT_EQ(Form().seq, "0110") << "clicking the selected mode again keeps the typed sequence";
    Form().optRandom->click();
    EXPECT_TRUE(Form().txtSeq->isReadOnly());
    EXPECT_EQ(Form().seq, "0110") << "the sequence stays";
    EXPECT_TRUE(Form().cmdGen->isEnabled());

    platform::ScriptedDraws draws({0.5, 0.25, 0.75});
    Form().txtLength->setText("4.5");
    Form().cmdGen->click();
    EXPECT_EQ(Form().txtLength->text(), "4");
    EXPECT_EQ(Form().seq, "1011");
    EXPECT_EQ(Form().txtSeq->Text(), "1011");
    EXPECT_EQ(Form().lblLength->text(), "4 characters");

    Form().txtLength->setText("-7");
    Form().cmdGen->click();
    EXPECT_EQ(Form().txtLength->text(), "0");
    EXPECT_EQ(Form().seq, "");
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Form().cmdStats->click();
    EXPECT_EQ(dialogs_.Requests().size(), 1u);

    Form().txtSeq->SetText("x");
    Form().optManual->click();
    EXPECT_EQ(Form().seq, "");
    EXPECT_EQ(Form().txtSeq->Text(), "");
    EXPECT_FALSE(Form().txtSeq->isReadOnly());
    EXPECT_FALSE(Form().cmdGen->isEnabled());
}

TEST_F(CointossWindow, TenMillionCharactersAreGeneratedShownAndCounted) {
    Form().optRandom->click();
    // "1", "1", "0" again and again: runs of two, and a run of one at the end.
    platform::ScriptedDraws draws({0.5, 0.75, 0.25});
    Form().txtLength->setText("10000000");
    Form().cmdGen->click();
    EXPECT_EQ(Form().txtLength->text(), "10000000");
    ASSERT_EQ(Form().seq.size(), 10000000);
    EXPECT_EQ(Form().seq.left(7), "1101101");
    EXPECT_EQ(Form().txtSeq->Text(), Form().seq);
    EXPECT_EQ(Form().lblLength->text(), "10000000 characters");
    // The box holds the sequence in rows, not in one paragraph laid out whole.
    ASSERT_GT(Form().txtSeq->document()->blockCount(), 1000);
    QApplication::processEvents();

    Form().cmdStats->click();
    EXPECT_EQ(Form().counts.Counts(), (std::vector<int32_t>{0, 1, 3333333}));
    EXPECT_EQ(Form().seq.size(), 10000000);
    ASSERT_EQ(Charts().size(), 1u);
    EXPECT_EQ(Charts()[0]->RequestedOuterHeight(), 100) << "(2 + 1) * 500 twips";
}

TEST_F(CointossWindow, ALengthBeyondTheLimitIsRefusedWithAMessage) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Form().optRandom->click();
    platform::ScriptedDraws draws({0.75});
    Form().txtLength->setText("3");
    Form().cmdGen->click();
    for (const char* typed : {"100000001", "2147483648", "1e10"}) {
        dialogs_.AnswerMessage(platform::MessageResult::Ok);
        Form().txtLength->setText(typed);
        Form().cmdGen->click();
        EXPECT_EQ(Form().txtLength->text(), typed) << "the number is not changed";
        EXPECT_EQ(Form().seq, "111");
    }
    ASSERT_EQ(dialogs_.Requests().size(), 3u);
    EXPECT_EQ(dialogs_.Requests()[0].text, "A generated sequence has at most 100,000,000 characters.");
    EXPECT_EQ(dialogs_.Requests()[0].title, "Generate sequence");
    EXPECT_EQ(dialogs_.Requests()[0].icon, platform::MessageIcon::Exclamation);
    QLocale::setDefault(QLocale::c());
}

TEST_F(CointossWindow, ChartHeightIsTheOuterHeightInTwips) {
    Form().txtSeq->SetText("0110111");
    Form().cmdStats->click();
    ASSERT_EQ(Charts().size(), 1u);
    frmStats& chart = *Charts()[0];
    // (3 + 1) * 500 twips, title bar included.
    EXPECT_EQ(chart.RequestedOuterHeight(), 133);
    EXPECT_LT(chart.height(), 133) << "the client area is the outer height less the frame";
}

// Whether black is drawn somewhere in the rectangle.
bool InkIn(const platform::Surface& s, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (s.Pixel(x, y) == QColor(Qt::black))
                return true;
    return false;
}

// The bars of a known count set in a chart of a fixed size: rows of rh pixels, each bar 80% of its
// row, a tenth of a row above its lower boundary, as long as its count needs.
TEST(StatsChart, BarsStandInTheirRows) {
    QWidget owner;
    frmStats chart(&owner);
    chart.ReDimStats(3);
    chart.SetStats(1, 0);
    chart.SetStats(2, 1);
    chart.SetStats(3, 2);
    chart.resize(650, 320);
    chart.show();
    const platform::Surface& s = *chart.surface;
    const double rh = (320 - 20) / 3.0; // 100
    const int left = s.TextWidth("3 ") + 10;
    const double sx = (650 - 20 - s.TextWidth(" (2)") - s.TextWidth("3 ")) / 2.0;
    const QColor red(0xFF, 0, 0), fill(0xFF, 0xE0, 0xC0), white(Qt::white);
    for (int i = 1; i <= 3; ++i) {
        const int bottom = static_cast<int>(std::lround(i * rh + 10 - rh / 10));
        const int top = static_cast<int>(std::lround(bottom - rh * 8 / 10));
        const int right = static_cast<int>(std::lround((i - 1) * sx + left));
        EXPECT_EQ(s.Pixel(left, (top + bottom) / 2), red) << "row " << i;
        EXPECT_EQ(s.Pixel(right, (top + bottom) / 2), red) << "row " << i;
        EXPECT_EQ(s.Pixel(left, top - 2), white) << "row " << i;
        if (i > 1) {
            EXPECT_EQ(s.Pixel((left + right) / 2, (top + bottom) / 2), fill) << "row " << i;
        }
        // The row's number from x 10 and its count just after the bar, in black, on the row's text line.
        const int hh = static_cast<int>(std::lround(s.TextHeight("0") / 2.0));
        const int ty = static_cast<int>(std::lround(i * rh + 10 - rh / 2 - hh));
        EXPECT_TRUE(InkIn(s, QRect(10, ty, left - 12, 2 * hh))) << "row " << i;
        EXPECT_TRUE(InkIn(s, QRect(right + 1, ty, s.TextWidth(" (2)"), 2 * hh))) << "row " << i;
        EXPECT_FALSE(InkIn(s, QRect(10, ty - 2 * hh, left - 12, 2 * hh - 2))) << "row " << i;
    }
}

TEST(StatsChart, NoOnesSaysSo) {
    QWidget owner;
    frmStats chart(&owner);
    chart.ReDimStats(2);
    chart.resize(300, 200);
    chart.show();
    bool anyInk = false;
    for (int x = 10; x < 200 && !anyInk; ++x)
        anyInk = chart.surface->Pixel(x, 25) != QColor(Qt::white);
    EXPECT_TRUE(anyInk) << "the text at (10, 20)";
}

TEST_F(CointossWindow, F1OpensTheProgramsHelpPage) {
    std::vector<QString> pages;
    platform::SetHelpHandler([&](const QString& page) { pages.push_back(page); });
    Form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    QTest::keyClick(&Form(), Qt::Key_F1);
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(pages, std::vector<QString>{frmCointoss::kHelpTopic});
}

} // namespace
