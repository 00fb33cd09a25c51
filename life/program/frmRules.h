#pragma once

#include "ButtonArray.h"
#include "ModelessDialog.h"
#include "PopupMenu.h"

#include <QPixmap>
#include <QString>
#include <array>
#include <cstdint>
#include <map>

class QLabel;
class QPushButton;
class frmLifeboard;

// The rule dialog: the lattice and the survival and birth tables, ticked by
// hand, from the predefined rules or from a rule code. Nothing reaches the
// engine until OK, which writes through the main window; in the main window's
// negative mode it shows and stores the rule before the complement transform.
class frmRules : public platform::ModelessDialog {
public:
    explicit frmRules(frmLifeboard& owner);

    // Selects lattice option n, shows its picture and enables the columns 0..n;
    // the ticks of the other columns stay.
    void SelectOption(int16_t n);
    // Unticks all 26 boxes.
    void ClearChecks();

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdPredefined_Click();
    void cmdWolf_Click();
    void mnuPredefined_Click(int item);
    void optLattice_Click(int index);

    platform::Frame* frmTopology = nullptr;
    platform::OptionButtons optLattice; // indexed by neighbour count
    QLabel* imPreview = nullptr;
    // The lattice pictures keyed "3l", "4l", "6l", "8l", "12l".
    std::map<QString, QPixmap> ilPreview;
    QLabel* lblNeighbors = nullptr;
    std::array<QLabel*, 13> lblLabel{};
    platform::CheckBoxes chkSurv;
    platform::CheckBoxes chkBirth;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdPredefined = nullptr;
    QPushButton* cmdWolf = nullptr;
    platform::PopupMenu mnuPredefined; // the items of lifeboard::kPredefinedRules

private:
    // The lattice option selected, looking at 3, 4, 6, 8, 12 in turn; 8 if none.
    int16_t SelectedLattice() const;

    frmLifeboard& owner_;
};
