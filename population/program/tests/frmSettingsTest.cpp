#include "CooperonFixture.h"
#include "PopulationLibrary.h"
#include "WindowSizeChecks.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <map>

using namespace cooperon_test;
using cooperon::GetRepParams_;
using cooperon::GetSize_;
using platform::TextBox;

namespace {

class Settings : public CooperonFixture {
protected:
    // Types text into the box with the focus in it, as a user would.
    static void Type(TextBox& box, const QString& text) {
        box.setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(box.hasFocus());
        box.selectAll();
        QTest::keyClick(&box, Qt::Key_Delete);
        QTest::keyClicks(&box, text);
    }
    // Moves the focus on with Tab and lets the check that follows run.
    static void TabAway(TextBox& box) {
        QTest::keyClick(&box, Qt::Key_Tab);
        QApplication::processEvents();
    }
    std::vector<QString> Messages() const {
        std::vector<QString> texts;
        for (const platform::DialogRequest& r : dialogs_.Requests()) {
            EXPECT_EQ(r.title, "Cooperon settings");
            EXPECT_EQ(r.icon, platform::MessageIcon::Critical);
            texts.push_back(r.text);
        }
        return texts;
    }
};

TEST_F(Settings, OpensFilledWithTheSettingsAtLoadAndOkWithoutEditsSetsTheTextsAgain) {
    ASSERT_TRUE(WithSettings([&](frmSettings& d) {
        EXPECT_EQ(d.windowTitle(), "Settings");
        EXPECT_TRUE(platform_test::KeepsItsSize(d));
        EXPECT_TRUE(d.cmdOK->isDefault());
        const auto texts = [](auto... controls) {
            QStringList list;
            (list.append(controls->text()), ...);
            return list;
        };
        EXPECT_EQ(
            QStringList({d.framGame->title(), d.framPayoffs->title(), d.framGenetic->title()}),
            QStringList({"Game settings", "Payoff matrix", "Genetic algorithm"}));
        EXPECT_EQ(texts(d.lblYou, d.lblPartner, d.lblInnocent[0], d.lblInnocent[1], d.lblGuilty[0],
                        d.lblGuilty[1], d.lblGames, d.lblTours, d.lblSize, d.lblMut, d.lblCross,
                        d.cmdOK, d.cmdCancel),
                  QStringList({"You", "Your partner", "Innocent", "Innocent", "Guilty", "Guilty",
                               "Games in a session", "Sessions per generation", "Population size",
                               "Mutation probability", "Crossover probability", "OK", "Cancel"}));
        EXPECT_EQ(texts(d.txtPayoff[0], d.txtPayoff[1], d.txtPayoff[2], d.txtPayoff[3], d.txtGames,
                        d.txtTours, d.txtSize, d.txtMut, d.txtCross),
                  QStringList({"1", "0", "20", "10", "50", "4", "64", "0.0142857142857143",
                               "0.0285714285714286"}));
        // Payoff i: your move i mod 2 across, the partner's move i div 2 down.
        EXPECT_LT(d.txtPayoff[0]->x(), d.txtPayoff[1]->x());
        EXPECT_EQ(d.txtPayoff[0]->pos(), d.txtPayoff[2]->pos() - QPoint(0, 27));
        d.txtMut->setFocus();
        d.cmdOK->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }));
    double mutation = 0, crossover = 0;
    GetRepParams_(&mutation, &crossover);
    EXPECT_EQ(mutation, 0.0142857142857143);
    EXPECT_NE(mutation, 1.0 / 70);
    EXPECT_EQ(crossover, 0.0285714285714286);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Settings, EachBoxChecksItsValueWhenTheFocusLeavesIt) {
    const char* const kSize = "There must be at least one member of the population";
    const struct {
        const char* box; // a box name, or the index of a payoff box
        const char* typed;
        const char* shown;
        const char* message; // null: accepted
    } cases[] = {
        {"Games", "2.7", "2", nullptr},
        {"Games", "0.9", "0", "There must be at least one game in a series"},
        {"2", "-3", "-3", "Only non-negative payoffs allowed"},
        {"3", "7.9", "7", nullptr},
        {"3", "-0.5", "0", nullptr},
        {"0", "2147483647.9", "2147483647", nullptr},
        {"Tours", "1e999", "1e999", "There can be at most 20 game series in a generation"},
        {"Tours", "20.9", "20", nullptr},
        {"Tours", "21", "21", "There can be at most 20 game series in a generation"},
        {"Games", "100", "100", nullptr},
        {"Games", "101", "101", "There can be at most 100 games in a series"},
        {"1", "3000000000", "3000000000", "Values above 2147483647 are not allowed"},
        {"Size", "abc", "0", kSize},
        {"Size", "32768", "32768", "The population can have at most 32767 members"},
        {"Size", "32767", "32767", nullptr},
        {"Tours", "12abc", "12", nullptr},
        {"Tours", "-0", "0", "There must be at least one game series in a generation"},
        {"Mut", "0", "0", nullptr},
        {"Mut", "1", "1", nullptr},
        {"Mut", "1.0001", "1.0001", "Mutation probability must be between 0 and 1"},
        {"Cross", "-0.1", "-0.1", "Crossover probability must be between 0 and 1"},
        {"Cross", "0.5 or so", "0.5 or so", nullptr},
    };
    ASSERT_TRUE(WithSettings([&](frmSettings& d) {
        const std::map<std::string, TextBox*> boxes = {
            {"0", d.txtPayoff[0]}, {"1", d.txtPayoff[1]}, {"2", d.txtPayoff[2]},
            {"3", d.txtPayoff[3]}, {"Games", d.txtGames}, {"Tours", d.txtTours},
            {"Size", d.txtSize},   {"Mut", d.txtMut},     {"Cross", d.txtCross}};
        std::size_t messages = 0;
        for (const auto& c : cases) {
            TextBox& box = *boxes.at(c.box);
            if (c.message)
                dialogs_.AnswerMessage(platform::MessageResult::Ok);
            Type(box, c.typed);
            TabAway(box);
            EXPECT_EQ(box.text(), c.shown) << c.typed;
            // A refused value keeps the focus until a valid one is typed.
            EXPECT_EQ(box.hasFocus(), c.message != nullptr) << c.typed;
            messages += c.message ? 1 : 0;
            ASSERT_EQ(Messages().size(), messages) << c.typed;
            if (c.message) {
                EXPECT_EQ(Messages().back(), c.message) << c.typed;
                Type(box, "1");
                TabAway(box);
                EXPECT_FALSE(box.hasFocus()) << c.typed;
            }
        }
        d.cmdCancel->click();
    }));
}

TEST_F(Settings, CancelClosesWithoutCheckingAndOkChecksTheFocusedBoxFirst) {
    ASSERT_TRUE(WithSettings([&](frmSettings& d) {
        Type(*d.txtPayoff[0], "-3");
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_EQ(d.result(), QDialog::Rejected);
    }));
    ASSERT_TRUE(WithSettings([&](frmSettings& d) {
        EXPECT_EQ(d.txtPayoff[0]->text(), "1"); // nothing was applied
        Type(*d.txtCross, "2");
        QTest::keyClick(d.txtCross, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    }));
    EXPECT_TRUE(Messages().empty());

    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    ASSERT_TRUE(WithSettings([&](frmSettings& d) {
        Type(*d.txtSize, "x");
        QTest::keyClick(d.txtSize, Qt::Key_Return); // OK is the default button
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(d.txtSize->hasFocus());
        Type(*d.txtSize, "100");
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }));
    ASSERT_EQ(Messages(),
              std::vector<QString>{"There must be at least one member of the population"});

    // The new size shows from the next generation on, in the dialog too.
    for (const char* size : {"64", "100"}) {
        EXPECT_EQ(QString::number(GetSize_()), size);
        WithSettings([&](frmSettings& d) {
            EXPECT_EQ(d.txtSize->text(), size);
            d.cmdCancel->click();
        });
        Tick();
    }
}

// A value typed before the focus went to Cancel was never checked: OK checks
// every box, and applies nothing while one is refused.
TEST_F(Settings, OkChecksEveryBoxBeforeAnythingIsApplied) {
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    ASSERT_TRUE(WithSettings([&](frmSettings& d) {
        Type(*d.txtGames, "30");
        Type(*d.txtPayoff[0], "-7");
        QTest::keyClick(d.txtPayoff[0], Qt::Key_Tab, Qt::ShiftModifier);
        ASSERT_TRUE(d.cmdCancel->hasFocus());
        QTest::keyClick(d.cmdCancel, Qt::Key_Tab, Qt::ShiftModifier);
        ASSERT_TRUE(d.cmdOK->hasFocus());
        QApplication::processEvents();
        ASSERT_TRUE(Messages().empty());
        QTest::keyClick(d.cmdOK, Qt::Key_Space);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(d.txtPayoff[0]->hasFocus());
        // The focused box is checked first.
        Type(*d.txtPayoff[0], "2");
        d.txtCross->setText("7");
        d.txtSize->setText("0");
        d.txtSize->setFocus();
        d.cmdOK->click();
        EXPECT_TRUE(d.txtSize->hasFocus());
        d.cmdCancel->click();
    }));
    EXPECT_EQ(Messages(), (std::vector<QString>{"Only non-negative payoffs allowed",
                                                "There must be at least one member of the population"}));
    int32_t payoffs[4] = {};
    cooperon::GetPayoffs_(&payoffs[0], &payoffs[1], &payoffs[2], &payoffs[3]);
    EXPECT_EQ(payoffs[0], 1);
    int32_t games = 0, sessions = 0;
    cooperon::GetGameParams_(&games, &sessions);
    EXPECT_EQ(games, 50);
}

TEST_F(Settings, EnterClicksTheFocusedButtonElseOk) {
    ASSERT_TRUE(WithSettings([&](frmSettings& d) {
        Type(*d.txtPayoff[0], "7");
        QTest::keyClick(d.txtPayoff[0], Qt::Key_Tab, Qt::ShiftModifier);
        ASSERT_TRUE(d.cmdCancel->hasFocus());
        QTest::keyClick(d.cmdCancel, Qt::Key_Return);
        EXPECT_EQ(d.result(), QDialog::Rejected);
    }));
    ASSERT_TRUE(WithSettings([&](frmSettings& d) {
        EXPECT_EQ(d.txtPayoff[0]->text(), "1");
        Type(*d.txtPayoff[0], "7");
        QTest::keyClick(d.txtPayoff[0], Qt::Key_Return);
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }));
    int32_t payoffs[4] = {};
    cooperon::GetPayoffs_(&payoffs[0], &payoffs[1], &payoffs[2], &payoffs[3]);
    EXPECT_EQ(payoffs[0], 7);
    EXPECT_TRUE(Messages().empty());
}

// In the window's font every text shows whole: labels inside their frames and
// clear of one another, boxes wide enough for their values, frames inside the
// dialog and apart.
TEST_F(Settings, TextsFitInTheDefaultFont) {
    ASSERT_TRUE(WithSettings([&](frmSettings& d) {
        for (QGroupBox* frame : {d.framGame, d.framPayoffs, d.framGenetic}) {
            const QList<QWidget*> children = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            for (const QWidget* child : children) {
                EXPECT_TRUE(frame->contentsRect().contains(child->geometry()))
                    << frame->title().toStdString() << ": " << child->objectName().toStdString()
                    << (qobject_cast<const QLabel*>(child)
                            ? qobject_cast<const QLabel*>(child)->text().toStdString()
                            : "");
                for (const QWidget* other : children) {
                    if (other != child) {
                        EXPECT_FALSE(child->geometry().intersects(other->geometry()));
                    }
                }
            }
            EXPECT_TRUE(frame->parentWidget()->rect().contains(frame->geometry()));
        }
        for (const QLabel* label : d.findChildren<QLabel*>())
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        EXPECT_FALSE(d.framGame->geometry().intersects(d.framGenetic->geometry()));
        EXPECT_TRUE(d.rect().contains(d.cmdCancel->geometry()));
        // A box that shows its text whole has not scrolled to show its end.
        for (TextBox* box : {d.txtMut, d.txtCross}) {
            const auto cursorAt = [box](int position) {
                box->setCursorPosition(position);
                box->grab();
                return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
            };
            const int start = cursorAt(0);
            EXPECT_EQ(cursorAt(int(box->text().size())) - start,
                      box->fontMetrics().horizontalAdvance(box->text()));
        }
        d.cmdCancel->click();
    }));
}

} // namespace
