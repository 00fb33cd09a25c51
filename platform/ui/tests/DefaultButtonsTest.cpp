#include "DefaultButtons.h"

#include "MultiLineTextBox.h"
#include "TextBox.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

using namespace platform;

namespace {

// A plain window in the manner of Entropia's: a text box whose focus makes "Add"
// the default button, a second box (standing for the list) whose focus makes
// "Remove" the default, a further command button, and a cancel button.
class Window : public QWidget {
public:
    Window() {
        txtAdd = new TextBox(this);
        lstComps = new TextBox(this);
        txtNotes = new MultiLineTextBox(this);
        cmdAdd = Button("Add", 0);
        cmdRemove = Button("Remove", 1);
        cmdClear = Button("Clear", 2);
        cmdCancel = Button("Cancel", 3);
        lstComps->move(0, 40);
        txtNotes->setGeometry(0, 80, 100, 60);
        buttons = new DefaultButtons(this);
        buttons->SetDefault(cmdAdd);
        buttons->SetCancel(cmdCancel);
        txtAdd->onGotFocus = [this] { buttons->SetDefault(cmdAdd); };
        lstComps->onGotFocus = [this] { buttons->SetDefault(cmdRemove); };
        resize(300, 200);
        show();
        QApplication::setActiveWindow(this);
    }

    QPushButton* Button(const char* caption, int row) {
        auto* button = new QPushButton(caption, this);
        button->setGeometry(150, 30 * row, 100, 25);
        connect(button, &QPushButton::clicked, this, [this, caption] { pressed += caption; });
        return button;
    }

    // Presses key where the focus is, as the keyboard does.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        ASSERT_EQ(focus->window(), this);
        QTest::keyClick(focus, key, modifiers);
    }

    TextBox* txtAdd;
    TextBox* lstComps;
    MultiLineTextBox* txtNotes;
    QPushButton* cmdAdd;
    QPushButton* cmdRemove;
    QPushButton* cmdClear;
    QPushButton* cmdCancel;
    DefaultButtons* buttons;
    std::string pressed;
};

} // namespace

TEST(DefaultButtons, EnterPressesTheDefaultAndEscapeTheCancelButtonOfAPlainWindow) {
    Window w;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.txtAdd->setFocus();
    w.Press(Qt::Key_Return);
    w.Press(Qt::Key_Enter, Qt::KeypadModifier);
    w.Press(Qt::Key_Escape);
    EXPECT_EQ(w.pressed, "AddAddCancel");
    EXPECT_TRUE(w.cmdAdd->isDefault());

    // Keys held with a modifier, and Enter where the control uses it, stay there.
    w.pressed.clear();
    w.Press(Qt::Key_Return, Qt::ControlModifier);
    w.Press(Qt::Key_Escape, Qt::ShiftModifier);
    w.txtNotes->setFocus();
    w.Press(Qt::Key_Return);
    EXPECT_EQ(w.pressed, "");
    EXPECT_EQ(w.txtNotes->Text(), "\r\n");
    w.Press(Qt::Key_Escape);
    EXPECT_EQ(w.pressed, "Cancel");
}

TEST(DefaultButtons, FocusedCommandButtonTakesEnterAndTheFocusChangesTheDefault) {
    Window w;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const struct {
        QWidget* focus;
        const char* pressed;
        QPushButton* shownDefault;
    } rows[] = {
        {w.lstComps, "Remove", w.cmdRemove}, // its focus handler switches the default
        {w.cmdClear, "Clear", w.cmdClear},   // a command button takes Enter itself
        {w.txtNotes, "", w.cmdRemove},       // the default stays as last set
        {w.txtAdd, "Add", w.cmdAdd},         {w.cmdCancel, "Cancel", w.cmdCancel},
        {w.lstComps, "Remove", w.cmdRemove},
    };
    for (const auto& row : rows) {
        row.focus->setFocus();
        w.pressed.clear();
        EXPECT_EQ(w.buttons->EnterButton(), row.shownDefault) << row.pressed;
        // Exactly one button is drawn as the default: the one Enter presses.
        for (QPushButton* button : {w.cmdAdd, w.cmdRemove, w.cmdClear, w.cmdCancel}) {
            EXPECT_EQ(button->isDefault(), button == row.shownDefault) << row.pressed;
        }
        if (row.focus != w.txtNotes) {
            w.Press(Qt::Key_Return);
        }
        EXPECT_EQ(w.pressed, row.pressed);
    }
}

TEST(DefaultButtons, DisabledOrHiddenButtonsAreNotPressed) {
    Window w;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.txtAdd->setFocus();
    w.cmdAdd->setEnabled(false);
    w.cmdCancel->hide();
    w.Press(Qt::Key_Return);
    w.Press(Qt::Key_Escape);
    w.buttons->SetDefault(nullptr);
    w.buttons->SetCancel(nullptr);
    w.cmdAdd->setEnabled(true);
    w.cmdCancel->show();
    w.Press(Qt::Key_Return);
    w.Press(Qt::Key_Escape);
    EXPECT_EQ(w.pressed, "");
    EXPECT_FALSE(w.cmdAdd->isDefault());
}
