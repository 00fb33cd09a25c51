#include "Dialogs.h"

#include "Modal.h"
#include "ScriptedDialogs.h"
#include "Sound.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <tuple>
#include <unistd.h>
#include <vector>

using namespace platform;

TEST(FileFilter, OriginalFilterStringsBecomeQtFilters) {
    EXPECT_EQ(QtFileFilter("Life files (*.lif, *.life)|*.lif;*.life|All files|*.*"),
              "Life files (*.lif *.life);;All files (*)");
    EXPECT_EQ(QtFileFilter("Text files|*.txt"), "Text files (*.txt)");
    EXPECT_EQ(QtFileFilter("Data (*.dat)|*.dat|Any|"), "Data (*.dat);;Any (*)");
    EXPECT_EQ(QtFileFilter(""), "");
}

// The Qt file dialog tells the files it lists apart by name alone: a listed
// file whose read waits (/proc/kmsg) would freeze the program. Each open of a
// file in the listed folder is seen through inotify.
TEST(QtFileDialog, ReadsNoFileItListsOrReturns) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(::testing::TempDir()) / "dialog-listing";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::vector<std::pair<const char*, const char*>> files = {
        {"script", "#!/bin/sh\necho\n"}, {"document", "%PDF-1.4\n"}, {"rnd1.txt", "abc"}};
    for (const auto& [name, text] : files)
        std::ofstream(folder / name, std::ios::binary) << text;
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, folder.c_str(), IN_OPEN | IN_ACCESS), 0);

    bool ownDialog = false;
    std::vector<QString> types;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) {
            ADD_FAILURE() << "no file dialog of the toolkit's own";
            if (modal)
                modal->close();
            return;
        }
        ownDialog = dialog->testOption(QFileDialog::DontUseNativeDialog);
        for (const auto& [name, text] : files) {
            const QFileInfo info(QString::fromStdString((folder / name).string()));
            types.push_back(dialog->iconProvider()->type(info));
            dialog->iconProvider()->icon(info);
        }
        dialog->selectFile(QString::fromStdString((folder / "rnd1.txt").string()));
        dialog->reject();
    });
    FileRequest request{"Save random text", "Text files|*.txt", "txt",
                        QString::fromStdString(folder.string()), "", false};
    EXPECT_EQ(Dialogs::Current().SaveFile(request), "");
    EXPECT_TRUE(ownDialog);
    ASSERT_EQ(types.size(), files.size());
    for (const QString& type : types)
        EXPECT_FALSE(type.isEmpty());

    std::vector<std::string> opened;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;)
        for (char* at = buffer; at < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (!(event->mask & IN_ISDIR) && event->len > 0)
                opened.push_back(event->name);
            at += sizeof(inotify_event) + event->len;
        }
    ::close(watch);
    EXPECT_TRUE(opened.empty()) << "opened " << opened.front();
    fs::remove_all(folder);
}

TEST(ScriptedDialogs, AnswersInOrderAndRecordsEveryRequest) {
    ScriptedDialogs dialogs;
    dialogs.AnswerMessage(MessageResult::Yes);
    dialogs.AnswerInput("224");
    dialogs.AnswerFile("/tmp/glider.lif");
    dialogs.CancelInput();
    dialogs.AnswerFile("");
    dialogs.AnswerMessage(MessageResult::Ok);

    EXPECT_EQ(
        MessageBox("File exists. Overwrite?", "Save", MessageIcon::None, MessageButtons::YesNo),
        MessageResult::Yes);
    EXPECT_EQ(InputBox("Enter code:", "Edit rules", "0"), QString("224"));
    FileRequest open{
        "Open", "Life files (*.lif, *.life)|*.lif;*.life|All files|*.*", "lif", "/tmp", "", false};
    EXPECT_EQ(OpenFileDialog(open), "/tmp/glider.lif");
    EXPECT_EQ(InputBox("Enter code:", "Edit rules", "0"), std::nullopt);
    EXPECT_EQ(SaveFileDialog(open), "");
    EXPECT_EQ(MessageBox("Error opening file.", "Lifeboard", MessageIcon::Critical),
              MessageResult::Ok);
    EXPECT_EQ(dialogs.Unused(), 0u);
    EXPECT_TRUE(dialogs.Errors().empty());

    const auto& r = dialogs.Requests();
    ASSERT_EQ(r.size(), 6u);
    EXPECT_EQ((std::vector{r[0].kind, r[1].kind, r[2].kind, r[3].kind, r[4].kind, r[5].kind}),
              (std::vector{DialogKind::Message, DialogKind::Input, DialogKind::OpenFile,
                           DialogKind::Input, DialogKind::SaveFile, DialogKind::Message}));
    EXPECT_EQ(r[0].text, "File exists. Overwrite?");
    EXPECT_EQ(std::tie(r[0].icon, r[0].buttons),
              std::tuple(MessageIcon::None, MessageButtons::YesNo));
    EXPECT_EQ(r[1].text + "|" + r[1].title + "|" + r[1].defaultText, "Enter code:|Edit rules|0");
    EXPECT_EQ(r[2].file.filter, open.filter);
    EXPECT_EQ(r[2].file.defaultExt + "|" + r[2].file.folder, "lif|/tmp");
    EXPECT_EQ(r[5].title, "Lifeboard");
    EXPECT_EQ(std::tie(r[5].icon, r[5].buttons),
              std::tuple(MessageIcon::Critical, MessageButtons::Ok));
}

TEST(ScriptedDialogs, UnscriptedRequestsFailLoudly) {
    ScriptedDialogs dialogs;
    EXPECT_THROW(MessageBox("Unexpected", "Lifeboard"), UnscriptedDialog);
    dialogs.AnswerMessage(MessageResult::Ok);
    EXPECT_THROW(InputBox("Prompt", "Title"), UnscriptedDialog);
    EXPECT_EQ(dialogs.Unused(), 1u);
    EXPECT_EQ(dialogs.Errors().size(), 2u);
    EXPECT_EQ(dialogs.Requests().size(), 2u);
    EXPECT_NE(dialogs.Errors()[0].find("Unexpected"), std::string::npos);
}

TEST(ScriptedDialogs, FailureHandlerGetsDismissedAnswers) {
    ScriptedDialogs dialogs;
    std::vector<std::string> failures;
    dialogs.SetFailureHandler([&](const std::string& what) { failures.push_back(what); });
    EXPECT_EQ(MessageBox("?", "t", MessageIcon::Question, MessageButtons::YesNo),
              MessageResult::No);
    EXPECT_EQ(MessageBox("?", "t", MessageIcon::Question, MessageButtons::OkCancel),
              MessageResult::Cancel);
    EXPECT_EQ(InputBox("?", "t"), std::nullopt);
    EXPECT_EQ(OpenFileDialog({}), "");
    EXPECT_EQ(failures.size(), 4u);
}

TEST(ScriptedDialogs, InstallsWhileAliveAndRestoresThePrevious) {
    Dialogs* const real = &Dialogs::Current();
    {
        ScriptedDialogs outer;
        EXPECT_EQ(&Dialogs::Current(), &outer);
        {
            ScriptedDialogs inner;
            EXPECT_EQ(&Dialogs::Current(), &inner);
        }
        EXPECT_EQ(&Dialogs::Current(), &outer);
    }
    EXPECT_EQ(&Dialogs::Current(), real);
}

TEST(Modal, HookReceivesTheDialogInsteadOfRunningIt) {
    QDialog report;
    std::vector<QDialog*> seen;
    SetModalHook([&](QDialog& dialog) {
        seen.push_back(&dialog);
        dialog.accept();
    });
    ShowModal(report);
    EXPECT_EQ(seen, std::vector<QDialog*>{&report});
    EXPECT_EQ(report.result(), QDialog::Accepted);

    // Without the hook the dialog runs modally until it is closed.
    SetModalHook(nullptr);
    bool wasModal = false;
    QTimer::singleShot(0, &report, [&] {
        wasModal = report.isVisible() && report.isModal();
        report.reject();
    });
    ShowModal(report);
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(seen.size(), 1u);
}

TEST(Sound, BeepsAreCounted) {
    const uint64_t before = BeepCount();
    Beep();
    Beep();
    EXPECT_EQ(BeepCount(), before + 2);
}
