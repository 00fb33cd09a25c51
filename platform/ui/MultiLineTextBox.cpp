#include "MultiLineTextBox.h"

#include <QFontMetricsF>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <set>
#include <vector>

namespace platform {

namespace {

// A paragraph's user state holds the character that ended its line when that was
// not CR LF; the default state (-1) stands for CR LF, which is also what a line
// break typed by the user becomes.
constexpr int kCrLf = -1;
// A row of a long line: the next paragraph goes on with the same line.
constexpr int kRowGoesOn = -2;
// About the characters of a paragraph of a long line's rows.
constexpr qsizetype kParagraph = 1024;

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
    SetDocument(text, rowsForLongLines_ ? RowLength(text) : 0);
    setting_ = false;
    text_ = text;
    textKnown_ = true;
    if (onChange) {
        onChange();
    }
}

int MultiLineTextBox::RowLength(const QString& text) const {
    // The widest character of the long lines sets the row, so that every row
    // fits the box's width in one line; a surrogate pair is one character.
    std::vector<bool> seen;
    std::set<char32_t> seenPairs;
    double widest = 0;
    QString widestCharacter;
    const QFontMetricsF metrics(font());
    const auto measure = [&](const QString& character) {
        const double advance = metrics.horizontalAdvance(character);
        if (advance > widest) {
            widest = advance;
            widestCharacter = character;
        }
    };
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !EndsParagraph(text[i].unicode())) {
            continue;
        }
        if (i - lineStart > kLongLine) {
            seen.resize(0x10000);
            for (qsizetype j = lineStart; j < i; ++j) {
                const char16_t c = text[j].unicode();
                if (QChar::isHighSurrogate(c) && j + 1 < i && QChar::isLowSurrogate(text[j + 1].unicode())) {
                    if (seenPairs.insert(QChar::surrogateToUcs4(c, text[j + 1].unicode())).second) {
                        measure(text.mid(j, 2));
                    }
                    ++j;
                } else if (!seen[c]) {
                    seen[c] = true;
                    measure(QString(QChar(c)));
                }
            }
        }
        lineStart = i + 1;
    }
    if (!(widest > 0)) {
        return 0;
    }
    // The width the document lays out in: the box less its frame, an always
    // shown vertical scroll bar, the document's margins and the cursor. It holds
    // before the box is first shown too.
    int room = width() - 2 * frameWidth() - 2 * static_cast<int>(document()->documentMargin()) -
               cursorWidth();
    if (scrollBars_ & kVertical) {
        room -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    }
    // As many of the widest character as the box's own layout puts on a line.
    const int guess = std::max(1, static_cast<int>(room / widest));
    QTextLayout layout(widestCharacter.repeated(2 * guess + 8), font());
    QTextOption option;
    option.setWrapMode(wordWrapMode());
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(std::max(room, 1));
    layout.endLayout();
    return std::max(static_cast<int>(widestCharacter.size()), line.textLength());
}

void MultiLineTextBox::SetDocument(const QString& text, int row) {
    // The state of each paragraph, in order; CR LF, the default, ends most.
    std::vector<int> states;
    // The document's text when a line is parted into rows.
    QString rows;
    bool parted = false;
    const char16_t* const begin = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = begin + text.size();
    const char16_t* line = begin;
    for (const char16_t* c = begin; c <= end; ++c) {
        if (c != end && !EndsParagraph(*c)) {
            continue;
        }
        if (row > 0 && c - line > kLongLine) {
            if (!parted) {
                parted = true;
                rows.reserve(text.size() + text.size() / row + 1);
                rows.append(QStringView(begin, line));
            }
            // Paragraphs of whole rows of `row` characters, each of about
            // kParagraph characters: the document's cost goes with its paragraphs
            // (10^7 characters in paragraphs of one row of 50 took 0.5 s to set,
            // in paragraphs of 1,000 0.04 s). A paragraph never parts a
            // surrogate pair.
            const qsizetype length = row * std::max<qsizetype>(1, kParagraph / row);
            while (c - line > length) {
                const char16_t* cut = line + length;
                if (QChar::isHighSurrogate(cut[-1]) && cut - line > 1) {
                    --cut;
                }
                rows.append(QStringView(line, cut));
                rows.append(QChar::ParagraphSeparator);
                states.push_back(kRowGoesOn);
                line = cut;
            }
            rows.append(QStringView(line, std::min(c + 1, end)));
        } else if (parted) {
            rows.append(QStringView(line, std::min(c + 1, end)));
        }
        if (c == end) {
            break;
        }
        if (*c == u'\r' && c + 1 != end && c[1] == u'\n') {
            states.push_back(kCrLf);
            ++c;
            if (parted) {
                rows.append(u'\n');
            }
        } else {
            states.push_back(*c);
        }
        line = c + 1;
    }
    setPlainText(parted ? rows : text);
    QTextBlock block = document()->begin();
    for (const int state : states) {
        if (state != kCrLf) {
            block.setUserState(state);
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
        } else if (lineEnd != kRowGoesOn) {
            text += QChar(lineEnd);
        }
        block = block.next();
        lineStart = i + 1;
    }
    text.append(QStringView(raw).sliced(lineStart));
    return text;
}

} // namespace platform
