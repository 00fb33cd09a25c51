#include "frmSettings.h"

#include "Color.h"
#include "DefaultButtons.h"
#include "Dialogs.h"
#include "Help.h"
#include "TextBox.h"
#include "frmCooperon.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <utility>
#include <vector>

using platform::TwipsRect;

namespace {

QLabel* NewLabel(const char* caption, int left, int top, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->move(platform::TwipsToPixels(left), platform::TwipsToPixels(top));
    label->adjustSize();
    return label;
}

platform::TextBox* NewBox(const QRect& geometry, QWidget* parent) {
    auto* box = new platform::TextBox(parent);
    box->setGeometry(geometry);
    return box;
}

QGroupBox* NewFrame(const char* caption, const QRect& geometry, QWidget* parent) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setGeometry(geometry);
    return frame;
}

} // namespace

frmSettings::frmSettings(frmCooperon& owner) : QDialog(&owner), owner_(owner) {
    setWindowTitle("Settings");
    platform::BindHelpKey(this, frmCooperon::kHelpTopic);

    framGame = NewFrame("Game settings", TwipsRect(200, 200, 5200, 3400), this);
    framPayoffs = NewFrame("Payoff matrix", TwipsRect(300, 400, 4600, 1700), framGame);
    lblYou = NewLabel("You", 2800, 200, framPayoffs);
    lblInnocent[0] = NewLabel("Innocent", 2300, 500, framPayoffs);
    lblGuilty[0] = NewLabel("Guilty", 3400, 500, framPayoffs);
    lblPartner = NewLabel("Your partner", 105, 1000, framPayoffs);
    lblInnocent[1] = NewLabel("Innocent", 1200, 800, framPayoffs);
    lblGuilty[1] = NewLabel("Guilty", 1200, 1200, framPayoffs);
    const int payoffAt[4][2] = {{2300, 800}, {3400, 800}, {2300, 1200}, {3400, 1200}};
    for (int i = 0; i < 4; ++i)
        txtPayoff[i] = NewBox(TwipsRect(payoffAt[i][0], payoffAt[i][1], 1000, 300), framPayoffs);
    lblGames = NewLabel("Games in a session", 1500, 2400, framGame);
    txtGames = NewBox(TwipsRect(3700, 2400, 1000, 300), framGame);
    lblTours = NewLabel("Sessions per generation", 1500, 2800, framGame);
    txtTours = NewBox(TwipsRect(3700, 2800, 1000, 300), framGame);

    framGenetic = NewFrame("Genetic algorithm", TwipsRect(5600, 200, 3500, 1900), this);
    lblSize = NewLabel("Population size", 200, 500, framGenetic);
    txtSize = NewBox(TwipsRect(2200, 500, 1100, 300), framGenetic);
    lblMut = NewLabel("Mutation probability", 200, 900, framGenetic);
    txtMut = NewBox(TwipsRect(2200, 900, 1100, 300), framGenetic);
    lblCross = NewLabel("Crossover probability", 200, 1300, framGenetic);
    txtCross = NewBox(TwipsRect(2200, 1300, 1100, 300), framGenetic);

    // The design texts, replaced when the dialog is filled.
    const char* designTexts[4] = {"1", "0", "20", "10"};
    for (int i = 0; i < 4; ++i)
        txtPayoff[i]->setText(designTexts[i]);
    txtGames->setText("50");
    txtTours->setText("4");
    txtSize->setText("100");
    txtMut->setText("0.0143");
    txtCross->setText("0.0286");

    cmdOK = new QPushButton("OK", this);
    cmdOK->setGeometry(TwipsRect(5600, 3200, 1650, 400));
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setGeometry(TwipsRect(7450, 3200, 1650, 400));
    // A click on either button leaves the focus in the box, which OK then
    // checks and Cancel does not.
    for (QPushButton* button : {cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
    }
    // A focused button takes Enter; OK is the default everywhere else.
    auto* buttons = new platform::DefaultButtons(this);
    buttons->SetDefault(cmdOK);
    buttons->SetCancel(cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    for (platform::TextBox* box : txtPayoff)
        box->installEventFilter(this);
    for (platform::TextBox* box : {txtGames, txtTours, txtSize, txtMut, txtCross})
        box->installEventFilter(this);

    resize(TwipsRect(0, 0, 9300, 3800).size());
    FitTexts();
    setFixedSize(size());
}

void frmSettings::cmdOK_Click() {
    if (!ValidatePending())
        return;
    // Every box: one left for Cancel was never checked.
    platform::TextBox* const focused = FocusedBox();
    std::vector<platform::TextBox*> order;
    if (focused)
        order.push_back(focused);
    for (platform::TextBox* box : Boxes()) {
        if (box != focused)
            order.push_back(box);
    }
    for (platform::TextBox* box : order) {
        if (!Validate(*box)) {
            refocusing_ = true;
            box->setFocus(Qt::OtherFocusReason);
            refocusing_ = false;
            return;
        }
    }
    owner_.UpdateSettings(*this);
    accept();
}

void frmSettings::cmdCancel_Click() {
    pending_ = nullptr;
    QDialog::reject();
}

void frmSettings::reject() {
    cmdCancel_Click();
}

void frmSettings::txtPayoff_Validate(int index, bool& cancel) {
    Check(cooperon::SettingsBox::Payoff, *txtPayoff[std::size_t(index)], cancel);
}

void frmSettings::txtGames_Validate(bool& cancel) {
    Check(cooperon::SettingsBox::Games, *txtGames, cancel);
}

void frmSettings::txtTours_Validate(bool& cancel) {
    Check(cooperon::SettingsBox::Tours, *txtTours, cancel);
}

void frmSettings::txtSize_Validate(bool& cancel) {
    Check(cooperon::SettingsBox::Size, *txtSize, cancel);
}

void frmSettings::txtMut_Validate(bool& cancel) {
    Check(cooperon::SettingsBox::Mutation, *txtMut, cancel);
}

void frmSettings::txtCross_Validate(bool& cancel) {
    Check(cooperon::SettingsBox::Crossover, *txtCross, cancel);
}

void frmSettings::Check(cooperon::SettingsBox kind, platform::TextBox& box, bool& cancel) {
    const cooperon::BoxCheck check = cooperon::CheckBox(kind, box.text().toStdString());
    const QString text = QString::fromStdString(check.text);
    if (text != box.text())
        box.setText(text);
    if (check.message) {
        platform::MessageBox(check.message, cooperon::kSettingsTitle,
                             platform::MessageIcon::Critical);
        cancel = true;
    }
}

bool frmSettings::Validate(platform::TextBox& box) {
    bool cancel = false;
    for (int i = 0; i < 4; ++i) {
        if (&box == txtPayoff[std::size_t(i)])
            txtPayoff_Validate(i, cancel);
    }
    if (&box == txtGames)
        txtGames_Validate(cancel);
    else if (&box == txtTours)
        txtTours_Validate(cancel);
    else if (&box == txtSize)
        txtSize_Validate(cancel);
    else if (&box == txtMut)
        txtMut_Validate(cancel);
    else if (&box == txtCross)
        txtCross_Validate(cancel);
    return !cancel;
}

bool frmSettings::ValidatePending() {
    platform::TextBox* const box = std::exchange(pending_, nullptr);
    if (!box || Validate(*box))
        return true;
    refocusing_ = true;
    box->setFocus(Qt::OtherFocusReason);
    refocusing_ = false;
    return false;
}

std::array<platform::TextBox*, 9> frmSettings::Boxes() const {
    return {txtPayoff[0], txtPayoff[1], txtPayoff[2], txtPayoff[3], txtGames,
            txtTours,     txtSize,      txtMut,       txtCross};
}

platform::TextBox* frmSettings::FocusedBox() const {
    QWidget* const focus = focusWidget();
    for (platform::TextBox* box : Boxes()) {
        if (focus == box)
            return box;
    }
    return nullptr;
}

bool frmSettings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut || refocusing_)
        return QDialog::eventFilter(watched, event);
    // Only a move of the focus inside the dialog checks the box: not one to
    // another window (a message box), and not one to Cancel.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    QWidget* const target = QApplication::focusWidget();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && target &&
        target != cmdCancel && isAncestorOf(target)) {
        pending_ = static_cast<platform::TextBox*>(watched);
        // After the focus change has run its course, so that a message box
        // never opens inside a mouse press.
        QTimer::singleShot(0, this, [this] { ValidatePending(); });
    }
    return QDialog::eventFilter(watched, event);
}
