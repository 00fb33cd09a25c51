#include "ButtonArray.h"
#include "ModelessDialog.h"
#include "PopupMenu.h"
#include "ProgressBar.h"
#include "ScriptedDialogs.h"
#include "ScrollBar.h"
#include "StatusBar.h"
#include "TextBox.h"
#include "ToolBar.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace platform;

TEST(ToolBar, ButtonsAreEnabledAndClickedByKey) {
    ToolBar bar;
    bar.AddButton("Run", QIcon(), "Run");
    bar.AddButton("RunBack", QIcon(), "Run backwards");
    bar.AddSeparator();
    bar.AddButton("Stop", QIcon(), "Stop running");
    std::vector<QString> clicks;
    bar.onButtonClick = [&](const QString& key) { clicks.push_back(key); };

    EXPECT_EQ(bar.Keys(), (std::vector<QString>{"Run", "RunBack", "Stop"}));
    EXPECT_EQ(bar.Action("RunBack")->toolTip(), "Run backwards");
    bar.SetButtonEnabled("RunBack", false);
    EXPECT_FALSE(bar.IsButtonEnabled("RunBack"));
    EXPECT_TRUE(bar.IsButtonEnabled("Run"));

    bar.Click("RunBack");
    bar.Click("Stop");
    EXPECT_EQ(clicks, std::vector<QString>{"Stop"});

    bar.show(); // the real buttons dispatch the same way
    QTest::mouseClick(bar.widgetForAction(bar.Action("Run")), Qt::LeftButton);
    QTest::mouseClick(bar.widgetForAction(bar.Action("RunBack")), Qt::LeftButton);
    EXPECT_EQ(clicks, (std::vector<QString>{"Stop", "Run"}));

    bar.SetButtonEnabled("RunBack", true);
    QTest::mouseClick(bar.widgetForAction(bar.Action("RunBack")), Qt::LeftButton);
    EXPECT_EQ(clicks.back(), "RunBack");

    EXPECT_THROW(bar.SetButtonEnabled("Runn", false), std::invalid_argument);
    EXPECT_THROW(bar.AddButton("Run", QIcon(), "again"), std::invalid_argument);
}

TEST(StatusBar, PanelsByKey) {
    StatusBar bar;
    bar.AddPanel("gens", "Generation 1");
    bar.AddPanel("zoom", "");
    bar.SetPanelText("zoom", "z = 10");
    EXPECT_EQ(bar.PanelText("gens"), "Generation 1");
    EXPECT_EQ(bar.PanelText("zoom"), "z = 10");
    EXPECT_THROW(bar.PanelText("gen"), std::invalid_argument);
}

TEST(ScrollBar, ChangeEventsAndQuietSetting) {
    ScrollBar bar(Qt::Horizontal);
    bar.SetMax(100);
    bar.SetSmallChange(2);
    bar.SetLargeChange(20);
    std::vector<int> changes;
    bar.onChange = [&](int value) { changes.push_back(value); };

    bar.SetValue(50);
    bar.SetValue(50);
    bar.SetValueQuiet(70);
    EXPECT_EQ(changes, std::vector<int>{50});
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(changes, (std::vector<int>{50, 72, 52}));

    bar.SetValue(500);
    EXPECT_EQ(bar.Value(), 100);

    // Dragging the thumb raises one change, on release.
    bar.setSliderDown(true);
    bar.setSliderPosition(30);
    bar.setSliderPosition(40);
    EXPECT_EQ(changes.size(), 4u);
    bar.setSliderDown(false);
    EXPECT_EQ(changes, (std::vector<int>{50, 72, 52, 100, 40}));
}

TEST(ScrollBar, HandlerMayRecentreQuietlyWithoutASecondEvent) {
    ScrollBar bar(Qt::Vertical);
    bar.SetMax(100);
    bar.SetLargeChange(10);
    bar.SetValueQuiet(50);
    int events = 0;
    bar.onChange = [&](int value) {
        ++events;
        if (value > bar.Max() - bar.LargeChange()) {
            bar.SetValueQuiet(value - bar.LargeChange());
        }
    };
    bar.SetValue(95);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(bar.Value(), 85);
}

TEST(TextBox, KeyFilterDropsTypedCharactersAndKeyDownConsumesKeys) {
    TextBox box;
    std::vector<int> seen;
    box.keyFilter = [&](int c) {
        seen.push_back(c);
        return c >= '0' && c <= '9';
    };
    QTest::keyClicks(&box, "1a2 b3");
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), "123");
    EXPECT_EQ(seen.back(), 8);
    // Keys that type nothing pass the filter.
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.text(), "23");

    box.keyFilter = nullptr;
    std::vector<int> keys;
    box.onKeyDown = [&](const KeyEvent& e) {
        keys.push_back(e.key);
        return e.key == Qt::Key_Home || e.key == Qt::Key_X;
    };
    QTest::keyClick(&box, Qt::Key_End);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_X);
    QTest::keyClick(&box, Qt::Key_Y);
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_End, Qt::Key_Backspace, Qt::Key_Home, Qt::Key_X,
                                      Qt::Key_Y}));
    EXPECT_EQ(box.text(), "2y");
}

TEST(ButtonArray, OptionButtonsBySparseIndex) {
    Frame frame("Topology");
    OptionButtons options;
    for (int n : {8, 4, 3, 12, 6}) {
        options.Add(n, QString::number(n), &frame).move(0, 20 * options.Size());
    }
    std::vector<int> clicks;
    options.onClick = [&](int index) { clicks.push_back(index); };
    EXPECT_EQ(options.Indices(), (std::vector<int>{3, 4, 6, 8, 12}));

    options.SetChecked(8, true);
    EXPECT_TRUE(clicks.empty());
    options.Click(6);
    EXPECT_TRUE(options.Checked(6));
    EXPECT_FALSE(options.Checked(8));
    options[12].setEnabled(false);
    options.Click(12);
    EXPECT_TRUE(options.Checked(6));

    frame.show();
    QTest::mouseClick(&options[3], Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(options.Checked(3));
    EXPECT_FALSE(options.Checked(6));
    EXPECT_EQ(clicks, (std::vector<int>{6, 3}));
    EXPECT_THROW(options[5], std::out_of_range);
}

TEST(ButtonArray, CheckBoxesToggleIndependently) {
    QWidget parent;
    CheckBoxes boxes;
    for (int i = 0; i <= 12; ++i) {
        boxes.Add(i, QString::number(i), &parent);
    }
    std::vector<int> clicks;
    boxes.onClick = [&](int index) { clicks.push_back(index); };
    for (int index : {2, 3, 2}) {
        boxes.Click(index);
    }
    EXPECT_FALSE(boxes.Checked(2));
    EXPECT_TRUE(boxes.Checked(3));
    EXPECT_EQ(clicks, (std::vector<int>{2, 3, 2}));
}

TEST(PopupMenu, ChosenItemByNumberSkippingSeparators) {
    ScriptedDialogs dialogs;
    QWidget owner;
    PopupMenu menu;
    menu.AddItem("Lifeboard's Life");
    menu.AddItem("Seeds");
    menu.AddSeparator();
    EXPECT_EQ(menu.AddItem("Triangular 23/3"), 2);
    std::vector<int> chosen;
    menu.onChoose = [&](int item) { chosen.push_back(item); };

    dialogs.AnswerMenu("Triangular 23/3");
    dialogs.DismissMenu();
    dialogs.AnswerMenu("Seeds");
    for (int i = 0; i < 3; ++i) {
        menu.ShowAt(&owner, QPoint(80, 0));
    }
    EXPECT_EQ(chosen, (std::vector<int>{2, 1}));

    ASSERT_EQ(dialogs.Requests().size(), 3u);
    const MenuRequest& shown = dialogs.Requests()[0].menu;
    EXPECT_EQ(shown.items, (QStringList{"Lifeboard's Life", "Seeds", "-", "Triangular 23/3"}));
    EXPECT_EQ(shown.owner, &owner);
    EXPECT_EQ(shown.at, QPoint(80, 0));

    dialogs.AnswerMenu("High Life");
    EXPECT_THROW(menu.ShowAt(&owner, QPoint()), UnscriptedDialog);
    EXPECT_EQ(chosen.size(), 2u);
}

TEST(ModelessDialog, ShowsWithoutBlockingAndClosesWithItsOwner) {
    auto* owner = new QWidget;
    owner->show();
    QPointer<ModelessDialog> dialog = new ModelessDialog(owner);
    dialog->ShowModeless();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    owner->close();
    EXPECT_FALSE(dialog->isVisible());

    owner->show();
    dialog->ShowModeless();
    EXPECT_TRUE(dialog->isVisible());
    delete owner;
    EXPECT_TRUE(dialog.isNull());
}

namespace {

// A dialog whose Escape and close box only stop the work it shows.
class StoppingDialog : public ModelessDialog {
public:
    using ModelessDialog::ModelessDialog;
    int stops = 0;

protected:
    void reject() override { ++stops; }
};

} // namespace

TEST(ModelessDialog, AnOwnersCloseStopsAndRemovesADialogWhoseRejectKeepsItOpen) {
    QWidget owner;
    owner.show();
    StoppingDialog kept(&owner);
    QPointer<StoppingDialog> destroyed = new StoppingDialog(&owner);
    destroyed->SetDestroyedOnClose(true);
    kept.ShowModeless();
    destroyed->ShowModeless();
    kept.close();
    EXPECT_TRUE(kept.isVisible());

    owner.close();
    EXPECT_FALSE(kept.isVisible());
    EXPECT_EQ(kept.stops, 2);
    ASSERT_FALSE(destroyed.isNull());
    EXPECT_FALSE(destroyed->isVisible());
    EXPECT_EQ(destroyed->stops, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(destroyed.isNull());

    // Hidden already, it is not stopped again by the next close of its owner.
    owner.show();
    owner.close();
    EXPECT_EQ(kept.stops, 2);
}

TEST(ModelessDialog, ToolWindowClosesWithItsOwner) {
    QWidget owner;
    owner.show();
    ModelessDialog plain(&owner);
    ModelessDialog tool(&owner, true);
    EXPECT_EQ(plain.windowType(), Qt::Dialog);
    EXPECT_EQ(tool.windowType(), Qt::Tool);
    tool.ShowModeless();
    owner.close();
    EXPECT_FALSE(tool.isVisible());
}

TEST(ProgressBar, SixtyFourBitValuesAreScaledToTheBarWhichMovesOncePerFrame) {
    ProgressBar bar;
    int changes = 0;
    QObject::connect(&bar, &QProgressBar::valueChanged, [&] { ++changes; });
    constexpr int64_t kMax = (int64_t{1} << 40) + 12345;
    bar.SetMax(kMax);
    EXPECT_LE(bar.maximum(), ProgressBar::kSteps);
    EXPECT_GE(bar.maximum(), ProgressBar::kSteps / 2);
    // A value every 64 Ki items: the bar paints at most once per frame, and the
    // last value reaches it at the next frame.
    changes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int64_t done = 0; done <= kMax; done += int64_t{1} << 16) {
        bar.SetValue(done);
    }
    const auto frames = (std::chrono::steady_clock::now() - start) / ProgressBar::kFrame;
    EXPECT_LE(changes, frames + 1);
    // The pending value shows at the next frame, however long this machine takes to get there.
    const auto shows = [&bar](int value) { return QTest::qWaitFor([&] { return bar.value() == value; }, 10000); };
    EXPECT_TRUE(shows(bar.maximum()));

    bar.SetValue(kMax / 2);
    EXPECT_EQ(bar.Value(), kMax / 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(bar.value() - bar.maximum() / 2) <= 1; }, 10000));
    bar.SetValue(kMax + 1);
    EXPECT_EQ(bar.Value(), kMax);
    bar.SetValue(-5);
    EXPECT_EQ(bar.Value(), int64_t{0});
    EXPECT_TRUE(shows(0));
    bar.SetMax(0); // an empty job shows an empty bar, not a busy one
    EXPECT_EQ(std::tuple(bar.maximum(), bar.value(), bar.Max()), std::tuple(1, 0, int64_t{0}));
}
