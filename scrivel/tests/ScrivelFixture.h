#pragma once

// What Scrivel's window tests share: per test a shown main window with the scripted
// dialogs and the modal hook installed, and a program folder of its own (where the
// language definitions are looked for).

#include "Modal.h"
#include "ProgramFolder.h"
#include "Pump.h"
#include "RichTextBox.h"
#include "ScriptedDialogs.h"
#include "Surface.h"
#include "TabStrip.h"
#include "frmLetters.h"
#include "frmScrivel.h"

#include <QDialog>
#include <QLocale>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace scrivel_test {

class ScrivelFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        platform::SetModalHook([this](QDialog& dialog) {
            ++modals_;
            if (onModal_)
                onModal_(dialog);
        });
        dir_ = std::filesystem::temp_directory_path() /
               ("vt-scrivel-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        platform::SetProgramFolder(dir_);
        form_ = std::make_unique<frmScrivel>();
        form_->show();
    }

    void TearDown() override {
        platform::SetDoEventsHook(nullptr);
        form_.reset();
        platform::SetModalHook(nullptr);
        platform::SetProgramFolder({});
        EXPECT_EQ(dialogs_.Unused(), 0u) << "scripted answers left over";
        std::filesystem::remove_all(dir_);
    }

    frmScrivel& Form() { return *form_; }
    frmLetters& Letters() { return Form().Letters(); }

    void Analyze(const QString& text) {
        Form().txtText->SetText(text);
        Form().cmdAnalyze->click();
    }
    bool ChartInFront() { return Form().tabStats->FrontFrame() == static_cast<QWidget*>(Form().framBars0); }

    // The visible rows of the chart as "name value" lines.
    std::string Chart() {
        std::string shown;
        for (int k = 0; k < frmScrivel::kBars; ++k) {
            const frmScrivel::BarRow& row = Form().Bar(k);
            if (row.visible)
                shown += row.name.toStdString() + " " + QString::number(row.value).toStdString() + "\n";
        }
        return shown;
    }

    std::filesystem::path WriteFile(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static QString Q(const std::filesystem::path& path) {
        return QString::fromStdString(path.string());
    }

    platform::ScriptedDialogs dialogs_;
    int modals_ = 0;
    std::function<void(QDialog&)> onModal_;
    std::filesystem::path dir_;
    std::unique_ptr<frmScrivel> form_;
};

} // namespace scrivel_test
