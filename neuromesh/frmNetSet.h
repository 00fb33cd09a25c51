#pragma once

#include <QDialog>
#include <cstdint>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class frmNeuromesh;

namespace platform {
class Slider;
}

// The modal network design dialog: the number of hidden layers (0 to 5) and
// one row per layer with its number of nodes (1 to 100). The input and
// output rows show the pattern set's sizes, disabled; the dialog grows and
// shrinks with the rows. OK hands the design to the main window's
// UpdateNetworkDesign, which starts a new random network; Cancel changes
// nothing.
class frmNetSet : public QDialog {
public:
    static constexpr int kMaxHidden = 5;
    // The nodes of a hidden layer whose row appears for the first time.
    static constexpr int kNewLayerSize = 25;

    explicit frmNetSet(frmNeuromesh& owner);

    // Set by the main window before the dialog opens: 2 × points per stroke
    // and the number of categories.
    int16_t ins = 0;
    int16_t outs = 0;

    void sldHidden_Change();
    void sldLayerSize_Change(int layer);
    void cmdOK_Click();
    void cmdCancel_Click();

    QLabel* lblHidden = nullptr;
    platform::Slider* sldHidden = nullptr;
    QLabel* lblHidExact = nullptr;
    QGroupBox* framLayerSizes = nullptr;
    // One row per layer, created as the number of hidden layers first needs it.
    std::vector<QLabel*> lblLayerSize;
    std::vector<platform::Slider*> sldLayerSize;
    std::vector<QLabel*> lblSizeExact;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void AddLayerRow();

    frmNeuromesh& owner_;
};
