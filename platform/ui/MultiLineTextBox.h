#pragma once

#include "TextBoxEvents.h"

#include <QPlainTextEdit>
#include <QString>

// A multi-line text box of plain text, of any length, with the events of
// TextBoxEvents. Its text comes and goes through Text() and SetText() and keeps
// its line ends exactly: CR LF, a lone LF and a lone CR each come back as they
// went in, also around lines the user edited; a line break the user types or
// pastes comes back as CR LF. (Qt's document keeps paragraphs, not line ends.)
// onChange runs for every change, typed or set, and not for a SetText that leaves
// the text as it was. Lines wrap at the box's width unless it has a horizontal
// scroll bar. The Tab key moves the focus on, as in the other controls; the box is
// read-only with setReadOnly(), and selectAll() selects the whole text.

namespace platform {

class MultiLineTextBox : public TextBoxEvents<QPlainTextEdit> {
public:
    // The scroll bars a box shows (always, whether or not the text needs them).
    enum ScrollBars { kNoScrollBars = 0, kHorizontal = 1, kVertical = 2, kBothScrollBars = 3 };

    explicit MultiLineTextBox(QWidget* parent = nullptr, ScrollBars scrollBars = kNoScrollBars);

    QString Text() const;
    void SetText(const QString& text);

    ScrollBars ScrollBarsShown() const { return scrollBars_; }
    void SetScrollBars(ScrollBars scrollBars);

    // Lines longer than kLongLine characters are shown in rows, each as many
    // characters as one line of the box holds of the line's widest, and held in
    // paragraphs of whole rows, instead of one paragraph that the box lays out
    // whole at every change (its cost grows faster than the line: a line of a
    // million characters took over 20 s). Text() gives the lines back unbroken.
    // Meant for wrapping boxes of long unbroken lines, such as sequences of
    // digits: a row ends at its length, not between words. SetText sets the
    // rows for the box's width at that time.
    static constexpr int kLongLine = 4096;
    void SetRowsForLongLines(bool on) { rowsForLongLines_ = on; }

private:
    // The characters of a row for text's long lines (0 when none is that long).
    int RowLength(const QString& text) const;
    // Sets the document to text, a long line in rows of `row` characters, and
    // records on each paragraph the line end that followed it where that is not
    // CR LF, or that a row of the same line follows.
    void SetDocument(const QString& text, int row);
    QString TextOfDocument() const;

    ScrollBars scrollBars_ = kNoScrollBars;
    bool rowsForLongLines_ = false;
    // The text as last set or read, while the document has not changed since.
    mutable QString text_;
    mutable bool textKnown_ = true;
    bool setting_ = false;
};

} // namespace platform
