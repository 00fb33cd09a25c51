#include "frmEntropia.h"

#include "DefaultButtons.h"
#include "Help.h"
#include "ListBox.h"
#include "ScriptedDialogs.h"
#include "TextBox.h"
#include "WindowSizeChecks.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class EntropiaWindow : public ::testing::TestWithParam<QLocale::Language> {
protected:
    void SetUp() override {
        QLocale::setDefault(GetParam() == QLocale::German ? QLocale(QLocale::German, QLocale::Germany)
                                                           : QLocale(QLocale::English, QLocale::UnitedStates));
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        form_ = std::make_unique<frmEntropia>();
        form_->show();
        QApplication::setActiveWindow(form_.get());
        form_->txtAdd->setFocus();
    }
    void TearDown() override {
        form_.reset();
        EXPECT_EQ(dialogs_.Unused(), 0u);
        QLocale::setDefault(QLocale::c());
    }
    frmEntropia& Form() { return *form_; }
    void Type(const char* text) {
        Form().txtAdd->setFocus();
        Form().txtAdd->setText(text);
        QTest::keyClick(Form().txtAdd, Qt::Key_Return);
    }
    void ExpectMessage(size_t index, const char* text) {
        ASSERT_GT(dialogs_.Requests().size(), index);
        EXPECT_EQ(dialogs_.Requests()[index].text, text);
        EXPECT_EQ(dialogs_.Requests()[index].title, "Entropia");
        EXPECT_EQ(dialogs_.Requests()[index].icon, platform::MessageIcon::Information);
    }
    platform::ScriptedDialogs dialogs_;
    std::unique_ptr<frmEntropia> form_;
};

TEST_P(EntropiaWindow, EnterAddsAndTheEntryIsSelectedForTheNext) {
    Type("1/2");
    Type("0.25");
    Type("1/4");
    EXPECT_EQ(Form().lstComps->ListCount(), 3);
    EXPECT_EQ(Form().lstComps->List(1), "0.25 * log(0.25) = -0.5");
    EXPECT_EQ(Form().txtSum->text(), "1");
    EXPECT_EQ(Form().txtUnc->text(), "-1.5");
    EXPECT_EQ(Form().txtInfo->text(), "1.5");
    EXPECT_EQ(Form().txtAdd->text(), "1/4");
    EXPECT_EQ(Form().txtAdd->selectedText(), "1/4");
    EXPECT_TRUE(Form().txtAdd->hasFocus());

    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Type("-1.5/1");
    ExpectMessage(0, "Component cannot be negative.");
    EXPECT_EQ(Form().lstComps->ListCount(), 3);
    EXPECT_EQ(Form().txtAdd->text(), "-1.5");
    EXPECT_EQ(Form().txtAdd->selectedText(), "-1.5");
}

TEST_P(EntropiaWindow, EnterInTheListRemoves) {
    Type("2");
    Type("2");
    Form().lstComps->setFocus();
    EXPECT_EQ(Form().buttons->Default(), Form().cmdRemove);
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Form().lstComps->SetListIndex(-1);
    Form().cmdRemove->click();
    ExpectMessage(0, "First select the component to remove.");

    Form().lstComps->SetListIndex(0);
    QTest::keyClick(Form().lstComps, Qt::Key_Return);
    EXPECT_EQ(Form().lstComps->ListCount(), 1);
    EXPECT_EQ(Form().txtSum->text(), "2");
    EXPECT_EQ(Form().txtAdd->text(), "");
    Form().txtAdd->setFocus();
    EXPECT_EQ(Form().buttons->Default(), Form().cmdAdd);
}

TEST_P(EntropiaWindow, NormalizeAndClear) {
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Form().cmdScale->click();
    ExpectMessage(0, "Sum must be greater than 0 to scale");

    Type("2");
    Type("2");
    Type("0");
    Form().cmdScale->click();
    EXPECT_EQ(Form().lstComps->List(0), "2/4 * log(2/4) = -0.5");
    EXPECT_EQ(Form().lstComps->List(2), "0 * log(0) = 0");
    EXPECT_EQ(Form().txtSum->text(), "1");
    EXPECT_EQ(Form().txtInfo->text(), "1");
    EXPECT_EQ(Form().txtAdd->text(), "");

    Type("3");
    Form().cmdClear->click();
    EXPECT_EQ(Form().txtAdd->text(), "");
    EXPECT_EQ(Form().lstComps->ListCount(), 0);
    EXPECT_EQ(Form().txtSum->text(), "0");
    EXPECT_EQ(Form().txtUnc->text(), "0");
}

TEST_P(EntropiaWindow, NonFiniteComponentsAreRefused) {
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Type("1e999");
    EXPECT_EQ(Form().lstComps->ListCount(), 0);
    EXPECT_EQ(Form().txtAdd->text(), "1e999");
    EXPECT_EQ(Form().txtSum->text(), "0");
}

INSTANTIATE_TEST_SUITE_P(Locales, EntropiaWindow, ::testing::Values(QLocale::English, QLocale::German),
                         [](const auto& info) { return info.param == QLocale::German ? "Comma" : "Point"; });

TEST_P(EntropiaWindow, CannotBeMadeSmallerThanItsControls) {
    EXPECT_TRUE(platform_test::StopsShrinkingAt(Form(), QSize(421, 401)));
}

TEST_P(EntropiaWindow, F1OpensTheProgramsHelpPage) {
    std::vector<QString> pages;
    platform::SetHelpHandler([&](const QString& page) { pages.push_back(page); });
    Form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    QTest::keyClick(&Form(), Qt::Key_F1);
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(pages, std::vector<QString>{frmEntropia::kHelpTopic});
}

} // namespace
