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

TEST(MultiLineTextBox, LongLinesShowInRowsAndComeBackUnbroken) {
    MultiLineTextBox box(nullptr, MultiLineTextBox::kVertical);
    box.SetRowsForLongLines(true);
    box.resize(430, 135);
    // Long lines of one digit and of two, a short one, line ends of every kind,
    // and a long line of surrogate pairs after one letter, whose rows must not
    // part a pair.
    const QString ones(3 * MultiLineTextBox::kLongLine + 17, QChar('1'));
    QString digits;
    for (int i = 0; i < 2 * MultiLineTextBox::kLongLine; ++i) {
        digits += QChar(i % 3 == 0 ? '1' : '0');
    }
    QString pairs = "a";
    for (int i = 0; i < MultiLineTextBox::kLongLine; ++i) {
        pairs += QString::fromUtf16(u"\U0001F600");
    }
    const QString texts[] = {
        ones,
        digits + "\r\n" + ones + "\n01\r" + digits + "\r\n",
        "x" + QString(MultiLineTextBox::kLongLine, QChar('1')),
        pairs,
    };
    for (const QString& text : texts) {
        box.SetText(text);
        EXPECT_EQ(box.Text(), text);
        EXPECT_GT(box.document()->blockCount(), 2) << "a long line is held in several paragraphs";
        box.show();
        QApplication::processEvents();
        for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
            ASSERT_FALSE(!block.text().isEmpty() && block.text().back().isHighSurrogate());
        }
        // An edit leaves the rows' joins as they were.
        QTextCursor cursor(box.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText("1");
        EXPECT_EQ(box.Text(), text + "1");
        box.hide();
    }
    // A line of one character shows in lines of one length, but for its last.
    box.SetText(ones);
    box.show();
    QApplication::processEvents();
    std::vector<int> lengths;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        for (int i = 0; i < block.layout()->lineCount(); ++i) {
            lengths.push_back(block.layout()->lineAt(i).textLength());
        }
    }
    ASSERT_GT(lengths.size(), 10u);
    EXPECT_GT(lengths.front(), 10);
    EXPECT_LE(lengths.back(), lengths.front());
    lengths.pop_back();
    EXPECT_EQ(std::count(lengths.begin(), lengths.end(), lengths.front()), std::ssize(lengths));
    // Lines up to kLongLine keep one paragraph each, and a box without rows
    // keeps its long lines whole.
    box.SetText(QString(MultiLineTextBox::kLongLine, QChar('0')) + "\r\n0");
    EXPECT_EQ(box.document()->blockCount(), 2);
    MultiLineTextBox plain(nullptr, MultiLineTextBox::kVertical);
    plain.SetText(ones);
    EXPECT_EQ(plain.document()->blockCount(), 1);
}
