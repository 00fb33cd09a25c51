#include "frmNodes.h"

#include "Conversions.h"
#include "DefaultButtons.h"
#include "Help.h"
#include "TextBox.h"
#include "frmCodetree.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// The number in its shortest decimal form, the text that reads back as the same value.
QString Shortest(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

bool Integral(double value) {
    return std::trunc(value) == value;
}

// The text split at its first "/": the numbers read before and after it.
struct Fraction {
    bool slash = false;
    double first = 0;
    double second = 0;
};

Fraction ReadFraction(const QString& text) {
    const std::string typed = text.toStdString();
    const std::size_t slash = typed.find('/');
    if (slash == std::string::npos)
        return {false, platform::Val(typed), 0};
    const std::string_view view(typed);
    return {true, platform::Val(view.substr(0, slash)), platform::Val(view.substr(slash + 1))};
}

double ValueOf(const Fraction& f) {
    if (!f.slash)
        return f.first;
    return f.second == 0 ? f.first : f.first / f.second;
}

// The text as Add writes it back: the fraction of two whole numbers stays one;
// otherwise the number before any "/" (a denominator 0 is dropped).
QString Rewritten(const Fraction& f) {
    if (!f.slash || f.second == 0 || !Integral(f.first) || !Integral(f.second))
        return Shortest(f.first);
    return Shortest(f.first) + "/" + Shortest(f.second);
}

} // namespace

frmNodes::frmNodes(frmCodetree& owner) : ModelessDialog(&owner, true), owner_(owner) {
    setWindowTitle("Edit probabilities");

    txtAdd = new platform::TextBox(this);
    cmdAdd = new QPushButton("Add", this);
    cmdNormalize = new QPushButton("Normalize", this);
    cmdRemove = new QPushButton("Remove selected node", this);
    for (QPushButton* button : {cmdAdd, cmdNormalize, cmdRemove})
        button->setAutoDefault(false);
    cmdAdd->setEnabled(false);
    buttons_ = new platform::DefaultButtons(this);
    buttons_->SetDefault(cmdAdd);

    connect(txtAdd, &QLineEdit::textChanged, this, [this] { txtAdd_Change(); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdNormalize, &QPushButton::clicked, this, [this] { cmdNormalize_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });

    auto* addRow = new QHBoxLayout;
    addRow->addWidget(txtAdd, 1);
    addRow->addWidget(cmdAdd);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(addRow);
    layout->addWidget(cmdNormalize);
    layout->addWidget(cmdRemove);
    txtAdd->setMinimumWidth(120);

    platform::BindHelpKey(this, frmCodetree::kHelpTopic);
}

void frmNodes::txtAdd_Change() {
    const Fraction f = ReadFraction(txtAdd->text());
    addVal = ValueOf(f);
    // "1.5/2" reads 0.75 but adds 1.5, and "-1.5/-2" would add nothing: the
    // button follows what the click adds. A weight beyond the double range would
    // turn every statistic into NaN.
    const double added = ValueOf(ReadFraction(Rewritten(f)));
    cmdAdd->setEnabled(added > 0 && std::isfinite(added));
}

void frmNodes::cmdAdd_Click() {
    txtAdd->setText(Rewritten(ReadFraction(txtAdd->text())));
    txtAdd_Change();
    txtAdd->selectAll();
    txtAdd->setFocus();
    if (cmdAdd->isEnabled())
        owner_.Add(addVal);
}

void frmNodes::ShowBeside() {
    if (!isVisible()) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
    txtAdd->setFocus();
}

void frmNodes::cmdNormalize_Click() {
    owner_.Normalize();
}

void frmNodes::cmdRemove_Click() {
    owner_.Remove();
}
