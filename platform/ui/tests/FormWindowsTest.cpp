#include "HidingDialog.h"
#include "Modal.h"
#include "ModelessDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

using namespace platform;

namespace {

void DeleteDeferred() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(HidingDialog, ClosingByTheTitleBarHidesItAndEndsTheModalShowing) {
    QWidget owner;
    owner.show();
    QPointer<HidingDialog> letters = new HidingDialog(&owner);
    auto* chkLetter = new QCheckBox("A", letters);
    bool escapeKeptItOpen = false;
    // The real modal loop runs; the user ticks a box, presses Escape, and closes
    // the window.
    QTimer::singleShot(0, letters, [&] {
        chkLetter->setChecked(true);
        QTest::keyClick(letters, Qt::Key_Escape);
        escapeKeptItOpen = letters->isVisible();
        letters->close();
    });
    ShowModal(*letters);
    ASSERT_FALSE(letters.isNull());
    EXPECT_TRUE(escapeKeptItOpen);
    EXPECT_FALSE(letters->isVisible());
    EXPECT_TRUE(chkLetter->isChecked());

    // Shown again, with the edits as they were; hidden from code, as OK does.
    QTimer::singleShot(0, letters, [&] {
        EXPECT_TRUE(chkLetter->isChecked());
        letters->hide();
    });
    ShowModal(*letters);
    EXPECT_FALSE(letters.isNull());
}

TEST(ModelessDialog, ChartWindowsDestroyedWhenClosedAndWithTheirOwner) {
    auto* owner = new QWidget;
    owner->show();
    // Each click opens a further chart window; earlier ones stay open.
    std::vector<QPointer<ModelessDialog>> charts;
    for (int i = 0; i < 3; ++i) {
        auto* chart = new ModelessDialog(owner);
        chart->SetDestroyedOnClose(true);
        chart->ShowModeless();
        charts.emplace_back(chart);
    }
    EXPECT_TRUE(charts[0]->DestroyedOnClose());
    EXPECT_TRUE(charts[0]->isVisible() && charts[1]->isVisible() && charts[2]->isVisible());

    charts[1]->close();
    DeleteDeferred();
    EXPECT_TRUE(charts[1].isNull());
    EXPECT_TRUE(charts[0]->isVisible());

    owner->close();
    DeleteDeferred();
    EXPECT_TRUE(charts[0].isNull());
    EXPECT_TRUE(charts[2].isNull());
    delete owner;
}
