#pragma once

#include "ButtonArray.h"
#include "CharacterSettings.h"
#include "HidingDialog.h"

#include <QString>
#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace platform {
class DropDownList;
class ListBox;
class TabStrip;
} // namespace platform

// The settings window: which characters are counted (a grid of 256 check boxes,
// one per code) and which are folded together (the alias editor: a head and its
// members). It owns the character settings; edits take effect at once, and the
// main window rebuilds the alphabet from them each time this window is hidden.
// Closing it in any way only hides it, keeping every edit.
//
// The boxes show the settings' counted flags; a member's box is disabled and
// shows its head's state from the last refresh of the groups on.
class frmLetters : public platform::HidingDialog {
public:
    explicit frmLetters(QWidget* owner);

    // Lays out the grid and the window, and starts from the default settings.
    void Initialize();

    // --- the settings, as the main window asks them -------------------------------
    const scrivel::CharacterSettings& Settings() const { return settings_; }
    void UpdateLookupTable() { settings_.UpdateLookupTable(); }
    int All() const { return settings_.All(); }
    int Ind2Char(int index) const { return settings_.Ind2Char(index); }
    int Char2Ind(int code) const { return settings_.Char2Ind(code); }
    bool Counts(int code) const { return settings_.Counts(code); }
    int IsAlias(int code) const { return settings_.IsAlias(code); }
    static QString char2string(int code);

    // --- handlers -------------------------------------------------------------------
    void chkLetter_Click(int code);
    void tabTabs_Click();
    void lstAliases_Click();
    void lstIs_Click();
    void lstAvailable_Click();
    void cmbLet_Click();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdLeft_Click();
    void cmdRight_Click();
    void cmdDefault_Click();
    void cmdLoad_Click();
    void cmdSave_Click();
    void cmdOK_Click();

    // --- controls -------------------------------------------------------------------
    platform::TabStrip* tabTabs = nullptr;
    std::array<QFrame*, 2> framLetters{};
    platform::CheckBoxes chkLetter;
    platform::ListBox* lstAliases = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    platform::DropDownList* cmbLet = nullptr;
    QLabel* lblIs = nullptr;
    platform::ListBox* lstIs = nullptr;
    QLabel* lblAvailable = nullptr;
    platform::ListBox* lstAvailable = nullptr;
    QPushButton* cmdLeft = nullptr;
    QPushButton* cmdRight = nullptr;
    QPushButton* cmdDefault = nullptr;
    QPushButton* cmdLoad = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdOK = nullptr;

private:
    void SetDefaultCharacters();
    void RefreshAliases();
    void ShowAliasGroup();
    void UpdateMoveButtons();
    void UpdateAliasControls();
    void DropEmptyAliasGroups();
    // The check state of every box from the settings' flags.
    void ShowFlags();
    // The head of the selected group, -1 when none is selected.
    int SelectedHead() const;
    void LayOutAliasFrame(int width, int height);

    scrivel::CharacterSettings settings_;
};
