#include "frmLetters.h"

#include "Color.h"
#include "Dialogs.h"
#include "DropDownList.h"
#include "Help.h"
#include "ListBox.h"
#include "SafeReplace.h"
#include "TabStrip.h"
#include "frmScrivel.h"

#include <QFile>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <string>
#include <vector>

namespace {

using platform::TwipsRect;
using platform::TwipsToPixels;

// Design values in twips.
constexpr int kBoxLeft = 120;
constexpr int kBoxTop = 120;
constexpr int kBoxWidth = 1000;
constexpr int kBoxHeight = 250;
constexpr int kRows = 32;
constexpr int kMargin = 120; // the tab strip's left, and the frame's inset in it
constexpr int kButtonWidth = 2000;
constexpr int kButtonHeight = 400;
constexpr int kTabTop = 600;

constexpr const char* kFilter = "Character settings (*.dat)|*.dat";

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// A box's caption shows its label as it stands: "&" is no access key here.
QString Caption(int code) {
    return frmLetters::char2string(code).replace('&', "&&");
}

void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(TwipsRect(left, top, width, height));
}

} // namespace

frmLetters::frmLetters(QWidget* owner) : HidingDialog(owner) {
    setWindowTitle("Characters settings");
    setModal(true);

    tabTabs = new platform::TabStrip(this);
    tabTabs->AddTab("Characters");
    tabTabs->AddTab("Aliases");
    for (QFrame*& frame : framLetters) {
        frame = new QFrame(this);
        frame->setFrameShape(QFrame::NoFrame);
    }
    tabTabs->SetTabFrame(1, framLetters[0]);
    tabTabs->SetTabFrame(2, framLetters[1]);
    tabTabs->onClick = [this] { tabTabs_Click(); };

    QCheckBox& box0 = chkLetter.Add(0, Caption(0), framLetters[0]);
    box0.setFont(QFont("Courier New", 9));
    Place(&box0, kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight);
    chkLetter.onClick = [this](int code) { chkLetter_Click(code); };

    QWidget* alias = framLetters[1];
    lstAliases = new platform::ListBox(alias);
    cmdAdd = new QPushButton("New alias", alias);
    cmdRemove = new QPushButton("Remove alias", alias);
    cmbLet = new platform::DropDownList(alias);
    lblIs = new QLabel("is", alias);
    lstIs = new platform::ListBox(alias, platform::ListSelection::Multiple);
    lblAvailable = new QLabel("Available characters", alias);
    lstAvailable = new platform::ListBox(alias, platform::ListSelection::Multiple);
    cmdLeft = new QPushButton("<--", alias);
    cmdRight = new QPushButton("-->", alias);
    lstAliases->onClick = [this] { lstAliases_Click(); };
    lstIs->onClick = [this] { lstIs_Click(); };
    lstAvailable->onClick = [this] { lstAvailable_Click(); };
    cmbLet->onClick = [this] { cmbLet_Click(); };
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdLeft, &QPushButton::clicked, this, [this] { cmdLeft_Click(); });
    connect(cmdRight, &QPushButton::clicked, this, [this] { cmdRight_Click(); });

    cmdSave = new QPushButton("Save", this);
    cmdLoad = new QPushButton("Load", this);
    cmdDefault = new QPushButton("Default", this);
    cmdOK = new QPushButton("OK", this);
    cmdOK->setDefault(true);
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(cmdDefault, &QPushButton::clicked, this, [this] { cmdDefault_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    platform::BindHelpKey(this, frmScrivel::kHelpTopic);
}

QString frmLetters::char2string(int code) {
    return QString::fromStdString(scrivel::CharacterSettings::char2string(code));
}

void frmLetters::Initialize() {
    // The grid: 8 columns of 32 boxes, copies of box 0.
    const QFont font = chkLetter[0].font();
    for (int d = 1; d < scrivel::kCodes; ++d) {
        QCheckBox& box = chkLetter.Add(d, Caption(d), framLetters[0]);
        box.setFont(font);
        box.setChecked(false);
        Place(&box, kBoxLeft + (kBoxWidth + 250) * (d / kRows),
              kBoxTop + (kBoxHeight + 50) * (d % kRows), kBoxWidth, kBoxHeight);
        box.setVisible(true);
    }
    const int lastLeft = kBoxLeft + (kBoxWidth + 250) * ((scrivel::kCodes - 1) / kRows);
    const int lastTop = kBoxTop + (kBoxHeight + 50) * ((scrivel::kCodes - 1) % kRows);
    const int frameWidth = lastLeft + kBoxWidth + 2 * kBoxLeft;
    const int frameHeight = lastTop + kBoxHeight + 2 * kBoxTop;

    // The tab strip around the frame, the frame just below its tabs.
    const int barHeight = platform::PixelsToTwips(tabTabs->Bar()->sizeHint().height());
    const int frameLeft = kMargin + kMargin;
    const int frameTop = kTabTop + barHeight + kMargin / 2;
    const int tabWidth = frameWidth + 2 * (frameLeft - kMargin);
    const int tabHeight = frameHeight + (frameTop - kTabTop) + (frameLeft - kMargin);
    Place(tabTabs, kMargin, kTabTop, tabWidth, tabHeight);
    Place(framLetters[0], frameLeft, frameTop, frameWidth, frameHeight);
    const int defaultLeft = kMargin + tabWidth - kButtonWidth;
    Place(cmdDefault, defaultLeft, 100, kButtonWidth, kButtonHeight);
    Place(cmdLoad, defaultLeft - 100 - kButtonWidth, 100, kButtonWidth, kButtonHeight);
    Place(cmdSave, defaultLeft - 2 * (100 + kButtonWidth), 100, kButtonWidth, kButtonHeight);

    const int innerWidth = 2 * kMargin + tabWidth;
    const int innerHeight = 2 * kMargin + kTabTop + tabHeight + kButtonHeight;
    setFixedSize(TwipsToPixels(innerWidth), TwipsToPixels(innerHeight));
    Place(cmdOK, (innerWidth - kButtonWidth) / 2, kTabTop + tabHeight + kMargin, kButtonWidth,
          kButtonHeight);

    SetDefaultCharacters();

    Place(framLetters[1], frameLeft, frameTop, frameWidth, frameHeight);
    LayOutAliasFrame(frameWidth, frameHeight);

    UpdateAliasControls();
    tabTabs->BringToFront(framLetters[0]);
}

void frmLetters::LayOutAliasFrame(int width, int height) {
    const int half = width / 2;
    Place(cmdAdd, kMargin, kMargin, 2000, kButtonHeight);
    Place(cmdRemove, kMargin + 2100, kMargin, 2000, kButtonHeight);
    const int listTop = kMargin + kButtonHeight + 100;
    const int listHeight = height - listTop - kMargin;
    Place(lstAliases, kMargin, listTop, half - 2 * kMargin, listHeight);
    const int right = half;
    Place(cmbLet, right, kMargin, 1400, kButtonHeight);
    Place(lblIs, right + 1500, kMargin + 80, 400, 300);
    Place(lstIs, right, listTop, 1400, listHeight);
    Place(cmdRight, right + 1500, listTop + 2000, 700, kButtonHeight);
    Place(cmdLeft, right + 1500, listTop + 2500, 700, kButtonHeight);
    const int availableLeft = right + 2300;
    Place(lblAvailable, availableLeft, kMargin + 80, width - availableLeft - kMargin, 300);
    Place(lstAvailable, availableLeft, listTop, width - availableLeft - kMargin, listHeight);
}

void frmLetters::ShowFlags() {
    for (int code = 0; code < scrivel::kCodes && chkLetter.Contains(code); ++code)
        chkLetter.SetChecked(code, settings_.Counts(code));
}

void frmLetters::SetDefaultCharacters() {
    settings_.SetDefaultCharacters();
    RefreshAliases();
}

void frmLetters::RefreshAliases() {
    settings_.CopyHeadStatesToMembers();
    ShowFlags();
    lstAliases->Clear();
    for (int code = 0; code < scrivel::kCodes; ++code) {
        if (chkLetter.Contains(code))
            chkLetter[code].setEnabled(settings_.PrevAlias(code) == -1);
        if (settings_.PrevAlias(code) != -1)
            continue;
        const std::vector<int> members = settings_.Members(code);
        if (members.empty())
            continue;
        QString text = char2string(code);
        for (const int m : members)
            text += '\t' + char2string(m);
        lstAliases->AddItem(text, code);
    }
}

int frmLetters::SelectedHead() const {
    const int index = lstAliases->ListIndex();
    return index < 0 ? -1 : lstAliases->ItemData(index);
}

void frmLetters::ShowAliasGroup() {
    const int chosen = cmbLet->ListIndex();
    if (chosen < 0)
        return;
    const int head = cmbLet->ItemData(chosen);
    QString text = char2string(head);
    lstIs->Clear();
    for (const int m : settings_.Members(head)) {
        lstIs->AddItem(char2string(m), m);
        text += '\t' + char2string(m);
    }
    lstAvailable->Clear();
    for (int c = 0; c < scrivel::kCodes; ++c)
        if (settings_.IsFree(c) && c != head)
            lstAvailable->AddItem(char2string(c), c);
    UpdateMoveButtons();
    const int selected = lstAliases->ListIndex();
    if (selected >= 0)
        lstAliases->SetList(selected, text);
}

void frmLetters::UpdateMoveButtons() {
    cmdRight->setEnabled(lstIs->SelCount() > 0);
    cmdLeft->setEnabled(lstAvailable->SelCount() > 0);
}

void frmLetters::UpdateAliasControls() {
    const bool en = lstAliases->ListIndex() >= 0;
    for (QWidget* control : std::initializer_list<QWidget*>{
             cmdRemove, lstIs, lstAvailable, cmbLet, lblIs, lblAvailable, cmdLeft, cmdRight})
        control->setEnabled(en);
    if (!en) {
        lstIs->Clear();
        lstAvailable->Clear();
        cmbLet->Clear();
        return;
    }
    const int head = SelectedHead();
    cmbLet->Clear();
    int headEntry = -1;
    for (int c = 0; c < scrivel::kCodes; ++c) {
        if (c == head)
            headEntry = cmbLet->AddItem(char2string(c), c);
        else if (settings_.IsFree(c))
            cmbLet->AddItem(char2string(c), c);
    }
    cmbLet->SetListIndex(headEntry);
    ShowAliasGroup();
}

void frmLetters::DropEmptyAliasGroups() {
    int k = 0;
    while (k < lstAliases->ListCount()) {
        if (!lstAliases->Selected(k) && settings_.NextAlias(lstAliases->ItemData(k)) == -1)
            lstAliases->RemoveItem(k);
        else
            ++k;
    }
}

void frmLetters::chkLetter_Click(int code) {
    if (!chkLetter[code].isEnabled())
        return;
    settings_.SetCounts(code, chkLetter.Checked(code));
    settings_.CopyStateToChain(code);
    for (const int m : settings_.Members(code))
        chkLetter.SetChecked(m, chkLetter.Checked(code));
}

void frmLetters::tabTabs_Click() {
    RefreshAliases();
    UpdateAliasControls();
}

void frmLetters::lstAliases_Click() {
    UpdateAliasControls();
    DropEmptyAliasGroups();
}

void frmLetters::lstIs_Click() {
    UpdateMoveButtons();
}

void frmLetters::lstAvailable_Click() {
    UpdateMoveButtons();
}

void frmLetters::cmbLet_Click() {
    const int selected = lstAliases->ListIndex();
    const int chosen = cmbLet->ListIndex();
    if (selected < 0 || chosen < 0)
        return;
    const int oldHead = lstAliases->ItemData(selected);
    const int newHead = cmbLet->ItemData(chosen);
    if (oldHead == newHead || !settings_.ChangeHead(oldHead, newHead))
        return;
    lstAliases->SetItemData(selected, newHead);
    ShowAliasGroup();
}

void frmLetters::cmdAdd_Click() {
    int first = -1;
    for (int c = 0; c < scrivel::kCodes && first < 0; ++c)
        if (settings_.IsFree(c))
            first = c;
    // Refused before anything is cleared, so that the selected group stays as shown.
    if (first < 0) {
        platform::MessageBox("All characters already associated.", "Add alias",
                             platform::MessageIcon::Critical);
        return;
    }
    cmbLet->Clear();
    for (int c = 0; c < scrivel::kCodes; ++c)
        if (settings_.IsFree(c))
            cmbLet->AddItem(char2string(c), c);
    const int item = lstAliases->AddItem(QString(), first);
    lstAliases->SetListIndex(item);
    cmbLet->SetListIndex(0);
    ShowAliasGroup();
}

void frmLetters::cmdRemove_Click() {
    const int selected = lstAliases->ListIndex();
    if (selected < 0)
        return;
    settings_.RemoveGroup(lstAliases->ItemData(selected));
    lstAliases->RemoveItem(selected);
    UpdateAliasControls();
}

void frmLetters::cmdLeft_Click() {
    const int head = SelectedHead();
    if (head < 0)
        return;
    for (int k = 0; k < lstAvailable->ListCount(); ++k)
        if (lstAvailable->Selected(k))
            settings_.AddMember(head, lstAvailable->ItemData(k));
    // The head drop-down is filled again, so that no member is offered as a head.
    UpdateAliasControls();
}

void frmLetters::cmdRight_Click() {
    for (int k = 0; k < lstIs->ListCount(); ++k)
        if (lstIs->Selected(k))
            settings_.RemoveMember(lstIs->ItemData(k));
    // The freed codes become choices of the head drop-down.
    UpdateAliasControls();
}

void frmLetters::cmdDefault_Click() {
    SetDefaultCharacters();
    RefreshAliases();
    UpdateAliasControls();
}

void frmLetters::cmdLoad_Click() {
    platform::FileRequest request;
    request.filter = kFilter;
    request.defaultExt = "dat";
    request.fileName = "CharacterSettings.dat";
    const QString path = platform::OpenFileDialog(request);
    if (path.isEmpty())
        return;
    if (!settings_.LoadSettingsFile(FsPath(path))) {
        platform::MessageBox("Error opening file", "Load character settings",
                             platform::MessageIcon::Critical);
        return;
    }
    RefreshAliases();
    UpdateAliasControls();
}

void frmLetters::cmdSave_Click() {
    platform::FileRequest request;
    request.filter = kFilter;
    request.defaultExt = "dat";
    request.fileName = "CharacterSettings.dat";
    const QString path = platform::SaveFileDialog(request);
    if (path.isEmpty())
        return;
    if (!platform::ReplaceFileContents(FsPath(path), settings_.WriteSettingsFile()))
        platform::MessageBox("Error saving file", "Save character settings",
                             platform::MessageIcon::Critical);
}

void frmLetters::cmdOK_Click() {
    hide();
}
