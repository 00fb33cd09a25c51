#include "CodetreeFixture.h"
#include "HelpKeyPress.h"
#include "OddFiles.h"
#include "ProgressBar.h"
#include "SafeReplace.h"
#include "Sound.h"
#include "TextBox.h"
#include "dlgWait.h"
#include "frmCodetree.h"
#include "frmFile.h"
#include "frmNodes.h"
#include "frmReport.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <set>

namespace {

// Some 300 KB of words, so that a long operation lets messages run a few times.
std::string Text() {
    static const char* words[] = {"the ", "tree ", "of ", "a ", "prefix ", "code\r\n", "is "};
    std::string text;
    for (unsigned k = 0; text.size() < 300000; k = k * 7 + 3)
        text += words[k % 7];
    return text;
}

class CodetreeFiles : public codetree_test::CodetreeFixture {
protected:
    frmFile& File() { return Form().File(); }
    QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }
    // Save, a target typed into frmFile, and its button.
    void SaveTo(const std::filesystem::path& target) {
        Form().tlbToolBar->Click("Save");
        File().txtFile->setText(Q(target));
        File().cmdCompress->click();
    }
    // Presses Cancel at the first report of the running operation, after noting
    // what the window showed meanwhile.
    void CancelAtFirstReport() {
        platform::SetDoEventsHook([this] {
            platform::SetDoEventsHook(nullptr);
            waitText_ = Form().Wait().lblWait->text();
            busyShown_ = Form().Wait().isVisible() && !Form().tlbToolBar->isEnabled() &&
                         !Form().surface->isEnabled() && !Form().Nodes().isVisible();
            Form().tlbToolBar->Click("New"); // ignored: the forest belongs to the operation
            Form().Wait().cmdCancel->click();
        });
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            names.insert(entry.path().filename().string());
        return names;
    }
    QString waitText_;
    bool busyShown_ = false;
};

TEST_F(CodetreeFiles, CompressAndDecompressThroughTheWindows) {
    const std::string text = Text();
    const auto source = WriteFile("a.txt", text);
    Open(source);
    EXPECT_FALSE(Form().Wait().isVisible());
    EXPECT_EQ(Form().Wait().windowTitle(), "Codetree");

    Form().tlbToolBar->Click("Save");
    EXPECT_TRUE(File().isVisible());
    EXPECT_EQ(File().windowTitle(), "Compress file");
    EXPECT_EQ(File().lblCompress->text(), "Compress " + Q(source) + " to");
    EXPECT_EQ(File().txtFile->text(), Q(source) + ".tkv");
    EXPECT_EQ(File().cmdCompress->text(), "Compress");
    EXPECT_EQ(File().HelpPage(), "codetree.htm#43");
    EXPECT_EQ(platform_test::HelpPagesOnF1(File(), File().txtFile), std::vector<QString>{"codetree.htm#43"});
    const uint64_t beeps = platform::BeepCount();
    File().cmdCompress->click();
    EXPECT_FALSE(File().isVisible());
    EXPECT_EQ(platform::BeepCount(), beeps + 1);
    ASSERT_EQ(modals_.size(), 1u);
    ASSERT_EQ(modals_[0], &Form().Report());
    const frmReport& report = Form().Report();
    EXPECT_EQ(report.windowTitle(), "Compression successful");
    const auto packed = std::filesystem::path(source.string() + ".tkv");
    const uint64_t rows[] = {8 * text.size(), 8 * std::filesystem::file_size(packed), 8 * (48 + 2),
                             8 * 6};
    const char* captions[] = {"Original file size",
                              "Compressed file size",
                              "Header",
                              "File size information",
                              "Tree",
                              "Compressed data",
                              "Padding"};
    uint64_t parts = 0;
    for (int i = 0; i < frmReport::kRows; ++i) {
        EXPECT_EQ(report.lblDesc[i]->text(), captions[i]);
        EXPECT_EQ(report.lblBits[i]->text(), "bits");
        bool plain = false;
        const uint64_t value = report.lblVal[i]->text().toULongLong(&plain);
        EXPECT_TRUE(plain) << report.lblVal[i]->text().toStdString();
        if (i < 4) {
            EXPECT_EQ(value, rows[i]) << captions[i];
        }
        if (i >= 2)
            parts += value;
    }
    EXPECT_EQ(parts, rows[1]);
    EXPECT_LT(rows[1], rows[0]);

    Open(packed);
    EXPECT_EQ(Form().tlbToolBar->Action("Save")->toolTip(), "Save decompressed");
    EXPECT_EQ(Form().sbStatusBar->PanelText("Sum"), "Characters: 300,000");
    Form().tlbToolBar->Click("Save");
    EXPECT_EQ(File().windowTitle(), "Decompress file");
    EXPECT_EQ(File().lblCompress->text(), "Decompress " + Q(packed) + " to");
    EXPECT_EQ(File().txtFile->text(), Q(source));
    EXPECT_EQ(File().cmdCompress->text(), "Decompress");
    EXPECT_EQ(File().HelpPage(), "codetree.htm#44");
    EXPECT_EQ(platform_test::HelpPagesOnF1(File(), File().txtFile), std::vector<QString>{"codetree.htm#44"});
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    const auto unpacked = dir_ / "b.txt";
    File().txtFile->setText(Q(unpacked));
    File().cmdCompress->click();
    ASSERT_EQ(dialogs_.Requests().size(), 3u);
    const platform::DialogRequest& message = dialogs_.Requests()[2];
    EXPECT_EQ(message.text, QString("Compressed file size: %1 bits\r\n"
                                    "Uncompressed file size: 2,400,000 bits")
                                .arg(frmCodetree::FormatValue(rows[1])));
    EXPECT_EQ(message.title, "Decompression successful");
    EXPECT_EQ(message.icon, platform::MessageIcon::None);
    EXPECT_EQ(message.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(ReadFile(unpacked), text);
}

TEST_F(CodetreeFiles, SaveProposesTheTargetByTheOpenedName) {
    const auto plain = WriteFile("a.txt", "abracadabra");
    Open(plain);
    SaveTo(dir_ / "a.txt.tkv");
    std::filesystem::copy_file(dir_ / "a.txt.tkv", dir_ / "b.TKV");
    const struct {
        const char* opened;
        QString proposed;
    } cases[] = {
        {"a.txt", Q(plain) + ".tkv"},
        {"a.txt.tkv", Q(plain)},
        {"b.TKV", ""},
    };
    for (const auto& c : cases) {
        Open(dir_ / c.opened);
        Form().tlbToolBar->Click("Save");
        EXPECT_EQ(File().txtFile->text(), c.proposed) << c.opened;
    }
    // An empty target does nothing; Browse fills it, and a cancelled Browse keeps it.
    File().cmdCompress->click();
    EXPECT_TRUE(File().isVisible());
    dialogs_.AnswerFile(Q(dir_ / "chosen"));
    dialogs_.AnswerFile("");
    File().cmdBrowse->click();
    File().cmdBrowse->click();
    EXPECT_EQ(File().txtFile->text(), Q(dir_ / "chosen"));
    ASSERT_EQ(dialogs_.Requests().back().kind, platform::DialogKind::SaveFile);
    EXPECT_EQ(dialogs_.Requests().back().file.fileName, Q(dir_ / "chosen"));
}

// The target dialog belongs to the opened file: New and Open close it. It has no
// default button, so Enter in the file name writes nothing; a focused button takes it.
TEST_F(CodetreeFiles, TargetDialogClosesWithItsFileAndEnterPressesOnlyTheFocusedButton) {
    const auto plain = WriteFile("a.txt", "abracadabra");
    Open(plain);
    Form().tlbToolBar->Click("Save");
    ASSERT_TRUE(File().isVisible());
    Form().tlbToolBar->Click("New");
    EXPECT_FALSE(File().isVisible());
    Open(plain);
    Form().tlbToolBar->Click("Save");
    Open(plain);
    EXPECT_FALSE(File().isVisible());

    Form().tlbToolBar->Click("Save");
    const auto target = dir_ / "a.tkv";
    const std::string before = "the file that stood there";
    WriteFile("a.tkv", before);
    File().txtFile->setText(Q(target));
    QApplication::setActiveWindow(&File());
    for (QWidget* focus : {static_cast<QWidget*>(File().txtFile), // Enter ends the typing
                           static_cast<QWidget*>(File().cmdBrowse)}) {
        if (focus == File().cmdBrowse)
            dialogs_.AnswerFile(""); // "..." opens the save dialog, cancelled
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Return);
        EXPECT_EQ(ReadFile(target), before);
        EXPECT_TRUE(File().isVisible());
        EXPECT_TRUE(modals_.empty());
    }
    EXPECT_EQ(dialogs_.Requests().back().kind, platform::DialogKind::SaveFile);
    File().cmdCompress->setFocus();
    QTest::keyClick(File().cmdCompress, Qt::Key_Return);
    EXPECT_FALSE(File().isVisible());
    EXPECT_EQ(modals_.size(), 1u);
    EXPECT_NE(ReadFile(target), before);
}

// Decompression proposes the name of the file that was compressed, and a
// compression the name it wrote before: a cancelled save, or one that fails on a
// full disk, leaves that file byte for byte as it was, and nothing beside it.
TEST_F(CodetreeFiles, CancelledOrFailedSavesKeepTheFileTheyWouldReplace) {
    const std::string text = Text();
    const auto source = WriteFile("a.txt", text);
    const auto packed = dir_ / "a.txt.tkv";
    Open(source);
    SaveTo(packed);
    const std::string compressed = ReadFile(packed);
    const std::set<std::string> names = Names();
    for (const auto& [opened, kept] : {std::pair{packed, source}, std::pair{source, packed}}) {
        SCOPED_TRACE(opened.filename().string());
        const std::string before = ReadFile(kept);
        Open(opened);
        CancelAtFirstReport();
        Form().tlbToolBar->Click("Save");
        EXPECT_EQ(File().txtFile->text(), Q(kept));
        File().cmdCompress->click();
        EXPECT_EQ(ReadFile(kept), before);
        EXPECT_EQ(Names(), names);
        {
            platform::SafeReplaceWriteLimit full(1000);
            dialogs_.AnswerMessage(platform::MessageResult::Ok);
            Form().tlbToolBar->Click("Save");
            File().cmdCompress->click();
        }
        EXPECT_EQ(dialogs_.Requests().back().text, "Error saving file");
        EXPECT_EQ(ReadFile(kept), before);
        EXPECT_EQ(Names(), names);
    }
    EXPECT_EQ(ReadFile(packed), compressed);
    EXPECT_EQ(ReadFile(source), text);
}

TEST_F(CodetreeFiles, CancelLeavesNoTargetAndAnEmptyModel) {
    const auto source = WriteFile("a.txt", Text());
    Open(source);
    const auto target = dir_ / "a.tkv";
    CancelAtFirstReport();
    SaveTo(target);
    EXPECT_EQ(waitText_, "Compressing " + Q(source) + " to " + Q(target));
    EXPECT_TRUE(busyShown_);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(modals_.empty());
    EXPECT_EQ(Form().Forest().Size(), 1);
    EXPECT_TRUE(Form().tlbToolBar->isEnabled());
    SaveTo(target); // the next compression starts afresh
    EXPECT_EQ(modals_.size(), 1u);

    Open(target);
    CancelAtFirstReport();
    SaveTo(dir_ / "b.txt");
    EXPECT_EQ(waitText_, "Decompresing " + Q(target) + " to " + Q(dir_ / "b.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "b.txt"));

    CancelAtFirstReport();
    Open(source);
    EXPECT_EQ(waitText_, "Opening " + Q(source));
    EXPECT_EQ(Form().Forest().Size(), 0);
    EXPECT_FALSE(Form().Forest().FileMode());
    EXPECT_FALSE(Form().Wait().isVisible());
    EXPECT_TRUE(Form().Nodes().isVisible());
    EXPECT_EQ(dialogs_.Requests().size(), 3u); // the open dialogs only: no message

    // Closing the window while an operation runs cancels it, then closes; the
    // file written before stays as it was.
    Open(source);
    const std::string written = ReadFile(target);
    platform::SetDoEventsHook([this] {
        platform::SetDoEventsHook(nullptr);
        Form().close();
        EXPECT_TRUE(Form().isVisible());
    });
    SaveTo(target);
    EXPECT_EQ(ReadFile(target), written);
    EXPECT_FALSE(Form().isVisible());
}

TEST_F(CodetreeFiles, FileErrorsGiveTheirMessagesAndLoseNothing) {
    const auto source = WriteFile("a.txt", "abracadabra");
    Open(source);
    const std::filesystem::path packed = dir_ / "a.tkv";
    SaveTo(packed);
    const std::string whole = ReadFile(packed);
    const auto truncated = WriteFile("cut.tkv", whole.substr(0, whole.size() - 2));
    const struct {
        std::filesystem::path opened; // then Save to target, if not empty
        std::filesystem::path target;
        const char* message;
    } cases[] = {
        {dir_ / "missing.txt", {}, "Error opening file"},
        {truncated, {}, "Error opening file"},
        {source, dir_ / "no" / "folder.tkv", "Error saving file"},
        {source, source, "Error saving file"}, // the source itself
    };
    for (const auto& c : cases) {
        Open(c.opened, c.target.empty());
        if (!c.target.empty()) {
            dialogs_.AnswerMessage(platform::MessageResult::Ok);
            SaveTo(c.target);
        }
        const platform::DialogRequest& r = dialogs_.Requests().back();
        EXPECT_EQ(r.text, c.message) << c.opened;
        EXPECT_EQ(r.title, "Codetree");
        EXPECT_EQ(r.icon, platform::MessageIcon::Critical);
        EXPECT_FALSE(Form().Wait().isVisible());
    }
    EXPECT_EQ(ReadFile(source), "abracadabra");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "no"));
}

TEST_F(CodetreeFiles, APipeOrADeviceChosenToOpenIsRefusedAndTheWindowStaysUsable) {
    const std::filesystem::path fifo = platform::oddfiles::MakeFifo("window.fifo");
    for (const std::filesystem::path& path : {fifo, std::filesystem::path("/dev/zero")}) {
        Open(path, true);
        EXPECT_EQ(dialogs_.Requests().back().text, "Error opening file") << path;
        EXPECT_EQ(dialogs_.Requests().back().title, "Codetree");
        EXPECT_FALSE(Form().Wait().isVisible());
        EXPECT_TRUE(Form().tlbToolBar->isEnabled());
        EXPECT_EQ(Form().Forest().Size(), 0);
    }
    std::filesystem::remove(fifo);
    Open(WriteFile("a.txt", "abracadabra"));
    EXPECT_EQ(Form().Forest().Size(), 5);
}

} // namespace
