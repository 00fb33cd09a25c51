#pragma once

// What Lifeboard's window tests share: one offscreen QApplication for the run,
// a registry store of the run's own with Gridcore registered in it, and per test
// a fresh main window with its engine, with the scripted dialogs installed
// before the window is made.

#include "Activation.h"
#include "ScriptedDialogs.h"
#include "frmLifeboard.h"

#include <QApplication>
#include <QEvent>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace lifeboard_test {

class LifeboardEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        dir_ =
            std::filesystem::temp_directory_path() / ("vt-lifeboard-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        RegistryPath() = (dir_ / "registry").string();
        ::setenv("VERITOPE_REGISTRY", RegistryPath().c_str(), 1);
        const std::string command =
            std::string(REGSVR_PATH) + " /s " + GRIDCORE_PATH + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        Registered() = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (!QApplication::instance())
            app_ = new QApplication(argc_, argv_);
    }

    void TearDown() override {
        // Objects whose deletion was deferred (a pending timer of a window
        // destroyed by the last test) are deleted before the application goes.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete app_;
        app_ = nullptr;
        com::CoFreeUnusedLibraries();
        ::unsetenv("VERITOPE_REGISTRY");
        std::filesystem::remove_all(dir_);
    }

    static bool& Registered() {
        static bool registered = false;
        return registered;
    }

    // The run's registry store, with Gridcore registered.
    static std::string& RegistryPath() {
        static std::string path;
        return path;
    }

private:
    std::filesystem::path dir_;
    int argc_ = 1;
    char name_[16] = "lifeboard_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

inline ::testing::Environment* const kLifeboardEnvironment =
    ::testing::AddGlobalTestEnvironment(new LifeboardEnvironment);

class LifeboardFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // Dialogs are reached inside Qt's signal dispatch: report, never throw.
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        ASSERT_TRUE(LifeboardEnvironment::Registered()) << "Gridcore could not be registered";
        // Other tests of the run may point the variable elsewhere.
        ::setenv("VERITOPE_REGISTRY", LifeboardEnvironment::RegistryPath().c_str(), 1);
        form_ = std::make_unique<frmLifeboard>();
        ASSERT_TRUE(form_->Loaded());
    }

    void TearDown() override {
        form_.reset();
        com::CoFreeUnusedLibraries();
        EXPECT_EQ(dialogs_.Unused(), 0u) << "scripted answers left over";
    }

    frmLifeboard& Form() { return *form_; }

    platform::ScriptedDialogs dialogs_;
    std::unique_ptr<frmLifeboard> form_;
};

} // namespace lifeboard_test
