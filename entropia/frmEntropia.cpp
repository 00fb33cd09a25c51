#include "frmEntropia.h"

#include "Color.h"
#include "DefaultButtons.h"
#include "Dialogs.h"
#include "Help.h"
#include "LayoutMinimum.h"
#include "ListBox.h"
#include "TextBox.h"

#include <QLabel>
#include <QPushButton>

namespace {

using platform::TwipsToPixels;

QRect Twips(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

QFont CourierNew(bool bold = false) {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(bold);
    return font;
}

} // namespace

frmEntropia::frmEntropia(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Veritope - Entropia");
    platform::BindHelpKey(this, kHelpTopic);
    txtAdd = new platform::TextBox(this);
    txtAdd->setGeometry(Twips(120, 100, 2000, 400));
    cmdAdd = new QPushButton("Add >", this);
    cmdAdd->setGeometry(Twips(120, 600, 2000, 400));
    cmdRemove = new QPushButton("< Remove", this);
    cmdRemove->setGeometry(Twips(120, 1100, 2000, 400));
    cmdClear = new QPushButton("Clear", this);
    cmdClear->setGeometry(Twips(100, 1600, 2000, 400));
    cmdScale = new QPushButton("Normalize", this);
    cmdScale->setGeometry(Twips(90, 3975, 2000, 400));
    lstComps = new platform::ListBox(this);
    lstComps->setFont(CourierNew());
    lstComps->setGeometry(Twips(2200, 100, 4000, 4260));

    const struct {
        QLabel** label;
        platform::TextBox** box;
        const char* caption;
        int top;
        bool bold;
    } results[] = {{&lblSum, &txtSum, "Sum", 4500, false},
                   {&lblUnc, &txtUnc, "Uncertainty", 5000, false},
                   {&lblInfo, &txtInfo, "Information", 5500, true}};
    for (const auto& r : results) {
        *r.label = new QLabel(r.caption, this);
        (*r.label)->setGeometry(Twips(120, r.top + 60, 2000, 300));
        (*r.label)->setAlignment(Qt::AlignRight | Qt::AlignTop);
        QFont font = (*r.label)->font();
        font.setBold(r.bold);
        (*r.label)->setFont(font);
        *r.box = new platform::TextBox(this);
        (*r.box)->setFont(CourierNew(r.bold));
        (*r.box)->setGeometry(Twips(2200, r.top, 4000, 400));
    }

    buttons = new platform::DefaultButtons(this);
    buttons->SetDefault(cmdAdd);
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
    connect(cmdScale, &QPushButton::clicked, this, [this] { cmdScale_Click(); });
    txtAdd->onGotFocus = [this] { txtAdd_GotFocus(); };
    lstComps->onGotFocus = [this] { lstComps_GotFocus(); };

    Form_Load();
    // The controls keep their places: the window keeps room for them and its margin.
    platform::KeepControlsWhole(*this,
                                {lstComps->geometry(), txtInfo->geometry(), cmdScale->geometry()},
                                Twips(0, 0, 100, 100).size());
    resize(TwipsToPixels(6315), TwipsToPixels(6015));
}

frmEntropia::~frmEntropia() = default;

void frmEntropia::Form_Load() {
    components.Clear();
    ShowResults();
}

void frmEntropia::txtAdd_GotFocus() {
    buttons->SetDefault(cmdAdd);
}

void frmEntropia::lstComps_GotFocus() {
    buttons->SetDefault(cmdRemove);
}

void frmEntropia::Refuse(const char* text) {
    platform::MessageBox(text, "Entropia", platform::MessageIcon::Information);
}

void frmEntropia::ShowResults() {
    txtSum->setText(QString::fromStdString(entropia::FormatDecimal(components.sumP(), 16)));
    txtUnc->setText(QString::fromStdString(entropia::FormatDecimal(components.sumPLogP(), 16)));
    txtInfo->setText(QString::fromStdString(entropia::FormatDecimal(-components.sumPLogP(), 16)));
}

void frmEntropia::ShowLines() {
    lstComps->Clear();
    for (const std::string& line : components.Lines())
        lstComps->AddItem(QString::fromStdString(line));
}

void frmEntropia::cmdAdd_Click() {
    const entropia::Entry entry = entropia::ReadEntry(txtAdd->text().toStdString());
    switch (components.Add(entry)) {
    case entropia::Components::Outcome::Done:
        lstComps->AddItem(QString::fromStdString(components.Lines().back()));
        ShowResults();
        txtAdd->setText(QString::fromStdString(entry.display));
        break;
    case entropia::Components::Outcome::Negative:
        Refuse("Component cannot be negative.");
        txtAdd->setText(QString::fromStdString(entry.display));
        break;
    default:
        // The typed text stays for correction.
        Refuse("Component is too large or not a number.");
        break;
    }
    txtAdd->selectAll();
    txtAdd->setFocus();
}

void frmEntropia::cmdRemove_Click() {
    int selected = -1;
    for (int i = 0; i < lstComps->ListCount() && selected < 0; ++i)
        if (lstComps->Selected(i))
            selected = i;
    if (selected < 0) {
        Refuse("First select the component to remove.");
        return;
    }
    components.Remove(selected);
    lstComps->RemoveItem(selected);
    ShowResults();
    txtAdd->clear();
}

void frmEntropia::cmdClear_Click() {
    components.Clear();
    lstComps->Clear();
    ShowResults();
    txtAdd->clear();
}

void frmEntropia::cmdScale_Click() {
    if (components.Normalize() == entropia::Components::Outcome::ZeroSum) {
        Refuse("Sum must be greater than 0 to scale");
        return;
    }
    ShowLines();
    ShowResults();
    txtAdd->clear();
}
