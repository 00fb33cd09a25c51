#include "frmPatSet.h"

#include "Color.h"
#include "Dialogs.h"
#include "Help.h"
#include "ListBox.h"
#include "Slider.h"
#include "TextBox.h"
#include "frmNeuromesh.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using platform::TwipsRect;

namespace {

platform::Slider* NewSlider(int min, int max, int tick, const QRect& geometry, QWidget* parent) {
    auto* slider = new platform::Slider(parent);
    slider->setGeometry(geometry);
    slider->SetMin(min);
    slider->SetMax(max);
    slider->SetTickFrequency(tick);
    slider->SetSmallChange(1);
    slider->SetLargeChange(5);
    return slider;
}

} // namespace

frmPatSet::frmPatSet(frmNeuromesh& owner) : QDialog(&owner), owner_(owner) {
    setWindowTitle("Pattern settings");
    setFixedSize(TwipsRect(0, 0, 5010, 4485).size());

    framPats = new QGroupBox("Pattern categories", this);
    framPats->setGeometry(TwipsRect(120, 120, 2400, 4245));
    lstPats = new platform::ListBox(framPats);
    lstPats->setGeometry(TwipsRect(120, 300, 2160, 2200));
    txtName = new platform::TextBox(framPats);
    txtName->setGeometry(TwipsRect(120, 2600, 1300, 330));
    cmdAdd = new QPushButton("Add", framPats);
    cmdAdd->setGeometry(TwipsRect(1500, 2580, 780, 375));
    cmdAdd->setEnabled(false);
    cmdRemove = new QPushButton("Remove", framPats);
    cmdRemove->setGeometry(TwipsRect(120, 3100, 1000, 375));
    cmdRemove->setEnabled(false);
    cmdClear = new QPushButton("Clear all", framPats);
    cmdClear->setGeometry(TwipsRect(1280, 3100, 1000, 375));

    lblSamples = new QLabel("Samples per category", this);
    lblSamples->setGeometry(TwipsRect(2700, 180, 2200, 255));
    sldSamples = NewSlider(1, 8, 1, TwipsRect(2640, 450, 1800, 450), this);
    lblSamplesExact = new QLabel(this);
    lblSamplesExact->setGeometry(TwipsRect(4500, 520, 450, 255));
    lblAccuracy = new QLabel("Pattern accuracy", this);
    lblAccuracy->setGeometry(TwipsRect(2700, 1200, 2200, 255));
    sldAccuracy = NewSlider(2, 20, 2, TwipsRect(2640, 1470, 2250, 450), this);
    lblAccExact = new QLabel(this);
    lblAccExact->setGeometry(TwipsRect(2700, 1950, 2200, 255));

    cmdOK = new QPushButton("OK", this);
    cmdOK->setGeometry(TwipsRect(2700, 3900, 1000, 375));
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setGeometry(TwipsRect(3850, 3900, 1000, 375));
    cmdAdd->setDefault(true);
    cmdAdd->setAutoDefault(false);

    lstPats->onClick = [this] { lstPats_Click(); };
    lstPats->onLostFocus = [this] { lstPats_LostFocus(); };
    txtName->onChange = [this] { txtName_Change(); };
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
    sldSamples->onChange = [this](int) { sldSamples_Change(); };
    sldAccuracy->onChange = [this](int) { sldAccuracy_Change(); };
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    platform::BindHelpKey(this, frmNeuromesh::kHelpTopic);
}

void frmPatSet::lstPats_Click() {
    cmdRemove->setEnabled(lstPats->ListIndex() >= 0);
}

void frmPatSet::lstPats_LostFocus() {
    if (lstPats->ListCount() > 0)
        return;
    // Cancel leaves the empty list behind with everything else; OK refuses
    // it itself, so that its click does not say so a second time.
    const QWidget* next = QApplication::focusWidget();
    if (next == cmdCancel || next == cmdOK)
        return;
    RefuseEmptyList();
}

void frmPatSet::RefuseEmptyList() {
    platform::MessageBox("You must define at least one pattern", "Edit oattern settings",
                         platform::MessageIcon::Critical);
    lstPats->setFocus();
}

void frmPatSet::txtName_Change() {
    cmdAdd->setEnabled(!txtName->text().isEmpty());
}

void frmPatSet::cmdAdd_Click() {
    if (txtName->text().isEmpty())
        return;
    lstPats->AddItem(txtName->text());
    lstPats->SetListIndex(lstPats->ListCount() - 1);
    txtName->setText(QString());
}

void frmPatSet::cmdRemove_Click() {
    const int index = lstPats->ListIndex();
    if (index >= 0)
        lstPats->RemoveItem(index);
    cmdRemove->setEnabled(lstPats->ListIndex() >= 0);
}

void frmPatSet::cmdClear_Click() {
    lstPats->Clear();
    cmdRemove->setEnabled(false);
}

void frmPatSet::sldSamples_Change() {
    lblSamplesExact->setText(QString::number(sldSamples->Value()));
}

void frmPatSet::sldAccuracy_Change() {
    lblAccExact->setText(QString::number(sldAccuracy->Value()) + " points");
}

void frmPatSet::cmdOK_Click() {
    if (lstPats->ListCount() == 0) {
        RefuseEmptyList();
        return;
    }
    owner_.UpdatePatSettings(*this);
    accept();
}

void frmPatSet::cmdCancel_Click() {
    reject();
}
