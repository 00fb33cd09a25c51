// frmRibbonmill: the tape row, its scroll buttons and head marker, and the
// boxes' editing, head placing and scrolling by keys.

#include "Dialogs.h"
#include "InputEvents.h"
#include "Surface.h"
#include "SurfaceLine.h"
#include "TextBox.h"
#include "frmRibbonmill.h"

#include <QPushButton>

using ribbonmill::clsTape;

namespace {

// The head marker's fixed points, in the frame's twips: the stem's top and
// foot, the arrow head's base, and the line down to the current state's box.
constexpr int kStemTop = 840;
constexpr int kStemFoot = 1240;
constexpr int kArrowBase = 1040;
constexpr int kStateX = 5250;
constexpr int kStateTop = 1640;

// The horizontal centre of a control, in the frame's twips.
int CentreX(const QWidget* control) {
    return platform::PixelsToTwips(control->x()) + platform::PixelsToTwips(control->width()) / 2;
}

QString ShortForm(int16_t symbol) {
    return QString::fromStdString(clsTape::Symb2String(symbol, true));
}

} // namespace

void frmRibbonmill::ConnectTape() {
    connect(cmdLeft, &QPushButton::clicked, this, [this] { cmdLeft_Click(); });
    connect(cmdRight, &QPushButton::clicked, this, [this] { cmdRight_Click(); });
    for (int i = 0; i < kBoxes; ++i) {
        platform::TextBox* box = txtTape[static_cast<std::size_t>(i)];
        box->onChange = [this, i] { txtTape_Change(i); };
        box->onClick = [this, i] { txtTape_Click(i); };
        box->onGotFocus = [this, i] { txtTape_GotFocus(i); };
        box->onDblClick = [this, i] { txtTape_DblClick(i); };
        box->onKeyDown = [this, i](const platform::KeyEvent& key) { return txtTape_KeyDown(i, key); };
    }
}

void frmRibbonmill::UpdateCur(int32_t c) {
    if (deferring_) {
        deferredMarker_ = true;
        return;
    }
    const QWidget* at = c < 0 ? static_cast<QWidget*>(cmdLeft)
                        : c >= kBoxes ? static_cast<QWidget*>(cmdRight)
                                      : txtTape[static_cast<std::size_t>(c)];
    // The drawing is in the frame's coordinates, as the controls' places are.
    const double x = CentreX(at);
    linMarker[0]->SetPoints({x, kStemTop}, {x, kStemFoot});
    linMarker[1]->SetPoints({x, kStemFoot}, {kStateX, kStemFoot});
    linMarker[2]->SetPoints({kStateX, kStemFoot}, {kStateX, kStateTop});
    linMarker[3]->SetPoints({x - 100, kArrowBase}, {x, kStemTop});
    linMarker[4]->SetPoints({x + 100, kArrowBase}, {x, kStemTop});
}

void frmRibbonmill::ShowBox(int box) {
    if (deferring_)
        deferredBoxes_ |= 1u << box;
    else
        ShowBoxNow(box);
}

void frmRibbonmill::ShowBoxes() {
    if (deferring_) {
        deferredBoxes_ = (1u << kBoxes) - 1;
        return;
    }
    const clsTape& tape = machine_->Tape();
    for (int i = 0; i < kBoxes; ++i)
        ShowSymbol(i, tape.Symbol(tape.left + i));
}

void frmRibbonmill::ShowBoxNow(int box) {
    ShowSymbol(box, machine_->Tape().BoxSymbol(box));
}

void frmRibbonmill::ShowSymbol(int box, int16_t symbol) {
    platform::TextBox* text = txtTape[static_cast<std::size_t>(box)];
    const QString shown = ShortForm(symbol);
    // A box that shows its symbol already is not repainted.
    if (text->text() == shown)
        return;
    showing_ = true;
    text->setText(shown);
    showing_ = false;
}

void frmRibbonmill::ShowTapeFull() {
    static_assert(clsTape::kMaxCells == 10'000'000, "the message names the tape's limit");
    platform::MessageBox("The tape cannot grow beyond 10,000,000 cells", "Cannot run machine");
}

void frmRibbonmill::MoveWindow(int dir) {
    if (!machine_->Tape().Move(dir))
        ShowTapeFull();
}

void frmRibbonmill::cmdLeft_Click() {
    MoveWindow(-1);
}

void frmRibbonmill::cmdRight_Click() {
    MoveWindow(1);
}

void frmRibbonmill::cmdClear_Click() {
    machine_->ClearTape();
}

void frmRibbonmill::txtTape_Change(int index) {
    // The window showing its tape is no edit of it.
    if (showing_)
        return;
    platform::TextBox* box = txtTape[static_cast<std::size_t>(index)];
    const QString text = box->text();
    // Anything but a leading digit shows as the blank.
    const QString shown = ShortForm(clsTape::String2Symb(text.toStdString()));
    if (text != shown) {
        box->setText(shown);
        return; // the box's Change for its new text does the rest
    }
    box->selectAll();
    machine_->Tape().Change(index, text.toStdString());
}

void frmRibbonmill::txtTape_Click(int index) {
    txtTape[static_cast<std::size_t>(index)]->selectAll();
}

void frmRibbonmill::txtTape_GotFocus(int index) {
    txtTape[static_cast<std::size_t>(index)]->selectAll();
}

void frmRibbonmill::txtTape_DblClick(int index) {
    clsTape& tape = machine_->Tape();
    while (tape.curoffset < index)
        tape.MoveCur(1);
    while (tape.curoffset > index)
        tape.MoveCur(-1);
    UpdateCur(tape.curoffset);
}

bool frmRibbonmill::txtTape_KeyDown(int index, const platform::KeyEvent& key) {
    if (key.key == Qt::Key_Right) {
        if (index == kBoxes - 1)
            MoveWindow(1);
        else
            txtTape[static_cast<std::size_t>(index + 1)]->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (key.key == Qt::Key_Left) {
        if (index == 0)
            MoveWindow(-1);
        else
            txtTape[static_cast<std::size_t>(index - 1)]->setFocus(Qt::TabFocusReason);
        return true;
    }
    return false;
}
