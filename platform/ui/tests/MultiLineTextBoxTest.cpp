#include "MultiLineTextBox.h"

#include "RichTextBox.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <gtest/gtest.h>

using namespace platform;

namespace {

QString Visible(const QString& text) {
    QString shown;
    for (QChar c : text) {
        shown += c.unicode() < 32 || c.unicode() > 126
                     ? QStringLiteral("<%1>").arg(c.unicode(), 0, 16)
                     : QString(c);
    }
    return shown;
}

// Texts whose characters and line ends must all come back as they went in.
const QString kTexts[] = {
    "",
    "one line",
    "a\r\nb\r\nc",
    "unix\nlines\n",
    "old mac\rlines\r",
    "\r\n",
    "\r\n\r\n",
    "\n\r\r\n\r\n\n",
    "mixed\r\nends\nin\rone\r\n\r\ntext\n",
    QString::fromUtf16(u"code page\u00a0\u00e9\u0000\ttab\r\nline sep\u2028kept\r\n"),
    QString::fromUtf16(u"paragraph\u2029separator\r\n"),
};

// About 4 MiB of Windows text: lines of every length up to 199 characters, CR LF
// ends, a few lone LF and CR, and characters of the whole code page.
QString LargeText() {
    QString text;
    text.reserve(4 << 20);
    for (int line = 0; text.size() < (4 << 20); ++line) {
        for (int i = 0; i < line % 200; ++i) {
            text += QChar(32 + (line * 7 + i) % 224);
        }
        text += line % 97 == 0 ? u"\n" : line % 89 == 0 ? u"\r" : u"\r\n";
    }
    return text;
}

} // namespace

TEST(MultiLineTextBox, TextRoundTripsExactlyLineEndsIncluded) {
    MultiLineTextBox box;
    for (const QString& text : kTexts) {
        box.SetText(text);
        EXPECT_EQ(Visible(box.Text()), Visible(text));
    }
}

TEST(MultiLineTextBox, EditsKeepTheLineEndsOfOtherLinesAndTypedBreaksAreCrLf) {
    MultiLineTextBox box;
    box.show();
    for (const QString& text : kTexts) {
        box.SetText(text);
        QTextCursor cursor = box.textCursor();
        cursor.movePosition(QTextCursor::Start);
        box.setTextCursor(cursor);
        QTest::keyClick(&box, Qt::Key_X);
        EXPECT_EQ(Visible(box.Text()), Visible("x" + text));
        cursor.movePosition(QTextCursor::End);
        box.setTextCursor(cursor);
        QTest::keyClick(&box, Qt::Key_Return);
        QTest::keyClicks(&box, "end");
        EXPECT_EQ(Visible(box.Text()), Visible("x" + text + "\r\nend"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        EXPECT_EQ(Visible(box.Text()), Visible("x" + text + "\r\nen"));
    }
}

TEST(MultiLineTextBox, FourMebibytesBothWays) {
    const QString text = LargeText();
    MultiLineTextBox box(nullptr, MultiLineTextBox::kVertical);
    box.resize(400, 300);
    box.show();
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.SetText(text);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(box.Text() == text);

    // After an edit the text is read back from the document, line ends and all.
    QTextCursor cursor = box.textCursor();
    cursor.movePosition(QTextCursor::End);
    box.setTextCursor(cursor);
    QTest::keyClick(&box, Qt::Key_Z);
    EXPECT_EQ(changes, 2);
    const QString edited = box.Text();
    EXPECT_EQ(edited.size(), text.size() + 1);
    EXPECT_TRUE(edited == text + "z");

    box.SetText(edited); // the same text: nothing happens
    EXPECT_EQ(changes, 2);
}

TEST(MultiLineTextBox, ChangeOnEveryChangeAndNotOnASetThatKeepsTheText) {
    MultiLineTextBox box;
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.SetText("a\nb");
    box.SetText("a\nb");
    EXPECT_EQ(changes, 1);
    box.SetText("a\r\nb"); // only the line end differs
    EXPECT_EQ(changes, 2);
    box.SetText("");
    EXPECT_EQ(changes, 3);
    box.setFocus();
    QTest::keyClicks(&box, "01");
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(box.Text(), "01");
}

TEST(MultiLineTextBox, ScrollBarsAndWrapping) {
    const struct {
        MultiLineTextBox::ScrollBars bars;
        bool horizontal, vertical, wraps;
    } rows[] = {
        {MultiLineTextBox::kNoScrollBars, false, false, true},
        {MultiLineTextBox::kHorizontal, true, false, false},
        {MultiLineTextBox::kVertical, false, true, true},
        {MultiLineTextBox::kBothScrollBars, true, true, false},
    };
    for (const auto& row : rows) {
        MultiLineTextBox box(nullptr, row.bars);
        box.resize(120, 80);
        box.SetText(QString(400, QChar('1')) + "\r\n" + QString(40, QChar('0')));
        box.show();
        QApplication::processEvents();
        EXPECT_EQ(box.horizontalScrollBar()->isVisible(), row.horizontal) << row.bars;
        EXPECT_EQ(box.verticalScrollBar()->isVisible(), row.vertical) << row.bars;
        // A wrapped first line of 400 characters takes several lines of the box.
        EXPECT_EQ(box.document()->firstBlock().layout()->lineCount() > 1, row.wraps) << row.bars;
    }
    RichTextBox rich;
    EXPECT_EQ(rich.ScrollBarsShown(), MultiLineTextBox::kVertical);
    EXPECT_EQ(rich.lineWrapMode(), QPlainTextEdit::WidgetWidth);
}
