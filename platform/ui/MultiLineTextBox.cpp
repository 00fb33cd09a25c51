#include "MultiLineTextBox.h"

#include <QTextBlock>
#include <QTextDocument>

namespace platform {

namespace {

// A paragraph's user state holds the character that ended its line when that was
// not CR LF; the default state (-1) stands for CR LF, which is also what a line
// break typed by the user becomes.
constexpr int kCrLf = -1;

// The characters that end a paragraph of a Qt document: CR LF counts as one.
bool EndsParagraph(char16_t c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == 0xFDD0 || c == 0xFDD1;
}

} // namespace

MultiLineTextBox::MultiLineTextBox(QWidget* parent, ScrollBars scrollBars)
    : TextBoxEvents<QPlainTextEdit>(parent) {
    setTabChangesFocus(true);
    SetScrollBars(scrollBars);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (setting_) {
            return;
        }
        textKnown_ = false;
        if (onChange) {
            onChange();
        }
    });
}

void MultiLineTextBox::SetScrollBars(ScrollBars scrollBars) {
    scrollBars_ = scrollBars;
    setHorizontalScrollBarPolicy((scrollBars & kHorizontal) ? Qt::ScrollBarAlwaysOn
                                                            : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy((scrollBars & kVertical) ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAlwaysOff);
    setLineWrapMode((scrollBars & kHorizontal) ? NoWrap : WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

QString MultiLineTextBox::Text() const {
    if (!textKnown_) {
        text_ = TextOfDocument();
        textKnown_ = true;
    }
    return text_;
}

void MultiLineTextBox::SetText(const QString& text) {
    if (text == Text()) {
        return;
    }
    setting_ = true;
    setPlainText(text);
    MarkLineEnds(text);
    setting_ = false;
    text_ = text;
    textKnown_ = true;
    if (onChange) {
        onChange();
    }
}

void MultiLineTextBox::MarkLineEnds(const QString& text) {
    QTextBlock block = document()->begin();
    const char16_t* c = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = c + text.size();
    for (; c != end; ++c) {
        if (!EndsParagraph(*c)) {
            continue;
        }
        if (*c == u'\r' && c + 1 != end && c[1] == u'\n') {
            ++c;
        } else {
            block.setUserState(*c);
        }
        block = block.next();
    }
}

QString MultiLineTextBox::TextOfDocument() const {
    // The document's raw text has a paragraph separator where each line ended.
    const QTextDocument& doc = *document();
    const QString raw = doc.toRawText();
    QString text;
    text.reserve(raw.size() + doc.blockCount());
    QTextBlock block = doc.begin();
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != QChar::ParagraphSeparator) {
            continue;
        }
        text.append(QStringView(raw).sliced(lineStart, i - lineStart));
        const int lineEnd = block.userState();
        if (lineEnd == kCrLf) {
            text += u"\r\n";
        } else {
            text += QChar(lineEnd);
        }
        block = block.next();
        lineStart = i + 1;
    }
    text.append(QStringView(raw).sliced(lineStart));
    return text;
}

} // namespace platform
