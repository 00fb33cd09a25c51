#include "dlgHistory.h"

#include "LifeboardFixture.h"
#include "ScriptedDialogs.h"
#include "TextBox.h"
#include "WindowSizeChecks.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <limits>

namespace {

class DlgHistoryTest : public lifeboard_test::LifeboardFixture {
protected:
    dlgHistory& Open() {
        Form().ShowHistory();
        dlgHistory* dialog = Form().historyDialog();
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }

    int32_t EngineLimit() {
        int32_t limit = -1;
        Form().Engine().get_HistoryLimit(&limit);
        return limit;
    }

    // Empties the box with the keys that pass the filter: Home, then Delete.
    static void Empty(platform::TextBox& box) {
        QTest::keyClick(&box, Qt::Key_Home);
        while (!box.text().isEmpty())
            QTest::keyClick(&box, Qt::Key_Delete);
    }
};

TEST_F(DlgHistoryTest, OpensWithoutBlockingShowingTheEngineLimit) {
    dlgHistory& dialog = Open();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_TRUE(platform_test::KeepsItsSize(dialog));
    EXPECT_EQ(dialog.windowTitle(), "History settings");
    EXPECT_EQ(dialog.lblExplanation->text(),
              "The application stores the evolution of the system to enable running it "
              "backwards. Increasing this value allows for running back further, but causes the "
              "application to consume more memory.");
    EXPECT_EQ(dialog.lblHistLimit->text(), "Number of events stored");
    EXPECT_EQ(dialog.OKButton->text(), "OK");
    EXPECT_EQ(dialog.txtHistLimit->text(), "100000");

    Form().ChangeHist(12345);
    Form().ShowHistory();
    EXPECT_EQ(Form().historyDialog(), &dialog);
    EXPECT_EQ(dialog.txtHistLimit->text(), "12345");

    Form().close();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DlgHistoryTest, OnlyDigitsCanBeTyped) {
    dlgHistory& dialog = Open();
    platform::TextBox& box = *dialog.txtHistLimit;
    Empty(box);
    QTest::keyClicks(&box, "1a2 -x.3Z+e");
    EXPECT_EQ(box.text(), "123");
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), "123");

    dialog.OKButton->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(EngineLimit(), 123);

    Open(); // letters alone leave the box as it was
    QTest::keyClicks(&box, "abc");
    EXPECT_EQ(box.text(), "123");
}

TEST_F(DlgHistoryTest, OkReadsTheBoxAsALeadingNumber) {
    // Typed text passes the filter; pasted text is not filtered.
    const struct {
        const char* text;
        bool typed;
        int32_t limit;
    } cases[] = {
        {"", true, 0},
        {"42abc", false, 42},
        {"12.5", false, 12}, // halves to even
        {"13.5", false, 14},
        {"-7", false, 0}, // the engine stores negative limits as 0
        {"2147483647", false, std::numeric_limits<int32_t>::max()},
        {"x5", false, 0},
    };
    for (const auto& c : cases) {
        Form().ChangeHist(777);
        dlgHistory& dialog = Open();
        if (c.typed) {
            Empty(*dialog.txtHistLimit);
            QTest::keyClicks(dialog.txtHistLimit, c.text);
        } else {
            dialog.txtHistLimit->setText(c.text);
        }
        dialog.OKButton->click();
        EXPECT_EQ(EngineLimit(), c.limit) << c.text;
    }
}

TEST_F(DlgHistoryTest, EnterPressesOkAndALimitPastTheRangeIsRefused) {
    dlgHistory& dialog = Open();
    Empty(*dialog.txtHistLimit);
    QTest::keyClicks(dialog.txtHistLimit, "250");
    QTest::keyClick(dialog.txtHistLimit, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(EngineLimit(), 250);

    size_t messages = 0;
    for (const char* text : {"2147483648", "99999999999", "-99999999999"}) {
        Open();
        dialog.txtHistLimit->setText(text);
        dialogs_.AnswerMessage(platform::MessageResult::Ok);
        dialog.OKButton->click();
        ASSERT_EQ(dialogs_.Requests().size(), ++messages) << text;
        EXPECT_EQ(dialogs_.Requests().back().text,
                  "The number of events stored must not exceed 2147483647.");
        EXPECT_TRUE(dialog.isVisible()) << "the user may correct it";
        EXPECT_EQ(EngineLimit(), 250) << text;
    }
}

} // namespace
