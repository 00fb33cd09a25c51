#pragma once

// What Hitmiss's window tests share: one offscreen QApplication in English
// number format for the run, and per test a shown window of the design size
// with the scripted dialogs installed and a DoEvents hook that presses buttons
// after a given number of points.

#include "Pump.h"
#include "ScriptedDialogs.h"
#include "Surface.h"
#include "TextBox.h"
#include "frmHitmiss.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace hitmiss_test {

class HitmissFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        form_ = std::make_unique<frmHitmiss>();
        form_->show();
    }
    void TearDown() override {
        platform::SetDoEventsHook(nullptr);
        form_.reset();
        EXPECT_EQ(dialogs_.Unused(), 0u) << "scripted answers left over";
    }

    frmHitmiss& Form() { return *form_; }

    void Enter(const char* formula, const char* minX, const char* maxX) {
        Form().txtFunction->setText(formula);
        Form().txtMin->setText(minX);
        Form().txtMax->setText(maxX);
    }
    // Clicks Go; the run ends with Stop after `points` points, and actions[n]
    // runs after point n. Returns once the run has ended.
    void Run(int points, std::map<int, std::function<void()>> actions = {}) {
        int done = 0;
        platform::SetDoEventsHook([this, points, actions, &done] {
            ++done;
            if (const auto a = actions.find(done); a != actions.end())
                a->second();
            if (done == points)
                Form().cmdGo->click();
        });
        Form().cmdGo->click();
        platform::SetDoEventsHook(nullptr);
    }
    // How many pixels of the window's drawing have the colour 0x00BBGGRR.
    int CountColour(uint32_t bgr) {
        const QImage& image = Form().surface->Image();
        const QRgb rgb = qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, bgr >> 16);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == rgb;
        return n;
    }

    platform::ScriptedDialogs dialogs_;
    std::unique_ptr<frmHitmiss> form_;
};

} // namespace hitmiss_test
