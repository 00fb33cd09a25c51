#pragma once

// What Neuromesh's window tests share: one offscreen QApplication for the
// run, and per test a fresh, shown main window over the Neural library (bound
// beside the test program, its generator seeded), its own folder in place of
// the program's folder, timers that tick only when fired, and the scripted
// dialogs. A dialog of a test lives inside the modal hook.

#include "InputEvents.h"
#include "LibraryBinding.h"
#include "Modal.h"
#include "NeuralLibrary.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "Surface.h"
#include "Timer.h"
#include "frmNeuromesh.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace neuromesh_test {

namespace fs = std::filesystem;

class NeuromeshFixture : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(::testing::TempDir()) /
                  ("neuromesh-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        platform::SetProgramFolder(folder_);
        ::setenv("VERITOPE_NEURAL_SEED", "11", 1);
        ASSERT_TRUE(platform::BindLibrary(neuromesh::kNeuralLibrary));
        platform::SetTimersHeld(true);
        // Dialogs are reached inside Qt's signal dispatch: report, never throw.
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        Open();
    }
    void TearDown() override {
        form_.reset();
        platform::SetModalHook(nullptr);
        platform::SetTimersHeld(false);
        platform::SetProgramFolder({});
        EXPECT_EQ(dialogs_.Unused(), 0u) << "scripted answers left over";
        fs::remove_all(folder_);
    }

    // A new window, as at a new start of the program (the old one unloads).
    void Open() {
        form_.reset();
        form_ = std::make_unique<frmNeuromesh>();
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    }

    frmNeuromesh& Form() { return *form_; }

    // Opens the dialog of a button and runs body on it, shown; false when no
    // dialog was shown.
    template <class Dialog>
    bool WithDialog(QAbstractButton* button, const std::function<void(Dialog&)>& body) {
        bool shown = false;
        platform::SetModalHook([&](QDialog& dialog) {
            shown = true;
            auto& typed = dynamic_cast<Dialog&>(dialog);
            typed.show();
            body(typed);
            typed.hide();
        });
        button->click();
        platform::SetModalHook(nullptr);
        return shown;
    }

    // Draws a stroke through the points on the canvas, one capture tick per point.
    void DrawStroke(const std::vector<QPoint>& twips) {
        frmNeuromesh& form = Form();
        form.picCanvas_MouseDown({1, 0, twips.front().x(), twips.front().y()});
        for (const QPoint& p : twips) {
            form.picCanvas_MouseMove({1, 0, p.x(), p.y()});
            form.timCapture->Tick();
        }
        form.picCanvas_MouseUp({1, 0, twips.back().x(), twips.back().y()});
    }

    fs::path folder_;
    platform::ScriptedDialogs dialogs_;
    std::unique_ptr<frmNeuromesh> form_;
};

} // namespace neuromesh_test
