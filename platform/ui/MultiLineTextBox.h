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

private:
    // Records on each paragraph of the document the line end that followed it in
    // text, where that is not CR LF.
    void MarkLineEnds(const QString& text);
    QString TextOfDocument() const;

    ScrollBars scrollBars_ = kNoScrollBars;
    // The text as last set or read, while the document has not changed since.
    mutable QString text_;
    mutable bool textKnown_ = true;
    bool setting_ = false;
};

} // namespace platform
