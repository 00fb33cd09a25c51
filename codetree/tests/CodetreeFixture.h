#pragma once

// What Codetree's window tests share: one offscreen QApplication in English
// number format for the run, and per test a shown main window of 800 x 600 with
// the scripted dialogs, the help and modal hooks installed, and a folder of its own.

#include "Help.h"
#include "Modal.h"
#include "Pump.h"
#include "ScriptedDialogs.h"
#include "StatusBar.h"
#include "Surface.h"
#include "ToolBar.h"
#include "frmCodetree.h"

#include <QApplication>
#include <QDialog>
#include <QLocale>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace codetree_test {

class CodetreeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // Dialogs are reached inside Qt's signal dispatch: report, never throw.
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        platform::SetHelpHandler([this](const QString& page) { helpPages_.push_back(page); });
        platform::SetModalHook([this](QDialog& dialog) { modals_.push_back(&dialog); });
        dir_ = std::filesystem::temp_directory_path() /
               ("vt-codetree-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        form_ = std::make_unique<frmCodetree>();
        form_->resize(800, 600);
        form_->show();
    }

    void TearDown() override {
        platform::SetDoEventsHook(nullptr);
        form_.reset();
        platform::SetModalHook(nullptr);
        platform::SetHelpHandler(nullptr);
        EXPECT_EQ(dialogs_.Unused(), 0u) << "scripted answers left over";
        std::filesystem::remove_all(dir_);
    }

    frmCodetree& Form() { return *form_; }
    bool Enabled(const char* key) { return Form().tlbToolBar->IsButtonEnabled(key); }

    std::filesystem::path WriteFile(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Opens the file through the toolbar's Open and the scripted open dialog, and
    // answers the message that follows, if asked.
    void Open(const std::filesystem::path& path, bool message = false) {
        dialogs_.AnswerFile(QString::fromStdString(path.string()));
        if (message)
            dialogs_.AnswerMessage(platform::MessageResult::Ok);
        Form().tlbToolBar->Click("Open");
    }

    // The centre of the i-th tree (1-based) of a forest of single leaves, on the window.
    QPoint LeafCentre(int i) {
        const codetree::TreeView& v = Form().View();
        const int c = 2 * (i - 1);
        return {v.originX + 2 * c * v.unitX + v.unitX - v.scrollX + v.canvasLeft,
                v.originY + v.unitY - v.scrollY + v.canvasTop};
    }
    // Mouse events go to the surface in its own coordinates.
    QPoint OnSurface(QPoint windowPoint) { return windowPoint - Form().surface->Origin(); }
    QColor DrawnAt(QPoint windowPoint) {
        const QPoint p = OnSurface(windowPoint);
        return Form().surface->Image().pixelColor(p);
    }
    QColor ShownAt(QPoint windowPoint) {
        return Form().surface->Composite().pixelColor(OnSurface(windowPoint));
    }

    platform::ScriptedDialogs dialogs_;
    std::vector<QString> helpPages_;
    std::vector<QDialog*> modals_;
    std::filesystem::path dir_;
    std::unique_ptr<frmCodetree> form_;
};

} // namespace codetree_test
