#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class frmNeuromesh;

namespace platform {
class ListBox;
class Slider;
class TextBox;
} // namespace platform

// The modal pattern settings dialog: the list of category names with Add,
// Remove and Clear all, the samples per category (1 to 8) and the points per
// stroke (2 to 20). OK hands them to the main window's UpdatePatSettings,
// which empties every slot; Cancel changes nothing. A pattern set keeps at
// least one category: the focus cannot leave an empty list but for Cancel or
// OK, and OK with an empty list says so and stays open.
class frmPatSet : public QDialog {
public:
    explicit frmPatSet(frmNeuromesh& owner);

    void lstPats_Click();
    void lstPats_LostFocus();
    void txtName_Change();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdClear_Click();
    void sldSamples_Change();
    void sldAccuracy_Change();
    void cmdOK_Click();
    void cmdCancel_Click();

    QGroupBox* framPats = nullptr;
    platform::ListBox* lstPats = nullptr;
    platform::TextBox* txtName = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdClear = nullptr;
    QLabel* lblSamples = nullptr;
    platform::Slider* sldSamples = nullptr;
    QLabel* lblSamplesExact = nullptr;
    QLabel* lblAccuracy = nullptr;
    platform::Slider* sldAccuracy = nullptr;
    QLabel* lblAccExact = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    // "You must define at least one pattern", the focus back in the list.
    void RefuseEmptyList();

    frmNeuromesh& owner_;
};
