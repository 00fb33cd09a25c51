// Scrivel's settings window: the grid, the alias editor and the settings file.

#include "DropDownList.h"
#include "ListBox.h"
#include "ScrivelFixture.h"
#include "WindowSizeChecks.h"

#include <QCheckBox>

namespace scrivel_test {
namespace {

// The texts of a list or drop-down, and the index of one of them (-1 for none).
template <class List> std::string Items(const List& list) {
    std::string items;
    for (int k = 0; k < list.ListCount(); ++k)
        items += list.List(k).toStdString() + " ";
    return items;
}
template <class List> int IndexOf(const List& list, const QString& text) {
    for (int k = 0; k < list.ListCount(); ++k)
        if (list.List(k) == text)
            return k;
    return -1;
}
template <class List> bool Offers(const List& list, const QString& text) {
    return IndexOf(list, text) >= 0;
}

class LettersFixture : public ScrivelFixture {
protected:
    void SetUp() override {
        ScrivelFixture::SetUp();
        Letters().tabTabs->Select(2);
    }
    // Selects the group of the given list text.
    void SelectGroup(const QString& text) {
        const int k = IndexOf(*Letters().lstAliases, text);
        ASSERT_GE(k, 0) << text.toStdString();
        Letters().lstAliases->ClickItem(k);
    }
    // Closes the window as the main window's button does and rebuilds the alphabet.
    void Close() { Form().cmdSettings->click(); }
};

TEST_F(LettersFixture, DefaultsGiveTheGridAndTwentySevenGroups) {
    EXPECT_EQ(Letters().windowTitle(), "Characters settings");
    EXPECT_TRUE(platform_test::KeepsItsSize(Letters()));
    EXPECT_EQ(Letters().chkLetter.Size(), 256u);
    EXPECT_EQ(Letters().chkLetter[32].text(), "[Spc]");
    EXPECT_EQ(Letters().chkLetter[233].text(), "[233]");
    EXPECT_EQ(Letters().chkLetter['&'].text(), "&&");
    EXPECT_EQ(Letters().chkLetter[255].geometry().topLeft(),
              Letters().chkLetter[0].geometry().topLeft() +
                  QPoint(platform::TwipsToPixels(7 * 1250), platform::TwipsToPixels(31 * 300)));
    EXPECT_TRUE(Letters().chkLetter.Checked('a'));
    EXPECT_FALSE(Letters().chkLetter['a'].isEnabled());
    EXPECT_FALSE(Letters().chkLetter['1'].isChecked());

    const platform::ListBox& groups = *Letters().lstAliases;
    ASSERT_EQ(groups.ListCount(), 27);
    EXPECT_EQ(groups.List(0), "[Spc]\t[Tab]\t[LF]\t[CR]");
    EXPECT_EQ(groups.List(1), "A\ta");
    EXPECT_EQ(groups.List(26), "Z\tz");
    // Nothing selected: the editor is disabled.
    EXPECT_FALSE(Letters().cmbLet->isEnabled());
    EXPECT_FALSE(Letters().cmdRemove->isEnabled());
}

TEST_F(LettersFixture, HeadsSwitchedOffTakeTheirMembersAlongAndTheAlphabetFollowsOnClosing) {
    Letters().tabTabs->Select(1);
    Letters().chkLetter.Click('A');
    EXPECT_FALSE(Letters().chkLetter.Checked('a'));
    Letters().chkLetter.Click('a');
    EXPECT_FALSE(Letters().chkLetter.Checked('a'));
    Form().txtText->SetText("Abc");
    Form().cmdAnalyze->click();
    Close();
    EXPECT_FALSE(Form().StatisticsValid());
    EXPECT_EQ(Letters().All(), 26);
    Form().cmdAnalyze->click();
    EXPECT_EQ(Chart(), "B 1\nC 1\n");

    // With nothing counted the program stays usable: empty statistics.
    Letters().chkLetter.Click(' ');
    for (int c = 'B'; c <= 'Z'; ++c)
        Letters().chkLetter.Click(c);
    Close();
    EXPECT_EQ(Letters().All(), 0);
    Form().cmdAnalyze->click();
    EXPECT_TRUE(Form().StatisticsValid());
    EXPECT_EQ(Chart(), "");
    dialogs_.AnswerInput("10");
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Form().cmdRandom->click();
    EXPECT_EQ(dialogs_.Requests().back().text, "Not enough data");
}

TEST_F(LettersFixture, ANewHeadTakesOverTheMembersAndFreesTheOldOne) {
    SelectGroup("A\ta");
    EXPECT_EQ(Letters().cmbLet->Text(), "A");
    EXPECT_EQ(Items(*Letters().lstIs), "a ");
    EXPECT_FALSE(Offers(*Letters().cmbLet, "a"));
    EXPECT_EQ(IndexOf(*Letters().lstAvailable, "A"), -1);

    ASSERT_TRUE(Letters().cmbLet->SelectText("1"));
    EXPECT_EQ(Letters().lstAliases->List(1), "1\ta");
    EXPECT_EQ(Items(*Letters().lstIs), "a ");
    EXPECT_GE(IndexOf(*Letters().lstAvailable, "A"), 0);
    EXPECT_EQ(IndexOf(*Letters().lstAvailable, "1"), -1);
    EXPECT_EQ(Letters().IsAlias('a'), '1');
    EXPECT_EQ(Letters().IsAlias('A'), 'A');

    // The member joins its new head's state at the next refresh.
    Letters().tabTabs->Select(1);
    EXPECT_FALSE(Letters().chkLetter.Checked('a'));
    EXPECT_TRUE(Letters().chkLetter['A'].isEnabled());
}

TEST_F(LettersFixture, MembersMoveInAndOutAndAnEmptiedGroupGoesWhenAnotherIsClicked) {
    SelectGroup("B\tb");
    platform::ListBox& available = *Letters().lstAvailable;
    EXPECT_FALSE(Letters().cmdLeft->isEnabled());
    available.SetSelected(IndexOf(available, "1"), true);
    available.SetSelected(IndexOf(available, "2"), true);
    EXPECT_TRUE(Letters().cmdLeft->isEnabled());
    Letters().cmdLeft->click();
    EXPECT_EQ(Items(*Letters().lstIs), "b 1 2 ");
    EXPECT_EQ(Letters().lstAliases->List(2), "B\tb\t1\t2");
    // A member is never offered as its own group's head.
    EXPECT_FALSE(Offers(*Letters().cmbLet, "1"));
    // A new member keeps its own state until the groups are refreshed.
    EXPECT_FALSE(Letters().Counts('1'));
    Letters().tabTabs->Select(1);
    EXPECT_TRUE(Letters().Counts('1'));
    EXPECT_FALSE(Letters().chkLetter['1'].isEnabled());

    Letters().tabTabs->Select(2);
    SelectGroup("B\tb\t1\t2");
    platform::ListBox& members = *Letters().lstIs;
    for (int k = 0; k < members.ListCount(); ++k)
        members.SetSelected(k, true);
    Letters().cmdRight->click();
    EXPECT_EQ(Items(members), "");
    EXPECT_EQ(Letters().lstAliases->List(2), "B");
    EXPECT_TRUE(Offers(*Letters().cmbLet, "b"));
    SelectGroup("C\tc");
    EXPECT_EQ(Letters().lstAliases->ListCount(), 26);
    EXPECT_EQ(Letters().lstAliases->List(2), "C\tc");

    Letters().cmdRemove->click();
    EXPECT_EQ(Letters().lstAliases->ListCount(), 25);
    EXPECT_FALSE(Letters().cmbLet->isEnabled());
    EXPECT_EQ(Letters().IsAlias('c'), 'c');
}

TEST_F(LettersFixture, NewAliasStartsEmptyAndIsRefusedWhenNoCodeIsFree) {
    Letters().cmdAdd->click();
    const int added = Letters().lstAliases->ListIndex();
    EXPECT_EQ(added, 27);
    EXPECT_EQ(Letters().cmbLet->Text(), "[0]");
    EXPECT_EQ(Letters().lstAliases->List(added), "[0]");
    EXPECT_EQ(IndexOf(*Letters().lstAvailable, "[0]"), -1);
    // Every free code joins the new group.
    platform::ListBox& available = *Letters().lstAvailable;
    for (int k = 0; k < available.ListCount(); ++k)
        available.SetSelected(k, true);
    Letters().cmdLeft->click();
    EXPECT_EQ(available.ListCount(), 0);

    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Letters().cmdAdd->click();
    const platform::DialogRequest& message = dialogs_.Requests().back();
    EXPECT_EQ(message.text, "All characters already associated.");
    EXPECT_EQ(message.title, "Add alias");
    EXPECT_EQ(message.icon, platform::MessageIcon::Critical);
    EXPECT_EQ(Letters().lstAliases->ListCount(), 28);
    EXPECT_EQ(Letters().lstAliases->ListIndex(), added);
    EXPECT_EQ(Letters().cmbLet->Text(), "[0]");

    // An empty new group is dropped when another group is clicked.
    Letters().cmdDefault->click();
    Letters().cmdAdd->click();
    SelectGroup("A\ta");
    EXPECT_EQ(Letters().lstAliases->ListCount(), 27);
}

TEST_F(LettersFixture, ClosingByTheTitleBarHidesTheWindowAndKeepsEveryEdit) {
    onModal_ = [&](QDialog& dialog) {
        EXPECT_EQ(&dialog, &Letters());
        Letters().chkLetter.Click('1');
        dialog.show();
        dialog.close();
        EXPECT_FALSE(dialog.isVisible());
    };
    Close();
    EXPECT_TRUE(Letters().Counts('1'));
    EXPECT_EQ(Letters().All(), 28);
    onModal_ = [&](QDialog&) { Letters().cmdOK->click(); };
    Close();
    EXPECT_TRUE(Letters().Counts('1'));
}

TEST_F(LettersFixture, SettingsFileSavedAndLoadedAndARefusedFileChangesNothing) {
    SelectGroup("A\ta");
    ASSERT_TRUE(Letters().cmbLet->SelectText("1"));
    dialogs_.AnswerFile(Q(dir_ / "CharacterSettings.dat"));
    Letters().cmdSave->click();
    const platform::FileRequest& request = dialogs_.Requests().back().file;
    EXPECT_EQ(request.filter, "Character settings (*.dat)|*.dat");
    EXPECT_EQ(request.defaultExt, "dat");
    EXPECT_EQ(request.fileName, "CharacterSettings.dat");
    const std::string saved = ReadFile(dir_ / "CharacterSettings.dat");
    EXPECT_NE(saved.find("\r\n49\t97\r\n66\t98\r\n"), std::string::npos);

    Letters().cmdDefault->click();
    EXPECT_EQ(Letters().IsAlias('a'), 'A');
    dialogs_.AnswerFile(Q(dir_ / "CharacterSettings.dat"));
    Letters().cmdLoad->click();
    EXPECT_EQ(Letters().IsAlias('a'), '1');
    EXPECT_EQ(Letters().lstAliases->List(1), "1\ta");

    // A code in two chains is refused, and nothing changes.
    const std::filesystem::path bad = WriteFile("bad.dat", std::string(256, '1') + "\r\n65\t97\r\n66\t97\r\n");
    for (const std::filesystem::path& path : {bad, dir_ / "missing.dat"}) {
        dialogs_.AnswerFile(Q(path));
        dialogs_.AnswerMessage(platform::MessageResult::Ok);
        Letters().cmdLoad->click();
        const platform::DialogRequest& message = dialogs_.Requests().back();
        EXPECT_EQ(message.text, "Error opening file");
        EXPECT_EQ(message.title, "Load character settings");
        EXPECT_EQ(Letters().IsAlias('a'), '1');
        EXPECT_FALSE(Letters().Counts(2));
    }
}

} // namespace
} // namespace scrivel_test
