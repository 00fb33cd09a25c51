#pragma once

#include "Components.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace platform {
class DefaultButtons;
class ListBox;
class TextBox;
} // namespace platform

// The window of Entropia: a list of non-negative components typed one at a
// time, their sum, the sum of p * log2(p) ("Uncertainty") and its negation, the
// information measure in bits ("Information"). Enter adds while the entry box has
// the focus and removes while the list has it.
class frmEntropia : public QWidget {
public:
    // The program's page of the help file, opened by F1.
    static constexpr const char* kHelpTopic = "entropia.htm";

    explicit frmEntropia(QWidget* parent = nullptr);
    ~frmEntropia() override;

    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdClear_Click();
    void cmdScale_Click();

    entropia::Components components;

    platform::TextBox* txtAdd = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdScale = nullptr;
    platform::ListBox* lstComps = nullptr;
    QLabel* lblSum = nullptr;
    QLabel* lblUnc = nullptr;
    QLabel* lblInfo = nullptr;
    platform::TextBox* txtSum = nullptr;
    platform::TextBox* txtUnc = nullptr;
    platform::TextBox* txtInfo = nullptr;
    platform::DefaultButtons* buttons = nullptr;

private:
    void Form_Load();
    void txtAdd_GotFocus();
    void lstComps_GotFocus();
    void ShowResults();
    // The list box shows the components' lines.
    void ShowLines();
    // The information message of a refused command.
    static void Refuse(const char* text);
};
