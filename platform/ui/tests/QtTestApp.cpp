#include <QApplication>
#include <QEvent>
#include <gtest/gtest.h>

// One QApplication for the whole test run, made before the first test and
// destroyed after the last; windows need no display.

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        if (!QApplication::instance())
            app_ = new QApplication(argc_, argv_);
    }

    void TearDown() override {
        // Objects whose deletion was deferred (a pending timer of a window
        // destroyed by the last test) are deleted before the application goes.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete app_;
        app_ = nullptr;
    }

private:
    int argc_ = 1;
    char name_[16] = "veritope_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
