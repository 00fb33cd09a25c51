#include "MultiLineTextBox.h"
#include "RichTextBox.h"
#include "TextBox.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

using namespace platform;

namespace {

// What differs between the boxes for a test: where the mouse goes, and how the
// text is set and read.
QWidget* MouseTarget(TextBox& box) {
    return &box;
}
QWidget* MouseTarget(MultiLineTextBox& box) {
    return box.viewport();
}
void Set(TextBox& box, const QString& text) {
    box.setText(text);
}
void Set(MultiLineTextBox& box, const QString& text) {
    box.SetText(text);
}
QString Get(const TextBox& box) {
    return box.text();
}
QString Get(const MultiLineTextBox& box) {
    return box.Text();
}
QString Selected(const TextBox& box) {
    return box.selectedText();
}
QString Selected(const MultiLineTextBox& box) {
    return box.textCursor().selectedText();
}

// A window of two boxes of one kind, every event of both written to a log.
template <class Box> struct Window : QWidget {
    Window() {
        Log(first, "1");
        Log(second, "2");
        second->move(0, 100);
        resize(300, 200);
        show();
        QApplication::setActiveWindow(this);
    }

    void Log(Box* box, const std::string& name) {
        box->onChange = [this, name] { log += name + "change "; };
        box->onClick = [this, name] { log += name + "click "; };
        box->onDblClick = [this, name] { log += name + "dblclick "; };
        box->onGotFocus = [this, name] { log += name + "got "; };
        box->onLostFocus = [this, name] { log += name + "lost "; };
    }

    std::string Take() {
        std::string taken = log;
        log.clear();
        return taken;
    }

    Box* first = new Box(this);
    Box* second = new Box(this);
    std::string log;
};

template <class Box> class TextBoxEventsTest : public ::testing::Test {};
using Boxes = ::testing::Types<TextBox, MultiLineTextBox, RichTextBox>;
TYPED_TEST_SUITE(TextBoxEventsTest, Boxes);

} // namespace

TYPED_TEST(TextBoxEventsTest, FocusEventsFollowTheFocusInsideTheWindowOnly) {
    Window<TypeParam> w;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // Activating the window put the focus in the first box, raising nothing.
    EXPECT_EQ(QApplication::focusWidget(), w.first);
    w.second->setFocus();
    w.first->setFocus();
    QTest::keyClick(w.first, Qt::Key_Tab);
    EXPECT_EQ(w.Take(), "1lost 2got 2lost 1got 1lost 2got ");

    // Another window taking the activation, and coming back, raise nothing.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(QApplication::focusWidget(), w.second);
    EXPECT_EQ(w.Take(), "");
}

TYPED_TEST(TextBoxEventsTest, ClickAndDoubleClick) {
    Window<TypeParam> w;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QWidget* target = MouseTarget(*w.second);
    const QPoint at(5, 5);
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    EXPECT_EQ(w.Take(), "1lost 2got 2click ");

    // Press, release, press, double click, release: one click, one double click.
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    QTest::mousePress(target, Qt::LeftButton, {}, at);
    QTest::mouseDClick(target, Qt::LeftButton, {}, at);
    QTest::mouseRelease(target, Qt::LeftButton, {}, at);
    EXPECT_EQ(w.Take(), "2click 2dblclick ");

    // The right button clicks nothing.
    QTest::mouseClick(target, Qt::RightButton, {}, at);
    EXPECT_EQ(w.Take(), "");
}

TYPED_TEST(TextBoxEventsTest, HandlersMaySelectTheWholeText) {
    Window<TypeParam> w;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    Set(*w.first, "7");
    Set(*w.second, "Tape");
    for (auto* box : {w.first, w.second}) {
        box->onClick = [box] { box->selectAll(); };
        box->onGotFocus = [box] { box->selectAll(); };
    }
    QTest::mouseClick(MouseTarget(*w.second), Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(Selected(*w.second), "Tape");
    w.first->setFocus();
    EXPECT_EQ(Selected(*w.first), "7");
    QTest::keyClick(w.first, Qt::Key_5);
    EXPECT_EQ(Get(*w.first), "5");
}

TYPED_TEST(TextBoxEventsTest, ChangeOnEveryChangeAndNotOnASetThatKeepsTheText) {
    Window<TypeParam> w;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    Set(*w.first, "8");
    Set(*w.first, "8");
    EXPECT_EQ(w.Take(), "1change ");

    // A handler that settles the text: clamps it to 1..30 and writes it back.
    int changes = 0;
    w.first->onChange = [&] {
        ++changes;
        const int levels = std::clamp(Get(*w.first).toInt(), 1, 30);
        Set(*w.first, QString::number(levels));
    };
    Set(*w.first, "");
    EXPECT_EQ(Get(*w.first), "1");
    EXPECT_EQ(changes, 2);
    w.first->setFocus();
    w.first->selectAll();
    changes = 0;
    QTest::keyClicks(w.first, "45");
    EXPECT_EQ(Get(*w.first), "30");
    EXPECT_EQ(changes, 3); // "4", "45", then the settled "30"
}
