#include "BifurcalFixture.h"
#include "Color.h"
#include "HelpKeyPress.h"
#include "NumberFormat.h"
#include "Pump.h"
#include "WindowSizeChecks.h"

#include <QImage>
#include <clocale>
#include <functional>
#include <string>
#include <QPushButton>
#include <QRadioButton>

namespace {

using bifurcal_test::BifurcalFixture;

class Bifurcal : public BifurcalFixture {
protected:
    void Refresh(const char* minA, const char* maxA, const char* minX, const char* maxX) {
        Type(Form().txtMinA, minA);
        Type(Form().txtMaxA, maxA);
        Type(Form().txtMinX, minX);
        Type(Form().txtMaxX, maxX);
        Form().cmdRefresh->click();
    }
    QStringList RangeTexts() {
        return {Form().txtMinA->text(), Form().txtMaxA->text(), Form().txtMinX->text(),
                Form().txtMaxX->text()};
    }
    // The image with the zoom rectangle's edges toggled through the swap table.
    static QImage WithBand(QImage image, int x1, int y1, int x2, int y2) {
        const auto toggle = [&](int x, int y) {
            const QRgb c = image.pixel(x, y);
            const uint32_t bgr = platform::Rgb(qRed(c), qGreen(c), qBlue(c));
            const uint32_t p = bifurcal::BandPartner(bgr);
            image.setPixel(x, y, qRgb(p & 0xFF, (p >> 8) & 0xFF, p >> 16));
        };
        for (int i = x1; i <= x2; ++i) {
            toggle(i, y1);
            toggle(i, y2);
        }
        for (int i = y1 + 1; i < y2; ++i) {
            toggle(x1, i);
            toggle(x2, i);
        }
        return image;
    }
};

TEST_F(Bifurcal, OpensWithTheLogisticDiagramAndItsRanges) {
    EXPECT_EQ(Form().windowTitle(), "Veritope - Bifurcal");
    EXPECT_EQ(RangeTexts(),
              QStringList({"-2.0000000000", "4.0000000000", "-0.5000000000", "1.5000000000"}));
    EXPECT_TRUE(Form().optLogistic->isChecked());
    EXPECT_FALSE(Form().txtItForm->isEnabled());
    EXPECT_EQ(Form().txtItForm->palette().color(QPalette::Disabled, QPalette::Base),
              platform::ToQColor(platform::kButtonFaceColor));
    // The canvas fills the window less the arrows, the margin and the status bar.
    EXPECT_EQ(Canvas().width(), 834 - 252 - 20 - 13);
    EXPECT_EQ(Form().cmdRight->x(), 252 + Canvas().width());
    EXPECT_EQ(Form().cmdDown->y(), 33 + Canvas().height());
    EXPECT_EQ(Form().cmdDown->y() + 20 + 13, Form().theBar->y());
    const int width = Canvas().width();
    // a = 2 (column 366) settles on x = 0.5, a = 3.2 on a cycle of two values.
    EXPECT_EQ(CountInColumn(366, kBlack), 1);
    EXPECT_EQ(CountInColumn(476, kBlack), 2);
    for (int c = 0; c < width; ++c)
        ASSERT_EQ(CountInColumn(c, kGrey), 0) << c;
}

TEST_F(Bifurcal, RefreshOrdersRangesAndLimitsCounts) {
    const struct {
        const char *minA, *maxA, *minX, *maxX, *disc, *its;
        QStringList ranges;
        const char *discShown, *itsShown;
    } rows[] = {
        {"5",
         "1",
         "0.8",
         "0.2",
         "2.5",
         "3.5",
         {"1.0000000000", "5.0000000000", "0.2000000000", "0.8000000000"},
         "2",
         "4"},
        {"2",
         "2",
         "-1",
         "-1",
         "-5",
         "40000",
         {"2.0000000000", "2.0100000000", "-1.0000000000", "-0.9900000000"},
         "0",
         "32767"},
        {"x",
         "1e1",
         " 3",
         "4,5",
         "abc",
         "7e2",
         {"0.0000000000", "10.0000000000", "3.0000000000", "4.0000000000"},
         "0",
         "700"},
    };
    for (const auto& r : rows) {
        Type(Form().txtDisc, r.disc);
        Type(Form().txtIts, r.its);
        Refresh(r.minA, r.maxA, r.minX, r.maxX);
        EXPECT_EQ(RangeTexts(), r.ranges) << r.minA;
        EXPECT_EQ(Form().txtDisc->text(), r.discShown);
        EXPECT_EQ(Form().txtIts->text(), r.itsShown);
    }
    // Nothing shown: the canvas stays white.
    Type(Form().txtIts, "-5");
    Refresh("1", "3", "0", "1");
    EXPECT_EQ(Form().ShownIterations(), 0);
    QImage white(Canvas().Image().size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(Canvas().Image(), white);
}

TEST_F(Bifurcal, FormulaThatDoesNotParseKeepsTheDiagramAndMarksTheError) {
    const struct {
        bool custom;
        const char* formula;
        const char* message;
        int selected;
    } rows[] = {
        {true, "a * 2x", "Invalid symbol", 5},
        {true, "(3+4", "Parse error", 0},
        {true, "x + (2", "Parse error", 4},
        {false, "3 * * x", "Missing expression", 0},
    };
    for (const auto& r : rows) {
        if (r.custom)
            Form().optCustom->click();
        else
            Form().optLogistic->click();
        Type(Form().txtItForm, r.formula);
        const QImage before = Canvas().Image().copy();
        dialogs_.AnswerMessage(platform::MessageResult::Ok);
        const size_t asked = dialogs_.Requests().size();
        Form().cmdRefresh->click();
        ASSERT_EQ(dialogs_.Requests().size(), asked + 1);
        const platform::DialogRequest& shown = dialogs_.Requests().back();
        EXPECT_EQ(shown.text, r.message) << r.formula;
        EXPECT_EQ(shown.title, "Error in formula");
        EXPECT_EQ(shown.icon, platform::MessageIcon::Critical);
        EXPECT_EQ(Form().txtItForm->selectionStart(), r.selected) << r.formula;
        EXPECT_EQ(Form().txtItForm->selectedText().size(), 1);
        EXPECT_EQ(Canvas().Image(), before) << r.formula;
        EXPECT_EQ(Form().txtItForm->text(), r.formula);
    }
    // Until a formula parses, the custom map draws nothing, while the ranges
    // still follow the pans; the logistic map still draws.
    Form().optCustom->click();
    Form().cmdUp->click();
    Form().resize(Form().width() + 1, Form().height());
    QImage white(Canvas().Image().size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(Canvas().Image(), white);
    EXPECT_EQ(Form().txtMaxX->text(), "1.9000000000");
    Form().optLogistic->click();
    Form().cmdDown->click();
    EXPECT_EQ(CountInColumn(366, kBlack), 1);
    Form().optCustom->click();
    Type(Form().txtItForm, "x");
    Form().cmdRefresh->click();
    const int row = static_cast<int>(std::lrint(1.0 / Form().Ranges().yPerPixel));
    EXPECT_EQ(At(100, row), kBlack);
    EXPECT_EQ(CountInColumn(100, kBlack), 1);
}

TEST_F(Bifurcal, CustomFormulasPlotTheirOrbitsOrGreyColumns) {
    Form().optCustom->click();
    EXPECT_TRUE(Form().txtItForm->isEnabled());
    EXPECT_EQ(Form().txtItForm->selectedText(), "a * x * (1 - x)");
    EXPECT_EQ(Form().focusWidget(), Form().txtItForm);
    // The default formula draws what the logistic map draws.
    const QImage logistic = Canvas().Image().copy();
    Form().cmdRefresh->click();
    EXPECT_EQ(Canvas().Image(), logistic);

    Type(Form().txtItForm, "x");
    Type(Form().txtX0, "0.5");
    Form().cmdRefresh->click();
    const int row = static_cast<int>(std::lrint(1.0 / Form().Ranges().yPerPixel));
    for (int c = 0; c < Canvas().width(); c += 37) {
        EXPECT_EQ(CountInColumn(c, kBlack), 1) << c;
        EXPECT_EQ(At(c, row), kBlack) << c;
    }
    Type(Form().txtItForm, "LOG(0)");
    Form().cmdRefresh->click();
    for (int c = 0; c < Canvas().width(); c += 37)
        EXPECT_EQ(CountInColumn(c, kGrey), Canvas().height()) << c;
}

TEST_F(Bifurcal, PanningBeyondFourShowsGreyColumns) {
    Form().cmdRight->click();
    EXPECT_DOUBLE_EQ(Form().Ranges().minA, -0.8);
    EXPECT_DOUBLE_EQ(Form().Ranges().maxA, 5.2);
    const double perPixel = Form().Ranges().aPerPixel;
    for (int c = 0; c < Canvas().width(); ++c) {
        const double a = -0.8 + c * perPixel;
        if (a < 3.99) {
            ASSERT_EQ(CountInColumn(c, kGrey), 0) << a;
        } else if (a > 4.1) {
            ASSERT_EQ(CountInColumn(c, kGrey), Canvas().height()) << a;
        }
    }
    const struct {
        QPushButton* button;
        double minA, maxA, minX, maxX;
    } rows[] = {
        {Form().cmdLeft, -2, 4, -0.5, 1.5},
        {Form().cmdUp, -2, 4, -0.1, 1.9},
        {Form().cmdDown, -2, 4, -0.5, 1.5},
        {Form().cmdLeft, -3.2, 2.8, -0.5, 1.5},
    };
    for (const auto& r : rows) {
        r.button->click();
        const bifurcal::DiagramRanges& g = Form().Ranges();
        EXPECT_NEAR(g.minA, r.minA, 1e-12);
        EXPECT_NEAR(g.maxA, r.maxA, 1e-12);
        EXPECT_NEAR(g.minX, r.minX, 1e-12);
        EXPECT_NEAR(g.maxX, r.maxX, 1e-12);
    }
}

TEST_F(Bifurcal, AClickWithoutADragEndsTheRectangleAndADragZooms) {
    const QImage diagram = Canvas().Image().copy();
    // A click, and a drag too thin to zoom to, leave nothing behind.
    for (const QPoint end : {QPoint(100, 100), QPoint(101, 160), QPoint(180, 101)}) {
        Press({100, 100});
        Move(end);
        Release(end);
        EXPECT_EQ(Form().bandX1, -1);
        Move({300, 250});
        EXPECT_EQ(Canvas().Image(), diagram);
        Press({10, 10}, Qt::RightButton);
        Release({10, 10}, Qt::RightButton);
        Form().cmdReset->click();
        EXPECT_EQ(Canvas().Image(), diagram);
    }

    Press({100, 100});
    Move({300, 250});
    EXPECT_EQ(Canvas().Image(), WithBand(diagram, 100, 100, 300, 250));
    // Passing left of and above the anchor puts the pointer's corner first.
    Move({50, 80});
    EXPECT_EQ(Canvas().Image(), WithBand(diagram, 50, 80, 100, 100));
    // The anchor was passed: the corner left behind moves now.
    Move({51, 160});
    EXPECT_EQ(Canvas().Image(), WithBand(diagram, 50, 80, 51, 160));
    Move({130, 200});
    EXPECT_EQ(Canvas().Image(), WithBand(diagram, 50, 80, 130, 200));
    // A pan redraws the diagram under the rectangle in progress.
    Form().cmdUp->click();
    Form().cmdDown->click();
    Move({140, 210});
    EXPECT_EQ(Canvas().Image(), WithBand(diagram, 50, 80, 140, 210));

    const bifurcal::DiagramRanges before = Form().Ranges();
    Release({140, 210});
    EXPECT_EQ(Form().bandX1, -1);
    const bifurcal::DiagramRanges& after = Form().Ranges();
    EXPECT_DOUBLE_EQ(after.minA, 50 * before.aPerPixel + before.minA);
    EXPECT_DOUBLE_EQ(after.maxA, 140 * before.aPerPixel + before.minA);
    EXPECT_DOUBLE_EQ(after.maxX, before.maxX - 80 * before.yPerPixel);
    EXPECT_DOUBLE_EQ(after.minX, before.maxX - 210 * before.yPerPixel);
    EXPECT_DOUBLE_EQ(after.aPerPixel, (after.maxA - after.minA) / Canvas().width());
    EXPECT_EQ(Form().txtMinA->text(),
              platform::WithDecimalPoint(platform::FormatFixed(after.minA, 10)));
    // The new diagram carries no pixel of the rectangle's colours.
    for (int y = 0; y < Canvas().height(); ++y)
        for (int x = 0; x < Canvas().width(); ++x)
            ASSERT_TRUE(At(x, y) == kBlack || At(x, y) == kWhite || At(x, y) == kGrey) << x << y;
}

TEST_F(Bifurcal, RightClickZoomsOutBySevenFifthsAboutTheCentre) {
    Press({10, 10}, Qt::RightButton);
    Release({10, 10}, Qt::RightButton);
    const bifurcal::DiagramRanges& g = Form().Ranges();
    EXPECT_NEAR(g.minA, 1 - 4.2, 1e-12);
    EXPECT_NEAR(g.maxA, 1 + 4.2, 1e-12);
    EXPECT_NEAR(g.minX, 0.5 - 1.4, 1e-12);
    EXPECT_NEAR(g.maxX, 0.5 + 1.4, 1e-12);
    EXPECT_EQ(Form().txtMaxA->text(), "5.2000000000");
}

TEST_F(Bifurcal, StatusBarShowsThePointersValuesOrTheHints) {
    Move({183, 110});
    const double a = 183 * Form().Ranges().aPerPixel - 2;
    const double x = 1.5 - 110 * Form().Ranges().yPerPixel;
    EXPECT_EQ(Form().theBar->PanelText("a"), "a: " + platform::FormatFixed(a, 10));
    EXPECT_EQ(Form().theBar->PanelText("x"), "x: " + platform::FormatFixed(x, 10));
    QTest::mouseMove(&Form(), {225, 300});
    EXPECT_EQ(Form().theBar->PanelText("a"), "Drag mouse holding left button to zoom in");
    EXPECT_EQ(Form().theBar->PanelText("x"), "Click right mouse button to zoom out");
}

TEST_F(Bifurcal, ResizeAndResetFollowTheirRules) {
    Form().resize(1000, 700);
    const int w = 1000 - 252 - 20 - 13;
    EXPECT_EQ(Canvas().width(), w);
    EXPECT_EQ(Form().cmdUp->width(), w);
    EXPECT_EQ(Form().cmdDown->width(), w);
    EXPECT_EQ(Form().cmdRight->x(), 252 + w);
    EXPECT_EQ(Form().cmdLeft->height(), Canvas().height());
    EXPECT_DOUBLE_EQ(Form().Ranges().aPerPixel, 6.0 / w);
    // As small as it goes: the panel whole, the arrows around a canvas of one pixel.
    const int bar = Form().theBar->sizeHint().height();
    EXPECT_TRUE(platform_test::StopsShrinkingAt(Form(), QSize(286, 504 + 13 + bar)));
    Form().resize(1, 1);
    EXPECT_EQ(Canvas().width(), 1);

    Form().resize(834, 551);
    Form().optCustom->click();
    Type(Form().txtItForm, "x");
    Type(Form().txtIts, "7");
    Form().cmdRefresh->click();
    Form().cmdLeft->click();
    Form().cmdReset->click();
    EXPECT_EQ(RangeTexts(),
              QStringList({"-2.0000000000", "4.0000000000", "-0.5000000000", "1.5000000000"}));
    EXPECT_EQ(Form().txtIts->text(), "200");
    EXPECT_EQ(Form().txtItForm->text(), "a * x * (1 - x)");
    EXPECT_TRUE(Form().optLogistic->isChecked());
    EXPECT_FALSE(Form().txtX0->isEnabled());
    EXPECT_EQ(CountInColumn(366, kBlack), 1);
}

// What ShowRanges writes, Refresh reads back as the same numbers, in a comma
// locale and a point locale alike.
TEST_F(Bifurcal, RangesReadBackInEveryLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const struct {
        const char* name;
        QLocale locale;
        const char* status; // the status bar shows numbers as the locale writes them
    } locales[] = {
        {"de_DE.UTF-8", QLocale(QLocale::German, QLocale::Germany), "a: -1.234,5000000000"},
        {"en_US.UTF-8", QLocale(QLocale::English, QLocale::UnitedStates), "a: -1,234.5000000000"}};
    for (const auto& l : locales) {
        // scripts/common.sh generates both locales.
        ASSERT_NE(std::setlocale(LC_ALL, l.name), nullptr) << l.name << " missing";
        QLocale::setDefault(l.locale);
        Form().cmdReset->click();
        Form().cmdRefresh->click();
        EXPECT_EQ(RangeTexts(),
                  QStringList({"-2.0000000000", "4.0000000000", "-0.5000000000", "1.5000000000"}))
            << l.name;
        Refresh("-1234.5", "5000", "-0.25", "0.75");
        Form().cmdRefresh->click();
        Form().cmdRefresh->click();
        const bifurcal::DiagramRanges& g = Form().Ranges();
        EXPECT_EQ(g.minA, -1234.5) << l.name;
        EXPECT_EQ(g.maxA, 5000) << l.name;
        EXPECT_EQ(g.minX, -0.25) << l.name;
        EXPECT_EQ(g.maxX, 0.75) << l.name;
        EXPECT_EQ(Form().txtMaxA->text(), "5000.0000000000") << l.name;
        Move({1, 10});
        Move({0, 10});
        EXPECT_EQ(Form().theBar->PanelText("a"), l.status) << l.name;
    }
    std::setlocale(LC_ALL, saved.c_str());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

TEST_F(Bifurcal, ARepaintOfTheSameSizeShowsTheDrawingAgain) {
    const QImage diagram = Canvas().Image().copy();
    Canvas().SetPixelRgb(5, 5, qRgb(1, 2, 3));
    Canvas().Refresh();
    EXPECT_EQ(At(5, 5), 0x010203u);
    Form().resize(Form().width() - 1, Form().height());
    EXPECT_EQ(At(5, 5), kWhite);
    Form().resize(Form().width() + 1, Form().height());
    EXPECT_EQ(Canvas().Image(), diagram);
}

class LongDrawing : public Bifurcal {
protected:
    void SetUp() override {
        Bifurcal::SetUp();
        Type(Form().txtDisc, "32767");
        Type(Form().txtIts, "32767");
    }
    void TearDown() override {
        platform::SetDoEventsHook(nullptr);
        Bifurcal::TearDown();
    }
    // Refresh; action runs at the given column's pending messages.
    int RefreshWith(int column, const std::function<void()>& action) {
        int columns = 0;
        platform::SetDoEventsHook([&] {
            if (++columns == column)
                action();
        });
        Form().cmdRefresh->click();
        platform::SetDoEventsHook(nullptr);
        return columns;
    }
};

TEST_F(LongDrawing, ClosingTheWindowEndsTheDrawingAtOnce) {
    EXPECT_EQ(RefreshWith(3, [&] { Form().close(); }), 3);
    EXPECT_FALSE(Form().isVisible());
    // Columns beyond the third were never drawn.
    for (int c = 3; c < Canvas().width(); c += 50)
        EXPECT_EQ(CountInColumn(c, kWhite), Canvas().height()) << c;
}

TEST_F(LongDrawing, APanOrANewSizeDuringADrawingStartsItOver) {
    Type(Form().txtDisc, "100");
    Type(Form().txtIts, "200");
    const struct {
        std::function<void()> action;
        double minA;
        int width;
    } rows[] = {
        {[&] { Form().cmdRight->click(); }, -0.8, 549},
        {[&] { Form().resize(700, 500); }, -0.8, 415},
        {[&] {
             Press({10, 10}, Qt::RightButton);
             Release({10, 10}, Qt::RightButton);
         },
         -2.0, 415},
    };
    for (const auto& r : rows) {
        RefreshWith(5, r.action);
        EXPECT_NEAR(Form().Ranges().minA, r.minA, 1e-12);
        EXPECT_EQ(Canvas().width(), r.width);
        const QImage drawn = Canvas().Image().copy();
        Form().DrawDiagram();
        EXPECT_EQ(Canvas().Image(), drawn);
        EXPECT_EQ(Form().txtMinA->text(),
                  platform::WithDecimalPoint(platform::FormatFixed(r.minA, 10)));
    }
}

TEST_F(Bifurcal, F1OpensTheProgramsHelpPage) {
    EXPECT_EQ(platform_test::HelpPagesOnF1(Form()), std::vector<QString>{frmBifurcal::kHelpTopic});
}

} // namespace
