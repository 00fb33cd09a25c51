// frmSettings: the controls moved and widened until every text fits.

#include "TextBox.h"
#include "frmSettings.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

namespace {

constexpr int kGap = 4; // pixels between a text and its neighbour or frame

// The width a box needs to show text whole in its font.
int WidthForText(const platform::TextBox& box, const QString& text) {
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.lineWidth = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box);
    option.state |= QStyle::State_Sunken;
    const QRect contents = box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box);
    // The text keeps a margin of 2 pixels on each side, and the cursor one more.
    return box.fontMetrics().horizontalAdvance(text) + option.rect.width() - contents.width() + 5;
}

// Moves the children of frame that start at x or right of it by dx, and
// widens the frame by dx.
void WidenAt(QWidget& frame, int x, int dx) {
    if (dx <= 0)
        return;
    for (QWidget* child : frame.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->x() >= x)
            child->move(child->x() + dx, child->y());
    }
    frame.resize(frame.width() + dx, frame.height());
}

// The same downwards.
void DeepenAt(QWidget& frame, int y, int dy) {
    if (dy <= 0)
        return;
    for (QWidget* child : frame.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->y() >= y)
            child->move(child->x(), child->y() + dy);
    }
    frame.resize(frame.width(), frame.height() + dy);
}

// Makes room right of label for what starts at x.
void RoomRightOf(QWidget& frame, const QWidget& label, int x) {
    WidenAt(frame, x, label.geometry().right() + 1 + kGap - x);
}

} // namespace

void frmSettings::FitTexts() {
    // "You" below the title of its frame, and the matrix with it.
    const int below = framPayoffs->contentsRect().top() - lblYou->y();
    if (below > 0) {
        const int bottom = framPayoffs->geometry().bottom();
        DeepenAt(*framPayoffs, 0, below);
        DeepenAt(*framGame, bottom, below);
    }
    // Columns of the matrix: the partner's label, the row heads, the boxes.
    RoomRightOf(*framPayoffs, *lblPartner, lblInnocent[1]->x());
    for (QLabel* head : {lblInnocent[1], lblGuilty[1]})
        RoomRightOf(*framPayoffs, *head, txtPayoff[0]->x());
    RoomRightOf(*framPayoffs, *txtPayoff[0], txtPayoff[1]->x());
    for (QLabel* label : {lblGames, lblTours})
        RoomRightOf(*framGame, *label, txtGames->x());
    WidenAt(*framGame, framPayoffs->geometry().right() + 1,
            framPayoffs->geometry().right() + 1 + kGap - framGame->contentsRect().right());
    for (QLabel* label : {lblSize, lblMut, lblCross})
        RoomRightOf(*framGenetic, *label, txtSize->x());
    // The probabilities are written with 16 decimals.
    const int boxWidth = WidthForText(*txtMut, QStringLiteral("0.0000000000000000"));
    if (boxWidth > txtMut->width()) {
        WidenAt(*framGenetic, txtSize->geometry().right() + 1, boxWidth - txtMut->width());
        for (platform::TextBox* box : {txtSize, txtMut, txtCross})
            box->resize(boxWidth, box->height());
    }
    // The genetic frame beside the game frame, OK and Cancel under it, and the
    // dialog round them all with the design's margins.
    const int space = framGenetic->x() - framGame->geometry().right();
    framGenetic->move(std::max(framGenetic->x(), framGame->geometry().right() + space),
                      framGenetic->y());
    cmdOK->move(framGenetic->x(), cmdOK->y());
    cmdCancel->move(framGenetic->geometry().right() + 1 - cmdCancel->width(), cmdCancel->y());
    const int margin = framGame->x();
    resize(std::max(width(), framGenetic->geometry().right() + 1 + margin),
           std::max(height(), framGame->geometry().bottom() + 1 + margin));
}
