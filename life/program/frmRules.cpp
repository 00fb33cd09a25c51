#include "frmRules.h"

#include "Dialogs.h"
#include "Help.h"
#include "RuleTransform.h"
#include "frmLifeboard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct LatticeOption {
    int16_t neiCount;
    const char* caption;
};

// In the order the frame lists them.
constexpr LatticeOption kLatticeOptions[] = {
    {8, "Square (8 neighbors)"},     {4, "Square (4 neighbors)"},
    {3, "Triangular (3 neighbors)"}, {12, "Triangular (12 neighbors)"},
    {6, "Hexagonal (6 neighbors)"},
};

// The order OK looks at the options in.
constexpr int16_t kLatticeLookup[] = {3, 4, 6, 8, 12};

constexpr const char* kRuleCodeTitle = "Edit rules";

QString PreviewKey(int16_t n) {
    return QString::number(n) + "l";
}

} // namespace

frmRules::frmRules(frmLifeboard& owner) : ModelessDialog(&owner), owner_(owner) {
    setWindowTitle("Rules");

    frmTopology = new platform::Frame("Topology", this);
    auto* topologyLayout = new QVBoxLayout(frmTopology);
    for (const LatticeOption& option : kLatticeOptions) {
        topologyLayout->addWidget(&optLattice.Add(option.neiCount, option.caption, frmTopology));
        const QString key = PreviewKey(option.neiCount);
        ilPreview.emplace(key, QPixmap(":/images/" + key + ".svg"));
    }
    optLattice.onClick = [this](int index) { optLattice_Click(index); };

    imPreview = new QLabel(this);
    imPreview->setFrameShape(QFrame::StyledPanel);
    imPreview->setFrameShadow(QFrame::Sunken);
    imPreview->setAlignment(Qt::AlignCenter);
    QSize pictureSize(72, 72);
    for (const auto& picture : ilPreview)
        pictureSize = pictureSize.expandedTo(picture.second.size());
    const int frame = 2 * imPreview->frameWidth();
    imPreview->setFixedSize(pictureSize + QSize(frame, frame));

    cmdOK = new QPushButton("OK", this);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdPredefined = new QPushButton("Predefined sets   >", this);
    cmdWolf = new QPushButton("Wolfram code", this);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdPredefined, &QPushButton::clicked, this, [this] { cmdPredefined_Click(); });
    connect(cmdWolf, &QPushButton::clicked, this, [this] { cmdWolf_Click(); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    buttons->addWidget(cmdPredefined);
    buttons->addWidget(cmdWolf);

    auto* top = new QHBoxLayout;
    top->addWidget(frmTopology);
    top->addWidget(imPreview, 0, Qt::AlignCenter);
    top->addStretch();
    top->addLayout(buttons);

    // Numbers across the top, one row of boxes per table.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    lblNeighbors = new QLabel("Neighbors", this);
    grid->addWidget(lblNeighbors, 0, 1, 1, lifeboard::kMaxNeiCount + 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel("Survival", this), 2, 0);
    grid->addWidget(new QLabel("Birth", this), 3, 0);
    for (int b = 0; b <= lifeboard::kMaxNeiCount; ++b) {
        lblLabel[b] = new QLabel(QString::number(b), this);
        grid->addWidget(lblLabel[b], 1, b + 1, Qt::AlignHCenter);
        grid->addWidget(&chkSurv.Add(b, QString(), this), 2, b + 1, Qt::AlignHCenter);
        grid->addWidget(&chkBirth.Add(b, QString(), this), 3, b + 1, Qt::AlignHCenter);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(grid);

    int group = lifeboard::kPredefinedRules.front().group;
    for (const lifeboard::PredefinedRule& rule : lifeboard::kPredefinedRules) {
        if (rule.group != group)
            mnuPredefined.AddSeparator();
        group = rule.group;
        mnuPredefined.AddItem(
            QString::fromUtf8(rule.caption.data(), static_cast<qsizetype>(rule.caption.size())));
    }
    mnuPredefined.onChoose = [this](int item) { mnuPredefined_Click(item); };

    platform::BindHelpKey(this, frmLifeboard::kHelpTopic);
    SelectOption(8);
}

void frmRules::SelectOption(int16_t n) {
    if (optLattice.Contains(n))
        optLattice.SetChecked(n, true);
    const auto picture = ilPreview.find(PreviewKey(n));
    imPreview->setPixmap(picture != ilPreview.end() ? picture->second : QPixmap());
    for (int b = 0; b <= lifeboard::kMaxNeiCount; ++b) {
        const bool enabled = b <= n;
        lblLabel[b]->setEnabled(enabled);
        chkSurv[b].setEnabled(enabled);
        chkBirth[b].setEnabled(enabled);
    }
}

void frmRules::ClearChecks() {
    for (int b = 0; b <= lifeboard::kMaxNeiCount; ++b) {
        chkSurv.SetChecked(b, false);
        chkBirth.SetChecked(b, false);
    }
}

int16_t frmRules::SelectedLattice() const {
    for (const int16_t n : kLatticeLookup) {
        if (optLattice.Checked(n))
            return n;
    }
    return 8;
}

void frmRules::cmdOK_Click() {
    const int16_t n = SelectedLattice();
    owner_.SetNeiCount(n);
    for (int16_t w = 0; w <= n; ++w) {
        const bool survival = chkSurv.Checked(w);
        const bool birth = chkBirth.Checked(w);
        if (owner_.negative) {
            // The engine holds the dead cells: store the complement transform.
            const auto mirrored = static_cast<int16_t>(n - w);
            owner_.SetRuleB(mirrored, survival ? 0 : 1);
            owner_.SetRuleS(mirrored, birth ? 0 : 1);
        } else {
            owner_.SetRuleS(w, survival ? 1 : 0);
            owner_.SetRuleB(w, birth ? 1 : 0);
        }
    }
    close();
}

void frmRules::cmdCancel_Click() {
    close();
}

void frmRules::cmdPredefined_Click() {
    mnuPredefined.ShowAt(cmdPredefined, QPoint(cmdPredefined->width(), 0));
}

void frmRules::mnuPredefined_Click(int item) {
    if (item < 0 || item >= static_cast<int>(lifeboard::kPredefinedRules.size()))
        return;
    const lifeboard::PredefinedRule& chosen = lifeboard::kPredefinedRules[item];
    SelectOption(chosen.neiCount);
    ClearChecks();
    for (int b = 0; b <= lifeboard::kMaxNeiCount; ++b) {
        chkSurv.SetChecked(b, chosen.rule.survival[b] == 1);
        chkBirth.SetChecked(b, chosen.rule.birth[b] == 1);
    }
}

void frmRules::cmdWolf_Click() {
    const std::optional<QString> answer = platform::InputBox(
        "Enter Wolfram's cellular automata classification code:", kRuleCodeTitle, "0");
    if (!answer)
        return;
    const lifeboard::RuleCode code = lifeboard::DecodeRuleCode(answer->toStdString());
    switch (code.status) {
    case lifeboard::RuleCode::Status::kEmpty:
        return;
    case lifeboard::RuleCode::Status::kOutOfRange:
        platform::MessageBox(
            QString::fromUtf8(lifeboard::kRuleCodeRangeMessage.data(),
                              static_cast<qsizetype>(lifeboard::kRuleCodeRangeMessage.size())),
            kRuleCodeTitle, platform::MessageIcon::Critical);
        return;
    case lifeboard::RuleCode::Status::kOk:
        break;
    }
    for (int c = 0; c <= lifeboard::kMaxNeiCount; ++c) {
        chkBirth.SetChecked(c, code.ticks.birth[c] == 1);
        chkSurv.SetChecked(c, code.ticks.survival[c] == 1);
    }
}

void frmRules::optLattice_Click(int index) {
    SelectOption(static_cast<int16_t>(index));
}
