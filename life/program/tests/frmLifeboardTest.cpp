#include "frmLifeboard.h"

#include "HelpKeyPress.h"
#include "LatticeGeometry.h"
#include "LifeboardFixture.h"
#include "OddFiles.h"
#include "Pump.h"
#include "SafeReplace.h"
#include "ScriptedDialogs.h"
#include "ScrollBar.h"
#include "StatusBar.h"
#include "Surface.h"
#include "TextBox.h"
#include "ToolBar.h"
#include "WindowSizeChecks.h"

#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using lifeboard::LatticeOf;
using Cells = std::initializer_list<std::pair<int32_t, int32_t>>;

namespace {

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kGrid(0xE0, 0xE0, 0xE0);

class Lifeboard : public lifeboard_test::LifeboardFixture {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vt-lifeboard-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        LifeboardFixture::SetUp();
        if (HasFatalFailure())
            return;
        Form().resize(640, 480);
        Form().show();
        Form().board->Refresh();
    }
    void TearDown() override {
        platform::SetDoEventsHook(nullptr);
        LifeboardFixture::TearDown();
        std::filesystem::remove_all(dir_);
    }

    void Put(Cells cells) {
        for (const auto& [x, y] : cells)
            Form().Engine().put_Cell(x, y, 1);
    }
    bool Live(Cells cells) {
        for (const auto& [x, y] : cells) {
            int16_t v = 0;
            Form().Engine().get_Cell(x, y, &v);
            if (v != 1)
                return false;
        }
        return true;
    }
    bool Live(int32_t x, int32_t y) { return Live({{x, y}}); }
    QPoint Centre(int32_t x, int32_t y) {
        const auto c = lifeboard::CellCentre(LatticeOf(Form().NeiCount()), Form().View(), x, y);
        return {static_cast<int>(c.x), static_cast<int>(c.y)};
    }
    QColor Pixel(QPoint p) { return Form().board->Pixel(p.x(), p.y()); }
    QColor PixelAtCentre(int32_t x, int32_t y) { return Pixel(Centre(x, y)); }
    void ExpectDrawn(Cells black, Cells white) {
        for (const auto& [x, y] : black)
            EXPECT_EQ(PixelAtCentre(x, y), kBlack) << x << "," << y;
        for (const auto& [x, y] : white)
            EXPECT_EQ(PixelAtCentre(x, y), kWhite) << x << "," << y;
    }
    void Click(Qt::MouseButton button, QPoint at) {
        QTest::mouseClick(Form().board, button, {}, at - Form().board->Origin());
    }
    QString Status() { return Form().statBar->PanelText("gens"); }
    bool Enabled(const char* key) { return Form().tlbToolBar->IsButtonEnabled(key); }
    void SetRule(std::initializer_list<int> survival, std::initializer_list<int> birth) {
        for (int16_t k = 0; k <= Form().NeiCount(); ++k) {
            Form().SetRuleS(k, 0);
            Form().SetRuleB(k, 0);
        }
        for (int k : survival)
            Form().SetRuleS(static_cast<int16_t>(k), 1);
        for (int k : birth)
            Form().SetRuleB(static_cast<int16_t>(k), 1);
    }
    // Runs an action with a scripted file answer (and an OK for a message, if asked).
    template <class Action>
    std::vector<platform::DialogRequest> WithFile(const std::filesystem::path& path, Action act,
                                                  bool message = false) {
        platform::ScriptedDialogs dialogs;
        dialogs.AnswerFile(QString::fromStdString(path.string()));
        if (message)
            dialogs.AnswerMessage(platform::MessageResult::Ok);
        act();
        EXPECT_TRUE(dialogs.Errors().empty());
        return dialogs.Requests();
    }

    std::filesystem::path dir_;
};

} // namespace

TEST_F(Lifeboard, StartsWithoutARegisteredEngineOnlyToSayWhy) {
    ::setenv("VERITOPE_REGISTRY", (dir_ / "empty").c_str(), 1);
    platform::ScriptedDialogs dialogs;
    dialogs.AnswerMessage(platform::MessageResult::Ok);
    frmLifeboard form;
    EXPECT_FALSE(form.Loaded());
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    const platform::DialogRequest& r = dialogs.Requests()[0];
    EXPECT_EQ(r.text, "Initialization error. Try reinstalling the application.");
    EXPECT_EQ(r.title, "Lifeboard");
    EXPECT_EQ(r.icon, platform::MessageIcon::Critical);
}

TEST_F(Lifeboard, StartsAsTheWindowOfAFreshEngine) {
    frmLifeboard& f = Form();
    EXPECT_EQ(f.windowTitle(), "Veritope - Lifeboard");
    EXPECT_EQ(Status(), "Generation 1");
    EXPECT_EQ(f.tlbToolBar->Keys(),
              (std::vector<QString>{"Clear", "Open", "Save", "RunBack", "StepBack", "Stop", "Step",
                                    "Run", "ZoomIn", "ZoomOut", "Rules", "Hist", "Help", "Exit"}));
    EXPECT_FALSE(Enabled("StepBack") || Enabled("RunBack") || Enabled("Stop"));
    EXPECT_TRUE(Enabled("Step") && Enabled("Run"));
    EXPECT_EQ(f.View(), (lifeboard::View{10, 0, 0}));
    EXPECT_EQ(f.EngineRule(), lifeboard::MakeRule({2, 3}, {3}));
    // The grid of the empty board, cells 20 pixels apart.
    EXPECT_EQ(f.board->Pixel(100, 100), kWhite);
    EXPECT_EQ(f.board->Pixel(90, 100), kGrid);
    EXPECT_EQ(f.board->Pixel(110, 95), kGrid);
}

TEST_F(Lifeboard, TheBoardFollowsTheWindowButTheToolbarStaysWhole) {
    EXPECT_TRUE(platform_test::KeepsEveryToolButton(Form(), *Form().tlbToolBar));
}

TEST_F(Lifeboard, MouseEditsStepAndStepBackDrawWhatChanged) {
    frmLifeboard& f = Form();
    for (int x = 4; x <= 6; ++x)
        Click(Qt::LeftButton, QPoint(20 * x, 100));
    EXPECT_TRUE(Live({{4, 5}, {5, 5}, {6, 5}}));
    ExpectDrawn({{4, 5}}, {});

    f.tlbToolBar->Click("Step");
    EXPECT_EQ(Status(), "Generation 2");
    EXPECT_TRUE(Enabled("StepBack") && Enabled("RunBack"));
    ExpectDrawn({{5, 4}, {5, 6}, {5, 5}}, {{4, 5}});

    f.tlbToolBar->Click("StepBack");
    EXPECT_EQ(Status(), "Generation 1");
    EXPECT_TRUE(Live(4, 5) && !Live(5, 4));
    ExpectDrawn({{4, 5}}, {{5, 4}});
    EXPECT_FALSE(Enabled("StepBack"));

    // An edit empties the history; a second click on the cell removes it.
    f.tlbToolBar->Click("Step");
    Click(Qt::RightButton, QPoint(200, 200));
    EXPECT_TRUE(Live(10, 10));
    EXPECT_FALSE(Enabled("StepBack") || Enabled("RunBack"));
    EXPECT_FALSE(f.DoStepBack());
    EXPECT_EQ(Status(), "Generation 2");
    Click(Qt::LeftButton, QPoint(200, 200));
    EXPECT_FALSE(Live(10, 10));
    ExpectDrawn({}, {{10, 10}});

    // Half-way between squares goes to the even cell: 5.5 -> 6, 3.5 -> 4.
    f.ClearBoard();
    Click(Qt::LeftButton, QPoint(110, 100));
    Click(Qt::LeftButton, QPoint(70, 100));
    EXPECT_TRUE(Live({{6, 5}, {4, 5}}));
    EXPECT_FALSE(Live(5, 5) || Live(3, 5));
}

TEST_F(Lifeboard, RunsUntilStoppedAndASecondRunDoesNotStart) {
    frmLifeboard& f = Form();
    Put({{4, 5}, {5, 5}, {6, 5}});
    int calls = 0;
    bool runDisabled = false, stopEnabled = false, backDisabled = true;
    platform::SetDoEventsHook([&] {
        ++calls;
        runDisabled = !Enabled("Run") && !Enabled("Step");
        stopEnabled = Enabled("Stop");
        backDisabled = backDisabled && !Enabled("RunBack") && !Enabled("StepBack");
        // Neither run command starts a second loop inside this one.
        f.RunForward();
        f.RunBackward();
        EXPECT_TRUE(f.Running());
        if (calls == 5)
            f.tlbToolBar->Click("Stop");
    });
    f.tlbToolBar->Click("Run");
    EXPECT_EQ(calls, 5);
    EXPECT_TRUE(runDisabled && stopEnabled && backDisabled);
    EXPECT_FALSE(f.Running());
    EXPECT_EQ(Status(), "Generation 6");
    EXPECT_TRUE(Enabled("Run") && Enabled("Step") && Enabled("StepBack"));
    EXPECT_FALSE(Enabled("Stop"));

    calls = 0;
    platform::SetDoEventsHook([&] { ++calls; });
    f.tlbToolBar->Click("RunBack");
    EXPECT_EQ(Status(), "Generation 1");
    EXPECT_EQ(calls, 5);
    EXPECT_FALSE(Enabled("RunBack") || Enabled("StepBack") || Enabled("Stop"));
    EXPECT_TRUE(Live({{4, 5}, {6, 5}}) && !Live(5, 4));
}

TEST_F(Lifeboard, ClosingDuringARunStopsItThenCloses) {
    frmLifeboard& f = Form();
    Put({{4, 5}, {5, 5}, {6, 5}});
    int calls = 0;
    platform::SetDoEventsHook([&] {
        if (++calls == 3) {
            f.tlbToolBar->Click("Exit");
            EXPECT_TRUE(f.isVisible()) << "the run ends first";
        }
        if (calls == 100)
            f.StopRunning(); // a run the close did not end fails rather than hangs
    });
    f.tlbToolBar->Click("Run");
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(f.Running());
    EXPECT_FALSE(f.isVisible());
}

TEST_F(Lifeboard, CellsAreDrawnOnEveryLatticeAtEveryZoom) {
    frmLifeboard& f = Form();
    for (int16_t n : {4, 8, 6, 3, 12}) {
        f.SetNeiCount(n);
        for (int zoomOut = 0; zoomOut < 3; ++zoomOut) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " z=" << f.View().z);
            f.ClearBoard();
            Put({{7, 9}, {8, 9}});
            f.board->Refresh();
            ExpectDrawn({{7, 9}, {8, 9}}, {{7, 10}});
            for (int i = 0; i < 3; ++i)
                f.ZoomBy(-1);
        }
        while (f.View().z < 10)
            f.ZoomBy(+1);
    }
}

TEST_F(Lifeboard, SmallSquaresHaveNoOutlineAndShrinkByOnePixel) {
    frmLifeboard& f = Form();
    Put({{20, 20}});
    while (f.View().z > 4)
        f.ZoomBy(-1);
    QPoint c = Centre(20, 20);
    EXPECT_EQ(Pixel(c - QPoint(4, 0)), kGrid); // the outline of a live cell
    EXPECT_EQ(Pixel(c - QPoint(3, 0)), kBlack);

    f.ZoomBy(-1);
    ASSERT_EQ(f.View().z, 3);
    c = Centre(20, 20);
    EXPECT_EQ(Pixel(c - QPoint(3, 0)), kBlack);
    EXPECT_EQ(Pixel(c + QPoint(2, 0)), kBlack);
    EXPECT_EQ(Pixel(c + QPoint(3, 0)), kWhite); // one pixel less at the right
    EXPECT_EQ(Pixel(c + QPoint(0, 3)), kWhite); // and at the bottom
    EXPECT_EQ(Pixel(c - QPoint(5, 0)), kWhite); // no grid at this size
}

TEST_F(Lifeboard, ZoomKeepsTheCentreAndSnapsOffsets) {
    frmLifeboard& f = Form();
    while (f.View().z > 1)
        f.tlbToolBar->Click("ZoomOut");
    const lifeboard::View atOne = f.View();
    f.tlbToolBar->Click("ZoomOut");
    EXPECT_EQ(f.View(), atOne);
    for (int i = 0; i < 6; ++i) {
        f.tlbToolBar->Click("ZoomIn");
        EXPECT_EQ(f.View().ox % f.View().z, 0);
        EXPECT_EQ(f.View().oy % f.View().z, 0);
    }
    EXPECT_EQ(f.View().z, 7);
}

TEST_F(Lifeboard, ScrollBarsAndArrowKeysMoveTheViewByCells) {
    frmLifeboard& f = Form();
    const lifeboard::View start = f.View();
    f.scrH->SetValue(f.scrH->Value() + f.scrH->SmallChange());
    EXPECT_EQ(f.View().ox, start.ox - f.scrH->SmallChange() * start.z);
    QTest::keyClick(f.cmdDummy, Qt::Key_Left);
    EXPECT_EQ(f.View().ox, start.ox);
    QTest::keyClick(f.cmdDummy, Qt::Key_Down);
    EXPECT_EQ(f.View().oy, start.oy - start.z);
    QTest::keyClick(f.cmdDummy, Qt::Key_Up);
    EXPECT_EQ(f.View().oy, start.oy);

    // Driven to its end, the thumb is pulled back without moving the view again.
    const int before = f.scrV->Value();
    f.scrV->SetValue(f.scrV->Min());
    EXPECT_EQ(f.View().oy, start.oy + (before - f.scrV->Min()) * start.z);
    EXPECT_EQ(f.scrV->Value(), f.scrV->Min() + f.scrV->LargeChange());
    f.scrV->SetValue(f.scrV->Value() + 1);
    EXPECT_EQ(f.View().oy, start.oy + (before - f.scrV->Min() - 1) * start.z);
}

TEST_F(Lifeboard, ComplementModeDrawsTheEngineCellsWhiteOnBlack) {
    frmLifeboard& f = Form();
    SetRule({}, {0, 1}); // every step complements
    Put({{10, 10}});
    f.DoStep();
    EXPECT_TRUE(f.negative);
    EXPECT_EQ(f.board->Pixel(300, 300), kBlack);
    int32_t x = 0, y = 0;
    int16_t ok = 0;
    f.Engine().StartIterating();
    f.Engine().NextCell(&x, &y, &ok);
    ASSERT_EQ(ok, 1);
    EXPECT_EQ(PixelAtCentre(x, y), kWhite); // the engine holds the dead cells
    f.DoStep();
    EXPECT_FALSE(f.negative);
    EXPECT_EQ(f.board->Pixel(300, 300), kWhite);

    f.DoStep();
    ASSERT_TRUE(f.negative);
    f.tlbToolBar->Click("Clear");
    EXPECT_FALSE(f.negative);
    EXPECT_EQ(f.board->Pixel(300, 300), kWhite);
    EXPECT_EQ(Status(), "Generation 1");
    EXPECT_EQ(f.EngineRule(), lifeboard::MakeRule({}, {0, 1})) << "the user's rule again";

    // A rule that stays in the complement mode after its first step.
    SetRule({8}, {0});
    Put({{10, 10}});
    f.DoStep();
    ASSERT_TRUE(f.negative);
    f.ClearBoard();
    EXPECT_EQ(f.EngineRule(), lifeboard::MakeRule({8}, {0}));
}

TEST_F(Lifeboard, StepsForwardAndBackRestoreModeAndRulesOnEveryLattice) {
    frmLifeboard& f = Form();
    for (int16_t n : {3, 4, 6, 8, 12}) {
        f.SetNeiCount(n);
        f.ClearBoard();
        // Survival on n: one complementing step, then ordinary ones; without: flips always.
        for (bool flipsAlways : {false, true}) {
            SCOPED_TRACE(testing::Message() << n << (flipsAlways ? " flipping" : ""));
            if (flipsAlways)
                SetRule({1}, {0, 2});
            else
                SetRule({1, n}, {0, 2});
            const lifeboard::RuleTables rule = f.EngineRule();
            Put({{3, 3}, {4, 3}, {3, 4}});
            for (int k = 0; k < 5; ++k)
                f.DoStep();
            EXPECT_EQ(Status(), "Generation 6");
            while (f.DoStepBack()) {
            }
            EXPECT_EQ(Status(), "Generation 1");
            EXPECT_FALSE(f.negative);
            EXPECT_EQ(f.EngineRule(), rule);
            EXPECT_TRUE(Live({{3, 3}, {4, 3}, {3, 4}}));
            f.ClearBoard();
        }
    }
}

TEST_F(Lifeboard, PatternFilesRoundTripThroughTheDialogs) {
    frmLifeboard& f = Form();
    f.SetNeiCount(6);
    SetRule({3, 4}, {2});
    Put({{-2, 1}, {5, -3}});
    const auto path = dir_ / "hex.lif";
    const auto saved = WithFile(path, [&] { f.tlbToolBar->Click("Save"); });
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].file.filter, "Life files (*.lif, *.life)|*.lif;*.life|All files|*.*");
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "#Life 1.06\r\n"
              "#D User Life file saved by 'Veritope - Lifeboard'\r\n"
              "#D Extended properties:\r\n"
              "#D 6 neighbors - hexagonal lattice\r\n"
              "#R 34/2\r\n"
              "-2 1\r\n"
              "5 -3\r\n");
    f.SetNeiCount(8);
    f.ClearBoard();
    EXPECT_EQ(WithFile(path, [&] { f.tlbToolBar->Click("Open"); }).size(), 1u);
    EXPECT_EQ(f.NeiCount(), 6);
    EXPECT_EQ(f.EngineRule(), lifeboard::MakeRule({3, 4}, {2}));
    EXPECT_TRUE(Live({{-2, 1}, {5, -3}}));
    ExpectDrawn({{-2, 1}, {5, -3}}, {});

    f.ClearBoard();
    f.SetNeiCount(8);
    SetRule({}, {0, 1});
    Put({{1, 1}});
    f.DoStep();
    ASSERT_TRUE(f.negative);
    const lifeboard::RuleTables transformed = f.EngineRule();
    const auto negPath = dir_ / "negative.lif";
    WithFile(negPath, [&] { f.SaveLifeFile(); });
    f.ClearBoard();
    WithFile(negPath, [&] { f.OpenLifeFile(); });
    EXPECT_TRUE(f.negative);
    EXPECT_EQ(f.EngineRule(), transformed);
    // Every cell the engine does not hold is drawn live.
    const auto cell = lifeboard::CellAtPixel(LatticeOf(8), f.View(), 300, 300);
    ASSERT_TRUE(cell);
    EXPECT_EQ(PixelAtCentre(cell->x, cell->y), Live(cell->x, cell->y) ? kWhite : kBlack);
}

TEST_F(Lifeboard, FileFailuresShowTheirMessages) {
    frmLifeboard& f = Form();
    const auto write = [&](const char* name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return dir_ / name;
    };
    const auto open = [&] { f.OpenLifeFile(); };
    const std::pair<std::filesystem::path, const char*> cases[] = {
        {dir_ / "missing.lif", "Error opening file. File is not accessible."},
        {write("format.lif", "#Life 1.05 \r\n"),
         "Error reading file. This format is not supported."},
        {write("corrupt.lif", "#Life 1.06\r\n1 2\r\n3\r\n"),
         "Error reading file. File may be corrupt."},
        {write("far.lif", "#Life 1.06\r\n2147483647 0\r\n"),
         "Error adjusting viewpoint. File may contain invalid data."},
        {dir_, "Error opening file for writing. File does not exist or access is denied."},
    };
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(message);
        const bool save = path == dir_; // a folder cannot be written
        const auto r = save ? WithFile(
                                  path, [&] { f.SaveLifeFile(); }, true)
                            : WithFile(path, open, true);
        ASSERT_EQ(r.size(), 2u);
        EXPECT_EQ(r[1].text, message);
        EXPECT_EQ(r[1].title, "Lifeboard");
        EXPECT_EQ(r[1].icon, platform::MessageIcon::Critical);
    }
    // The cell read before a damaged line stays; cancelling shows nothing more.
    WithFile(write("corrupt2.lif", "#Life 1.06\r\n1 2\r\nx\r\n"), open, true);
    EXPECT_TRUE(Live(1, 2));
    EXPECT_EQ(WithFile("", open).size(), 1u);
}

TEST_F(Lifeboard, APipeOrADeviceChosenAsPatternIsRefusedAndTheBoardStaysUsable) {
    frmLifeboard& f = Form();
    const std::filesystem::path fifo = platform::oddfiles::MakeFifo("board.fifo");
    for (const std::filesystem::path& path : {fifo, std::filesystem::path("/dev/zero")}) {
        const auto r = WithFile(path, [&] { f.OpenLifeFile(); }, true);
        ASSERT_EQ(r.size(), 2u) << path;
        EXPECT_EQ(r[1].text, "Error opening file. File is not accessible.");
        EXPECT_EQ(r[1].title, "Lifeboard");
    }
    std::filesystem::remove(fifo);
    for (int x = 4; x <= 6; ++x)
        Click(Qt::LeftButton, QPoint(20 * x, 100));
    f.tlbToolBar->Click("Step");
    EXPECT_EQ(Status(), "Generation 2");
    EXPECT_TRUE(Live({{5, 4}, {5, 5}, {5, 6}}));
}

TEST_F(Lifeboard, AFailedOrCancelledSaveKeepsTheOldPattern) {
    frmLifeboard& f = Form();
    const auto path = dir_ / "old.lif";
    const std::string old = "#Life 1.06\r\n1 2\r\n";
    std::ofstream(path, std::ios::binary) << old;
    for (int32_t i = 0; i < 10000; ++i)
        f.Engine().put_Cell(i, i % 7, 1);
    const auto unchanged = [&] {
        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1)
            << "nothing left aside";
    };
    {
        platform::SafeReplaceWriteLimit full(65536); // the disk fills up
        const auto r = WithFile(path, [&] { f.SaveLifeFile(); }, true);
        ASSERT_EQ(r.size(), 2u);
        EXPECT_EQ(r[1].text, "Error writing to file.");
    }
    unchanged();
    EXPECT_EQ(WithFile("", [&] { f.SaveLifeFile(); }).size(), 1u); // the dialog cancelled
    unchanged();
}

TEST_F(Lifeboard, F1OpensTheProgramsHelpPage) {
    EXPECT_EQ(platform_test::HelpPagesOnF1(Form()), std::vector<QString>{frmLifeboard::kHelpTopic});
}
