#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QLabel;
class QPushButton;
class frmCodetree;

// The bit budget of a finished compression, shown modally: seven rows of a
// caption, a number of bits and the unit.
class frmReport : public QDialog {
public:
    static constexpr int kRows = 7;

    explicit frmReport(frmCodetree& owner);

    // The rows' values in order: original size, compressed size, header, size
    // information, tree, data and padding.
    void SetValues(const std::array<uint64_t, kRows>& bits);
    // Closes the report and gives the main window the focus.
    void cmdOK_Click();

    std::array<QLabel*, kRows> lblDesc{};
    std::array<QLabel*, kRows> lblVal{};
    std::array<QLabel*, kRows> lblBits{};
    QPushButton* cmdOK = nullptr;

private:
    frmCodetree& owner_;
};
