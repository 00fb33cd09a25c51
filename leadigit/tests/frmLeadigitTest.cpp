#include "DirList.h"
#include "DriveList.h"
#include "HelpKeyPress.h"
#include "ListView.h"
#include "Modal.h"
#include "OddFiles.h"
#include "ProgramFolder.h"
#include "Pump.h"
#include "ScriptedDialogs.h"
#include "StatusBar.h"
#include "Surface.h"
#include "SurfaceShape.h"
#include "WindowSizeChecks.h"
#include "frmDir.h"
#include "frmLeadigit.h"
#include "frmScanning.h"

#include <QDir>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// A shown window with the data files in the program's folder and a temporary
// current folder.
class Leadigit : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        home_ = temp_.path().toStdString();
        QDir::setCurrent(temp_.path());
        platform::SetProgramFolder(LEADIGIT_DATA_DIR);
        form_.show();
    }
    void TearDown() override {
        platform::SetProgramFolder({});
        QDir::setCurrent(previous_);
        EXPECT_EQ(dialogs_.Unused(), 0u);
    }

    QString Status() { return form_.statBar->PanelText("total"); }
    int Rows() { return form_.lvNumbers->RowCount(); }
    // Chooses folder (or Cancel) in the chooser of "Scan disk for file sizes";
    // `pumped` runs at every DoEvents of the scan with its count.
    void Scan(const fs::path& folder, std::function<void(int)> pumped = {}, bool cancel = false) {
        platform::SetModalHook([&](QDialog&) {
            ASSERT_TRUE(form_.dirForm->Dir1->SetPath(QString::fromStdString(folder.string())));
            (cancel ? form_.dirForm->cmdCancel : form_.dirForm->cmdOK)->click();
        });
        int count = 0;
        platform::SetDoEventsHook([&] { pumped ? pumped(++count) : void(); });
        form_.cmdSizes->click();
        platform::SetDoEventsHook(nullptr);
        platform::SetModalHook(nullptr);
    }
    // Pixels of the chart area in the colour of the observed shares and of the law.
    int ChartPixels() {
        const QImage& image = form_.surface->Image();
        int n = 0;
        for (int y = form_.shpGraph->Top(); y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == qRgb(255, 0, 0) || image.pixel(x, y) == qRgb(0, 0, 255);
        return n;
    }

    platform::ScriptedDialogs dialogs_;
    QTemporaryDir temp_;
    QString previous_ = QDir::currentPath();
    fs::path home_;
    frmLeadigit form_;
};

TEST_F(Leadigit, OpensEmptyAndLaysOutTheListAndTheChartArea) {
    EXPECT_EQ(Status(), "No data");
    EXPECT_EQ(form_.lvNumbers->ColumnCaption(1), "Value");
    form_.resize(900, 600);
    const int graphHeight = 600 - 236 - form_.statBar->height();
    EXPECT_EQ(form_.shpGraph->Width(), 900);
    EXPECT_EQ(form_.shpGraph->Height(), graphHeight);
    EXPECT_EQ(form_.lvNumbers->width(), 900 - 230 - 30);
    EXPECT_EQ(form_.lvNumbers->ColumnWidth(0), 320);
    EXPECT_EQ(form_.lvNumbers->ColumnWidth(1), 640 - 320 - 30);
    EXPECT_EQ(ChartPixels(), 0);
}

TEST_F(Leadigit, CannotBeMadeSmallerThanItsDesignLayout) {
    // The buttons, the list and a chart of its design height with room for its axis labels;
    // the dialogs keep their size.
    const int statusHeight = form_.statBar->sizeHint().height();
    EXPECT_TRUE(platform_test::StopsShrinkingAt(form_, QSize(700, 432 + statusHeight)));
    form_.resize(1, 1);
    EXPECT_EQ(form_.shpGraph->Height(), 196);
    EXPECT_EQ(form_.lvNumbers->width(), 700 - 230 - 30);
    EXPECT_TRUE(platform_test::KeepsItsSize(*form_.dirForm));
    EXPECT_TRUE(platform_test::KeepsItsSize(*form_.scanningForm));
}

TEST_F(Leadigit, FixedFilesFillListAndChartAndAMissingOneLeavesThem) {
    form_.cmdArea->click();
    EXPECT_EQ(Rows(), 218);
    EXPECT_EQ(Status(), "218 non-zero values");
    EXPECT_GT(ChartPixels(), 100);
    // A file of that name in the current folder comes first.
    WriteFile(home_ / "Area.txt", "Earth\r\nMoon\t0.0\r\n");
    form_.cmdArea->click();
    EXPECT_EQ(form_.lvNumbers->Text(0, 0) + form_.lvNumbers->Text(0, 1), "?Earth");
    EXPECT_EQ(Status(), "No data");
    EXPECT_EQ(ChartPixels(), 0);

    form_.cmdConsts->click();
    const int rows = Rows();
    const QImage chart = form_.surface->Image();
    fs::remove(home_ / "Area.txt");
    platform::SetProgramFolder(home_);
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    form_.cmdArea->click();
    ASSERT_EQ(dialogs_.Requests().size(), 1u);
    EXPECT_EQ(dialogs_.Requests()[0].text, "Error reading Area.txt");
    EXPECT_EQ(dialogs_.Requests()[0].title, "Loading file");
    EXPECT_EQ(dialogs_.Requests()[0].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(Rows(), rows);
    form_.surface->Refresh();
    EXPECT_EQ(form_.surface->Image(), chart);
}

TEST_F(Leadigit, ImportReadsAChosenFileAsWindows1252) {
    WriteFile(home_ / "mine.txt", "Earth\r\na\t12\tx\r\n\r\nZ\xFCrich\t0,5\r\n  7");
    dialogs_.AnswerFile(QString::fromStdString((home_ / "mine.txt").string()));
    form_.cmdFile->click();
    EXPECT_EQ(dialogs_.Requests()[0].file.filter, "Text files (*.txt)|*.txt|All Files (*.*)|*.*");
    ASSERT_EQ(Rows(), 4);
    EXPECT_EQ(form_.lvNumbers->Text(2, 0), "Zürich");
    EXPECT_EQ(form_.lvNumbers->Text(3, 1), "  7");
    EXPECT_EQ(Status(), "3 non-zero values");
    dialogs_.AnswerFile("");
    form_.cmdFile->click();
    EXPECT_EQ(Rows(), 4);
    // A file that opens but fails to read: what was read (nothing) is counted.
    dialogs_.AnswerFile("/proc/self/mem");
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    form_.cmdFile->click();
    EXPECT_EQ(dialogs_.Requests().back().text, "Error reading /proc/self/mem");
    EXPECT_EQ(Status(), "No data");
}

TEST_F(Leadigit, APipeADeviceOrAHugeFileChosenToImportIsRefusedAndTheListStays) {
    namespace odd = platform::oddfiles;
    form_.cmdArea->click();
    const QImage chart = form_.surface->Image();
    const fs::path fifo = odd::MakeFifo("import.fifo");
    const fs::path huge = odd::MakeSparseFile("import.txt", odd::kHugeSize);
    for (const fs::path& path : {fifo, fs::path("/dev/zero"), huge}) {
        const QString name = QString::fromStdString(path.string());
        dialogs_.AnswerFile(name);
        dialogs_.AnswerMessage(platform::MessageResult::Ok);
        form_.cmdFile->click();
        EXPECT_EQ(dialogs_.Requests().back().text, "Error reading " + name);
        EXPECT_EQ(dialogs_.Requests().back().title, "Loading file");
        EXPECT_EQ(Rows(), 218);
        EXPECT_EQ(Status(), "218 non-zero values");
    }
    form_.surface->Refresh();
    EXPECT_EQ(form_.surface->Image(), chart);
    fs::remove(fifo);
    fs::remove(huge);
    form_.cmdConsts->click();
    EXPECT_NE(Rows(), 218);
    EXPECT_GT(Rows(), 0);
}

TEST_F(Leadigit, ALongFileIsCountedWholeAndASmallerSourceTakesBackItsRoom) {
    // 90,000 lines, each digit first in 10,000 of them, in batches of the list.
    std::string lines;
    for (int i = 0; i < 90000; ++i)
        lines += "n" + std::to_string(i) + "\t" + std::to_string(i % 9 + 1) + "00\r\n";
    WriteFile(home_ / "long.txt", lines);
    dialogs_.AnswerFile(QString::fromStdString((home_ / "long.txt").string()));
    form_.cmdFile->click();
    ASSERT_EQ(Rows(), 90000);
    EXPECT_EQ(Status(), "90000 non-zero values");
    for (int d = 1; d <= 9; ++d)
        EXPECT_EQ(form_.digitCounts[d], 10000) << d;
    EXPECT_EQ(form_.lvNumbers->Text(89999, 0) + form_.lvNumbers->Text(89999, 1), "n89999900");
    EXPECT_GE(form_.lvNumbers->StorageBytes(), 90000u * 16);

    form_.cmdPopulations->click();
    EXPECT_EQ(Rows(), 217);
    EXPECT_LE(form_.lvNumbers->StorageBytes(), 217u * 16 + (1u << 16) + 4096);
}

TEST_F(Leadigit, ScanListsFileSizesAndStopKeepsWhatWasFound) {
    const fs::path tree = home_ / "tree";
    WriteFile(tree / "empty", "");
    WriteFile(tree / "two-k", std::string(2048, 'x'));
    for (int i = 1; i <= 6; ++i)
        WriteFile(tree / "sub" / ("f" + std::to_string(i)), std::string(i * 100, 'y'));
    fs::create_directory_symlink(tree, tree / "sub" / "loop");
    WriteFile(tree / "locked" / "inside", "123");
    fs::permissions(tree / "locked", fs::perms::none);
    Scan(tree);
    fs::permissions(tree / "locked", fs::perms::owner_all);
    // Only the superuser reads a folder without permissions.
    const int locked = ::geteuid() == 0 ? 1 : 0;
    EXPECT_EQ(Rows(), 8 + locked);
    EXPECT_EQ(Status(), QString::number(7 + locked) + " non-zero values");
    EXPECT_EQ(form_.digitCounts[2], 2);
    EXPECT_EQ(form_.scanningForm->windowTitle(), "Scanning " + QString::fromStdString(tree.string()));
    EXPECT_TRUE(form_.scanningForm->isHidden());
    EXPECT_GT(ChartPixels(), 0);

    // Stop after the fourth file of six; the source buttons do nothing meanwhile.
    Scan(tree / "sub", [&](int pumped) {
        form_.cmdArea->click();
        form_.cmdSizes->click();
        // The digits are counted when the scan ends.
        EXPECT_EQ(form_.digitCounts.Total(), 0);
        if (pumped == 4)
            form_.scanningForm->cmdStop->click();
    });
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(Status(), "4 non-zero values");
    // Closing the progress window stops the scan too.
    Scan(tree / "sub", [&](int pumped) {
        if (pumped == 2)
            form_.scanningForm->close();
    });
    EXPECT_EQ(Rows(), 2);
    // Closing the main window stops it and takes the progress window away.
    Scan(tree / "sub", [&](int pumped) {
        if (pumped == 3)
            form_.close();
        EXPECT_EQ(form_.scanningForm->isVisible(), pumped < 3);
    });
    EXPECT_EQ(Rows(), 3);
}

TEST_F(Leadigit, TheChooserCancelsByButtonOrFrameAndReportsAnUnavailableDrive) {
    form_.cmdCompanies->click();
    const int rows = Rows();
    Scan(home_, {}, true);
    platform::SetModalHook([](QDialog& dialog) { dialog.close(); });
    form_.cmdSizes->click();
    platform::SetModalHook(nullptr);
    EXPECT_TRUE(form_.dirForm->cancelled);
    EXPECT_EQ(Rows(), rows);

    const QString root = QDir(temp_.path()).canonicalPath();
    platform::SetDriveSource([&] {
        return std::vector<platform::MountedDrive>{{root, "DATA"}, {root + "/gone", "STICK"}};
    });
    frmDir chooser(&form_);
    ASSERT_TRUE(chooser.Dir1->SetPath(root));
    ASSERT_TRUE(chooser.Drive1->SetDrive(root));
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    chooser.Drive1->Choose(1);
    platform::SetDriveSource(nullptr);
    ASSERT_EQ(dialogs_.Requests().size(), 1u);
    EXPECT_EQ(dialogs_.Requests()[0].text, "This drive is unavailable");
    EXPECT_EQ(dialogs_.Requests()[0].title, "Change drive");
    EXPECT_EQ(dialogs_.Requests()[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(chooser.Dir1->Path(), root);
    EXPECT_EQ(chooser.Drive1->Drive(), root);
}

TEST_F(Leadigit, F1OpensTheProgramsHelpPage) {
    EXPECT_EQ(platform_test::HelpPagesOnF1(form_), std::vector<QString>{frmLeadigit::kHelpTopic});
}

} // namespace
