#include "Clock.h"
#include "Color.h"
#include "DropDownList.h"
#include "Help.h"
#include "ListBox.h"
#include "ListView.h"
#include "MachineFile.h"
#include "OddFiles.h"
#include "ScriptedDialogs.h"
#include "Slider.h"
#include "SurfaceLine.h"
#include "TextBox.h"
#include "WindowSizeChecks.h"
#include "frmRibbonmill.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

using platform::MessageIcon;
using platform::MessageResult;

// QStrings in failures as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

// The test clock moves 10 ms each time a wait reads it.
int64_t fakeNow = 0;
int64_t FakeClock() {
    return fakeNow += 10;
}

class Ribbonmill : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetMillisecondClock(&FakeClock);
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        form_ = std::make_unique<frmRibbonmill>();
        form_->show();
    }
    void TearDown() override {
        form_.reset();
        platform::SetMillisecondClock(nullptr);
        EXPECT_EQ(dialogs_.Unused(), 0u) << "scripted answers left over";
    }

    frmRibbonmill& Form() { return *form_; }
    // Adds a state by the input box; a refused name answers its message.
    void AddState(const QString& name, bool refused = false) {
        dialogs_.AnswerInput(name);
        if (refused)
            dialogs_.AnswerMessage(MessageResult::Ok);
        Form().cmdAddState->click();
    }
    // The message shown last, as text|title|icon.
    QString Shown() {
        const auto& r = dialogs_.Requests().back();
        return r.text + "|" + r.title + "|" + QString::number(static_cast<int>(r.icon));
    }
    // The box under the marker's stem, -1 for the left button, 20 for the right.
    int MarkerBox() {
        const double x = Form().linMarker[0]->From().x();
        for (int i = 0; i < 20; ++i) {
            const QWidget* box = Form().txtTape[i];
            if (x == platform::PixelsToTwips(box->x()) + platform::PixelsToTwips(box->width()) / 2)
                return i;
        }
        return x < 750 ? -1 : x > 9750 ? 20 : -99;
    }
    QString Row(int row) {
        QStringList texts;
        for (int c = 0; c < 5; ++c)
            texts << Form().lstRules->Text(row, c);
        return texts.join("|");
    }

    platform::ScriptedDialogs dialogs_;
    std::unique_ptr<frmRibbonmill> form_;
};

const QString kNoIcon = QString::number(static_cast<int>(MessageIcon::None));
const QString kCritical = QString::number(static_cast<int>(MessageIcon::Critical));

} // namespace

TEST_F(Ribbonmill, LoadsBlankWithTheEditorDisabled) {
    EXPECT_EQ(Form().windowTitle(), "Veritope - Ribbonmill");
    EXPECT_TRUE(platform_test::KeepsItsSize(Form()));
    for (auto* box : Form().txtTape)
        EXPECT_EQ(box->text(), " ");
    EXPECT_EQ(MarkerBox(), 10);
    EXPECT_EQ(Form().linMarker[2]->To(), QPointF(5250, 1640));
    EXPECT_EQ(Form().cmbMachine->Text(), "STOP");
    EXPECT_EQ(Form().cmbAvailable->Text(), "2");
    EXPECT_EQ(Form().cmbSymbol->ListCount(), 3);
    EXPECT_EQ(Form().cmbSymbol->List(0), "(blank)");
    EXPECT_EQ(Form().sldSpeed->Value(), 2);
    EXPECT_FALSE(Form().cmdDelState->isEnabled());
    EXPECT_EQ(Form().lblWhen->text(), "No rule selected.");
    EXPECT_EQ(Form().optStop[1].text(), "Stop exectuction");
    for (auto* combo : {Form().cmbSymbol, Form().cmbDirection, Form().cmbState}) {
        EXPECT_FALSE(combo->isEnabled());
        EXPECT_EQ(combo->BackColor(), platform::kButtonFaceColor);
    }
    EXPECT_FALSE(Form().optStop[0].isEnabled());
    EXPECT_FALSE(Form().cmdLeft->icon().isNull());
    QString help;
    platform::SetHelpHandler([&help](const QString& page) { help = page; });
    Form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    Form().txtTape[0]->setFocus();
    QTest::keyClick(Form().txtTape[0], Qt::Key_F1);
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(help, "ribbonmill.htm");
}

TEST_F(Ribbonmill, TapeBoxesEditMoveTheHeadAndScroll) {
    Form().txtTape[4]->setText("7");
    EXPECT_EQ(Form().Machine().Tape().BoxSymbol(4), 7);
    Form().txtTape[5]->setText("x");
    EXPECT_EQ(Form().txtTape[5]->text(), " ");
    EXPECT_EQ(Form().Machine().Tape().BoxSymbol(5), -1);
    Form().txtTape_DblClick(3);
    EXPECT_EQ(Form().Machine().Tape().curoffset, 3);
    EXPECT_EQ(MarkerBox(), 3);
    Form().cmdRight->click();
    EXPECT_EQ(Form().txtTape[3]->text(), "7") << "the boxes show the cells one to the left";
    EXPECT_EQ(MarkerBox(), 2);
    for (int i = 0; i < 3; ++i)
        Form().cmdRight->click();
    EXPECT_EQ(MarkerBox(), -1);
    // The arrow keys move the focus, and scroll at the row's ends.
    EXPECT_TRUE(Form().txtTape_KeyDown(19, {Qt::Key_Right, 0}));
    EXPECT_EQ(Form().Machine().Tape().curoffset, -2);
    EXPECT_FALSE(Form().txtTape_KeyDown(3, {Qt::Key_A, 0}));
    Form().cmdClear->click();
    EXPECT_EQ(Form().txtTape[0]->text(), " ");
    EXPECT_EQ(MarkerBox(), 10);
}

TEST_F(Ribbonmill, StatesAreAddedRefusedAndDeleted) {
    AddState("A");
    AddState("STOP", true);
    EXPECT_EQ(Shown(), "You cannot name a state 'STOP'|Cannot add state|" + kNoIcon);
    AddState("A", true);
    EXPECT_EQ(Shown(), "A state named A already exists|Cannot add state|" + kNoIcon);
    AddState("say \"B\"", true);
    EXPECT_EQ(dialogs_.Requests().back().title, "Cannot add state");
    AddState(QString::fromUtf8("\u4e2d"), true);
    dialogs_.CancelInput();
    Form().cmdAddState->click();
    AddState("stop");
    EXPECT_EQ(Form().lstStates->ListCount(), 2);
    EXPECT_EQ(Form().cmbMachine->ListCount(), 3);
    EXPECT_EQ(Form().lstRules->RowCount(), 6);
    EXPECT_EQ(Row(3), "stop|(blank)|(blank)|Right|stop");

    Form().cmbMachine->Choose(2);
    EXPECT_EQ(Form().Machine().CurrentState(), 1);
    Form().lstStates->ClickItem(1);
    EXPECT_TRUE(Form().cmdDelState->isEnabled());
    Form().cmdDelState->click();
    EXPECT_FALSE(Form().cmdDelState->isEnabled());
    EXPECT_EQ(Form().cmbMachine->Text(), "STOP");
    EXPECT_EQ(Form().cmbState->ListCount(), 1);
    EXPECT_EQ(Form().lstRules->RowCount(), 3);
}

TEST_F(Ribbonmill, RuleEditorFollowsTheSelectedRow) {
    AddState("A");
    AddState("B");
    Form().lstRules->ClickRow(4);
    EXPECT_EQ(Form().lblWhen->text(), "In the <B> state, on reading the <0> symbol, perform this action:");
    EXPECT_TRUE(Form().optStop[0].isChecked());
    for (auto* combo : {Form().cmbSymbol, Form().cmbDirection, Form().cmbState}) {
        EXPECT_TRUE(combo->isEnabled());
        EXPECT_EQ(combo->BackColor(), platform::kWindowColor);
    }
    Form().cmbSymbol->Choose(2);
    Form().cmbDirection->Choose(0);
    Form().cmbState->Choose(0);
    EXPECT_EQ(Row(4), "B|0|1|Left|A");
    Form().optStop.Click(1);
    EXPECT_EQ(Row(4), "B|0|1|STOP|STOP");
    EXPECT_FALSE(Form().cmbDirection->isEnabled());
    EXPECT_EQ(Form().cmbState->BackColor(), platform::kButtonFaceColor);
    // Another row, then back: the halting row keeps its written symbol, and
    // continues as the combos show, with the other row's values.
    Form().lstRules->ClickRow(0);
    EXPECT_EQ(Form().cmbState->Text(), "A");
    Form().lstRules->ClickRow(4);
    EXPECT_TRUE(Form().optStop[1].isChecked());
    EXPECT_EQ(Form().cmbSymbol->Text(), "1");
    Form().optStop.Click(0);
    EXPECT_EQ(Row(4), "B|0|1|Right|A");
    EXPECT_EQ(Form().cmbState->Text(), "A");
    // Lowering N keeps the selection on a row that remains.
    Form().cmbAvailable->Choose(1);
    EXPECT_EQ(Form().lstRules->RowCount(), 4);
    EXPECT_EQ(Form().lstRules->SelectedRow(), 3);
    EXPECT_EQ(Row(3), "B|0|0|Right|A") << "the written 1 became the read symbol";
}

TEST_F(Ribbonmill, ContinuingAHaltingRuleTakesWhatTheCombosShow) {
    AddState("A");
    AddState("B");
    Form().lstRules->ClickRow(0);
    Form().cmbState->Choose(1);
    Form().cmbDirection->Choose(0);
    Form().optStop.Click(1);
    EXPECT_EQ(Row(0), "A|(blank)|(blank)|STOP|STOP");
    Form().optStop.Click(0);
    EXPECT_EQ(Row(0), "A|(blank)|(blank)|Left|B");
    EXPECT_EQ(Form().Machine().Rules()[0].newState, 1);
    EXPECT_TRUE(Form().cmbState->isEnabled());
    // After a load the combos show nothing: a halting row continues right, in
    // its own state.
    Form().optStop.Click(1);
    const auto dir = std::filesystem::temp_directory_path() / "ribbonmill_continue";
    std::filesystem::create_directories(dir);
    const QString path = QString::fromStdString((dir / "halting.qmx").string());
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().SaveMachine(path);
    Form().LoadMachine(path);
    EXPECT_EQ(Form().cmbDirection->Text(), "");
    EXPECT_EQ(Form().cmbState->Text(), "");
    Form().lstRules->ClickRow(0);
    EXPECT_TRUE(Form().optStop[1].isChecked());
    Form().optStop.Click(0);
    EXPECT_EQ(Row(0), "A|(blank)|(blank)|Right|A");
    EXPECT_EQ(Form().cmbDirection->Text(), "Right");
    EXPECT_EQ(Form().cmbState->Text(), "A");
    std::filesystem::remove_all(dir);
}

TEST_F(Ribbonmill, ARefusedLoadLeavesTheEditorShowingNoRule) {
    AddState("A");
    Form().lstRules->ClickRow(1);
    EXPECT_TRUE(Form().optStop[0].isChecked());
    EXPECT_EQ(Form().cmbDirection->Text(), "Right");
    const auto dir = std::filesystem::temp_directory_path() / "ribbonmill_refused";
    std::filesystem::create_directories(dir);
    {
        std::ofstream out(dir / "cut.qmx", std::ios::binary);
        out << "\"B\"\r\n\"STOP\"\r\n\"B\"\r\n\"2\"\r\n";
    }
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().LoadMachine(QString::fromStdString((dir / "cut.qmx").string()));
    EXPECT_EQ(Shown(), "Error opening file|Load|" + kCritical);
    EXPECT_EQ(Form().lblWhen->text(), "No rule selected.");
    EXPECT_FALSE(Form().optStop[0].isChecked());
    EXPECT_FALSE(Form().optStop[1].isChecked());
    for (auto* combo : {Form().cmbSymbol, Form().cmbDirection, Form().cmbState}) {
        EXPECT_EQ(combo->Text(), "");
        EXPECT_FALSE(combo->isEnabled());
    }
    // Selecting a rule shows it again.
    Form().lstRules->ClickRow(0);
    EXPECT_TRUE(Form().optStop[0].isChecked());
    EXPECT_EQ(Form().cmbDirection->Text(), "Right");
    EXPECT_EQ(Form().cmbState->Text(), "B");
    std::filesystem::remove_all(dir);
}

TEST_F(Ribbonmill, RunEndsAtAMissingRuleWithItsMessage) {
    AddState("A");
    Form().txtTape[13]->setText("5");
    Form().cmbMachine->Choose(1);
    Form().sldSpeed->SetValue(4);
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().cmdRun->click();
    EXPECT_EQ(Shown(), "No rule found for this symbol|Cannot run machine|" + kNoIcon);
    EXPECT_EQ(Form().cmdRun->text(), "Run");
    EXPECT_EQ(Form().Machine().Tape().curoffset, 13);
    EXPECT_EQ(MarkerBox(), 13);
    EXPECT_EQ(Form().lstRules->SelectedRow(), 0);
    // Step on a halted machine does nothing and says nothing.
    Form().cmbMachine->Choose(0);
    Form().cmdStep->click();
    EXPECT_EQ(Form().Machine().Tape().curoffset, 13);
}

TEST_F(Ribbonmill, RunStepAndScrollingMeetTheTapesLimitWithItsMessage) {
    using ribbonmill::clsTape;
    // A machine that writes 0 on every blank and moves right forever.
    AddState("A");
    Form().cmbAvailable->Choose(1);
    Form().lstRules->ClickRow(0);
    Form().cmbSymbol->Choose(1);
    Form().cmbMachine->Choose(1);
    Form().sldSpeed->SetValue(4);
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().cmdRun->click();
    const QString full = "The tape cannot grow beyond 10,000,000 cells|Cannot run machine|" + kNoIcon;
    EXPECT_EQ(Shown(), full);
    EXPECT_EQ(Form().cmdRun->text(), "Run");
    EXPECT_EQ(Form().cmbMachine->Text(), "A");
    EXPECT_EQ(Form().Machine().Tape().CellCount(), static_cast<std::size_t>(clsTape::kMaxCells));
    EXPECT_LE(Form().Machine().Tape().MemoryBytes(), clsTape::kMaxCells + (1u << 20));
    EXPECT_EQ(MarkerBox(), 19);
    EXPECT_EQ(Form().txtTape[18]->text(), "0");
    EXPECT_EQ(Form().txtTape[19]->text(), " ");
    // Step, the last box's arrow key and the right scroll button meet it too.
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().cmdStep->click();
    EXPECT_EQ(Shown(), full);
    dialogs_.AnswerMessage(MessageResult::Ok);
    EXPECT_TRUE(Form().txtTape_KeyDown(19, {Qt::Key_Right, 0}));
    EXPECT_EQ(Shown(), full);
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().cmdRight->click();
    EXPECT_EQ(Shown(), full);
    EXPECT_EQ(Form().Machine().Tape().curoffset, 19);
    EXPECT_EQ(Form().Machine().CurrentState(), 0);
    // Scrolling back over the tape's cells needs no message.
    Form().cmdLeft->click();
    EXPECT_EQ(MarkerBox(), 20);
    Form().cmdClear->click();
    EXPECT_EQ(Form().Machine().Tape().CellCount(), 20u);
    EXPECT_LE(Form().Machine().Tape().MemoryBytes(), 128u * 1024);
    EXPECT_EQ(Form().txtTape[18]->text(), " ");
}

TEST_F(Ribbonmill, StopDuringAPauseEndsTheRunAfterIt) {
    AddState("A");
    Form().cmbMachine->Choose(1);
    const int64_t start = fakeNow;
    QMetaObject::invokeMethod(Form().cmdRun, [this] { Form().cmdRun->click(); }, Qt::QueuedConnection);
    Form().cmdRun->click();
    EXPECT_EQ(Form().cmdRun->text(), "Run");
    EXPECT_EQ(Form().Machine().Tape().curoffset, 11) << "one step";
    EXPECT_EQ(MarkerBox(), 11);
    EXPECT_GE(fakeNow - start, 300) << "the pause at speed 2 ran to its end";
    // Halted, Run returns after one pause of 600 ms at speed 0.
    Form().cmbMachine->Choose(0);
    Form().sldSpeed->SetValue(0);
    const int64_t halted = fakeNow;
    Form().cmdRun->click();
    EXPECT_EQ(Form().cmdRun->text(), "Run");
    EXPECT_GE(fakeNow - halted, 600);
    EXPECT_LT(fakeNow - halted, 700);
}

TEST_F(Ribbonmill, ClosingDuringARunEndsIt) {
    AddState("A");
    Form().cmbMachine->Choose(1);
    Form().sldSpeed->SetValue(4);
    QMetaObject::invokeMethod(&Form(), [this] { Form().close(); }, Qt::QueuedConnection);
    Form().cmdRun->click();
    EXPECT_EQ(Form().cmdRun->text(), "Run");
    EXPECT_FALSE(Form().isVisible());
}

TEST_F(Ribbonmill, SavesAndLoadsMachinesWithTheirMessages) {
    const auto dir = std::filesystem::temp_directory_path() / "ribbonmill_window";
    std::filesystem::create_directories(dir);
    const QString path = QString::fromStdString((dir / "m.qmx").string());
    AddState("A");
    for (int i = 0; i < 12; ++i)
        Form().cmdLeft->click();
    dialogs_.AnswerFile(path);
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().cmdSave->click();
    EXPECT_EQ(Shown(), "File written successfully|Save|" + kNoIcon);
    EXPECT_EQ(dialogs_.Requests()[1].file.filter, "Ribbonmill files (*.qmx)|*.qmx");

    frmRibbonmill other;
    other.LoadMachine(path);
    EXPECT_EQ(other.lstStates->List(0), "A");
    EXPECT_EQ(other.cmbMachine->Text(), "STOP");
    EXPECT_EQ(other.lstRules->RowCount(), 3);
    EXPECT_EQ(other.Machine().Tape().curoffset, 22);
    EXPECT_EQ(other.linMarker[0]->From().x(), 9975) << "the marker at the right scroll button";

    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().LoadMachine(QString::fromStdString((dir / "missing.qmx").string()));
    EXPECT_EQ(Shown(), "Error opening file|Load|" + kCritical);
    EXPECT_EQ(Form().lstStates->ListCount(), 1);
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().SaveMachine(QString::fromStdString((dir / "no folder" / "m.qmx").string()));
    EXPECT_EQ(Shown(), "Error saving file|Save|" + kCritical);
    // A damaged file shows what it held until the damage.
    const std::string text = ribbonmill::MachineText(other.Machine());
    {
        std::ofstream out(dir / "cut.qmx", std::ios::binary);
        out << text.substr(0, text.size() - 20);
    }
    dialogs_.AnswerMessage(MessageResult::Ok);
    other.LoadMachine(QString::fromStdString((dir / "cut.qmx").string()));
    EXPECT_EQ(Shown(), "Error opening file|Load|" + kCritical);
    EXPECT_EQ(other.lstRules->RowCount(), 3);
    std::filesystem::remove_all(dir);
}

TEST_F(Ribbonmill, APipeOrAHugeFileChosenToLoadIsRefusedAndTheMachineStays) {
    namespace odd = platform::oddfiles;
    AddState("A");
    const std::filesystem::path fifo = odd::MakeFifo("window.fifo");
    const std::filesystem::path huge = odd::MakeSparseFile("window.qmx", odd::kHugeSize);
    for (const std::filesystem::path& path : {fifo, huge}) {
        dialogs_.AnswerFile(QString::fromStdString(path.string()));
        dialogs_.AnswerMessage(MessageResult::Ok);
        Form().cmdLoad->click();
        EXPECT_EQ(Shown(), "Error opening file|Load|" + kCritical) << path;
        EXPECT_EQ(Form().lstStates->ListCount(), 1);
    }
    std::filesystem::remove(fifo);
    std::filesystem::remove(huge);
    AddState("B");
    EXPECT_EQ(Form().lstStates->List(1), "B");
    EXPECT_EQ(Form().lstRules->RowCount(), 6);
}
