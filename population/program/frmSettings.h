#pragma once

#include "SettingsRules.h"

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;
class QGroupBox;
class frmCooperon;

namespace platform {
class TextBox;
}

// The modal settings dialog: the four payoffs of the game, the games in a
// series and the sessions in a generation, the population size and the
// mutation and crossover probabilities. Each box checks its value when the
// focus leaves it for any control but Cancel; a refused value shows its
// message and keeps the focus in the box. OK checks every box, the focused one
// first, and hands them to the main window's UpdateSettings only when all
// pass. Enter clicks the focused button, elsewhere OK.
//
// The design places the controls for a smaller type: the dialog moves and
// widens them, and widens their frames and itself, until every text fits.
class frmSettings : public QDialog {
public:
    explicit frmSettings(frmCooperon& owner);

    void cmdOK_Click();
    void cmdCancel_Click();

    void txtPayoff_Validate(int index, bool& cancel);
    void txtGames_Validate(bool& cancel);
    void txtTours_Validate(bool& cancel);
    void txtSize_Validate(bool& cancel);
    void txtMut_Validate(bool& cancel);
    void txtCross_Validate(bool& cancel);

    QGroupBox* framGame = nullptr;
    QGroupBox* framPayoffs = nullptr;
    QGroupBox* framGenetic = nullptr;
    QLabel* lblYou = nullptr;
    QLabel* lblPartner = nullptr;
    // Index 0: the column heads (your move); 1: the row heads (the partner's).
    std::array<QLabel*, 2> lblInnocent{};
    std::array<QLabel*, 2> lblGuilty{};
    // Payoff i: your move i mod 2, the partner's move i div 2.
    std::array<platform::TextBox*, 4> txtPayoff{};
    QLabel* lblGames = nullptr;
    platform::TextBox* txtGames = nullptr;
    QLabel* lblTours = nullptr;
    platform::TextBox* txtTours = nullptr;
    QLabel* lblSize = nullptr;
    platform::TextBox* txtSize = nullptr;
    QLabel* lblMut = nullptr;
    platform::TextBox* txtMut = nullptr;
    QLabel* lblCross = nullptr;
    platform::TextBox* txtCross = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The close box is Cancel.
    void reject() override;

private:
    void Check(cooperon::SettingsBox kind, platform::TextBox& box, bool& cancel);
    // Runs the box's Validate handler; false when it cancels.
    bool Validate(platform::TextBox& box);
    // Validates the box the focus has just left, or keeps the focus there.
    bool ValidatePending();
    platform::TextBox* FocusedBox() const;
    // The boxes in the order of the keyboard.
    std::array<platform::TextBox*, 9> Boxes() const;
    void FitTexts();

    frmCooperon& owner_;
    platform::TextBox* pending_ = nullptr;
    bool refocusing_ = false;
};
