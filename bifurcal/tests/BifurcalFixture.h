#pragma once

// What Bifurcal's window tests share: one offscreen QApplication in English
// number format for the run, and per test a shown window of the design size
// with the scripted dialogs installed.

#include "DiagramRanges.h"
#include "ScriptedDialogs.h"
#include "StatusBar.h"
#include "Surface.h"
#include "TextBox.h"
#include "frmBifurcal.h"

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace bifurcal_test {

class BifurcalFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // Dialogs are reached inside Qt's signal dispatch: report, never throw.
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        form_ = std::make_unique<frmBifurcal>();
        form_->show();
    }
    void TearDown() override {
        form_.reset();
        EXPECT_EQ(dialogs_.Unused(), 0u) << "scripted answers left over";
    }

    frmBifurcal& Form() { return *form_; }
    platform::Surface& Canvas() { return *form_->picCanvas; }
    // The canvas pixel as 0xRRGGBB.
    QRgb At(int x, int y) { return Canvas().Image().pixel(x, y) & 0xFFFFFF; }
    int CountInColumn(int c, QRgb colour) {
        int n = 0;
        for (int y = 0; y < Canvas().height(); ++y)
            n += At(c, y) == colour;
        return n;
    }
    void Type(platform::TextBox* box, const QString& text) { box->setText(text); }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(&Canvas(), b, {}, p);
    }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseRelease(&Canvas(), b, {}, p);
    }
    void Move(QPoint p) { QTest::mouseMove(&Canvas(), p); }

    static constexpr QRgb kBlack = 0x000000;
    static constexpr QRgb kWhite = 0xFFFFFF;
    static constexpr QRgb kGrey = 0xC0C0C0;

    platform::ScriptedDialogs dialogs_;
    std::unique_ptr<frmBifurcal> form_;
};

} // namespace bifurcal_test
