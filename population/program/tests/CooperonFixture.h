#pragma once

// What Cooperon's window tests share: one offscreen QApplication for the run,
// and per test a fresh, shown main window over the Population library (bound
// beside the test program, as beside Cooperon), with the scripted dialogs
// installed. The settings dialog of a test lives inside the modal hook.

#include "Modal.h"
#include "ScriptedDialogs.h"
#include "ScrollBar.h"
#include "StatusBar.h"
#include "Surface.h"
#include "TextBox.h"
#include "frmCooperon.h"
#include "frmSettings.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace cooperon_test {

class CooperonFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // Dialogs are reached inside Qt's signal dispatch: report, never throw.
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        form_ = std::make_unique<frmCooperon>();
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    }
    void TearDown() override {
        form_.reset();
        platform::SetModalHook(nullptr);
        EXPECT_EQ(dialogs_.Unused(), 0u) << "scripted answers left over";
    }

    frmCooperon& Form() { return *form_; }

    // Breeds generations as the timer does.
    void Tick(int generations = 1) {
        for (int i = 0; i < generations; ++i)
            Form().timEvolve_Timer();
    }

    // Opens the settings dialog through its button, shown and active, and runs
    // body on it; false when no dialog was shown.
    bool WithSettings(const std::function<void(frmSettings&)>& body) {
        bool shown = false;
        platform::SetModalHook([&](QDialog& dialog) {
            shown = true;
            auto& settings = static_cast<frmSettings&>(dialog);
            settings.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&settings));
            QApplication::setActiveWindow(&settings);
            body(settings);
            settings.hide();
        });
        Form().cmdSettings->click();
        platform::SetModalHook(nullptr);
        return shown;
    }

    platform::ScriptedDialogs dialogs_;
    std::unique_ptr<frmCooperon> form_;
};

} // namespace cooperon_test
