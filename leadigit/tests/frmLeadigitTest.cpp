#include "DirList.h"
#include "DriveList.h"
#include "ListView.h"
#include "Modal.h"
#include "ProgramFolder.h"
#include "Pump.h"
#include "ScriptedDialogs.h"
#include "StatusBar.h"
#include "Surface.h"
#include "SurfaceShape.h"
#include "frmDir.h"
#include "frmLeadigit.h"
#include "frmScanning.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

class Leadigit : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        ASSERT_TRUE(temp_.isValid());
        home_ = fs::path(temp_.path().toStdString());
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(temp_.path());
        platform::SetProgramFolder(LEADIGIT_DATA_DIR);
        form_ = std::make_unique<frmLeadigit>();
        form_->show();
    }
    void TearDown() override {
        platform::SetDoEventsHook(nullptr);
        platform::SetModalHook(nullptr);
        form_.reset();
        platform::SetProgramFolder({});
        QDir::setCurrent(previousFolder_);
        EXPECT_EQ(dialogs_.Unused(), 0u) << "scripted answers left over";
    }

    frmLeadigit& Form() { return *form_; }
    QString Status() { return Form().statBar->PanelText("total"); }
    int Rows() { return Form().lvNumbers->RowCount(); }

    // Clicks "Scan disk for file sizes" and chooses folder in the chooser (or
    // cancels it); `pumped` runs at every DoEvents of the scan with its count.
    void Scan(const fs::path& folder, std::function<void(int)> pumped = {}, bool cancel = false) {
        platform::SetModalHook([&](QDialog&) {
            ASSERT_TRUE(Form().dirForm->Dir1->SetPath(QString::fromStdString(folder.string())));
            (cancel ? Form().dirForm->cmdCancel : Form().dirForm->cmdOK)->click();
        });
        int count = 0;
        platform::SetDoEventsHook([&] {
            if (pumped)
                pumped(++count);
        });
        Form().cmdSizes->click();
        platform::SetDoEventsHook(nullptr);
        platform::SetModalHook(nullptr);
    }
    // Pixels of the chart area in colour 0x00BBGGRR.
    int ChartPixels(uint32_t bgr) {
        const QImage& image = Form().surface->Image();
        const QRgb rgb = qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, bgr >> 16);
        int n = 0;
        for (int y = Form().shpGraph->Top(); y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == rgb;
        return n;
    }

    platform::ScriptedDialogs dialogs_;
    QTemporaryDir temp_;
    fs::path home_;
    QString previousFolder_;
    std::unique_ptr<frmLeadigit> form_;
};

TEST_F(Leadigit, OpensEmptyAndLaysOutTheListAndTheChartArea) {
    EXPECT_EQ(Form().windowTitle(), "Veritope - Leadigit");
    EXPECT_EQ(Status(), "No data");
    EXPECT_EQ(Form().framData->title(), "Data to analize");
    ASSERT_EQ(Form().lvNumbers->ColumnCount(), 2);
    EXPECT_EQ(Form().lvNumbers->ColumnCaption(0), "Item");
    EXPECT_EQ(Form().lvNumbers->ColumnCaption(1), "Value");

    Form().resize(900, 600);
    const int bar = Form().statBar->height();
    EXPECT_EQ(Form().shpBack->Width(), 900);
    EXPECT_EQ(Form().shpGraph->Width(), 900);
    EXPECT_EQ(Form().shpGraph->Top(), 236);
    EXPECT_EQ(Form().shpGraph->Height(), 600 - 236 - bar);
    EXPECT_EQ(Form().lvNumbers->width(), 900 - 230 - 30);
    EXPECT_EQ(Form().lvNumbers->ColumnWidth(0), 320);
    EXPECT_EQ(Form().lvNumbers->ColumnWidth(1), 640 - 320 - 30);

    // Too small for a chart area or a list: both keep their last sizes.
    Form().resize(200, 200);
    EXPECT_EQ(Form().shpGraph->Height(), 600 - 236 - bar);
    EXPECT_EQ(Form().shpGraph->Width(), 200);
    EXPECT_EQ(Form().lvNumbers->width(), 640);
    // No data, no chart.
    EXPECT_EQ(ChartPixels(0x0000FF) + ChartPixels(0xFF0000), 0);
}

TEST_F(Leadigit, TheFixedFilesFillTheListAndTheChart) {
    Form().cmdArea->click();
    EXPECT_EQ(Rows(), 218);
    EXPECT_EQ(Status(), "218 non-zero values");
    EXPECT_GT(ChartPixels(0x0000FF), 50);
    EXPECT_GT(ChartPixels(0xFF0000), 50);
    for (QPushButton* b : {Form().cmdPopulations, Form().cmdConsts, Form().cmdCompanies}) {
        b->click();
        EXPECT_GT(Rows(), 90);
        EXPECT_EQ(Status(), QString::number(Rows()) + " non-zero values");
    }

    // A file of that name in the current folder comes first.
    WriteFile(home_ / "Area.txt", "Earth\r\nMoon\t0.0\r\n");
    Form().cmdArea->click();
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(Form().lvNumbers->Text(0, 0), "?");
    EXPECT_EQ(Form().lvNumbers->Text(0, 1), "Earth");
    EXPECT_EQ(Status(), "No data");
    EXPECT_EQ(ChartPixels(0x0000FF) + ChartPixels(0xFF0000), 0);
}

TEST_F(Leadigit, AMissingFixedFileLeavesTheListAndTheChart) {
    Form().cmdConsts->click();
    const int rows = Rows();
    const QString status = Status();
    const QImage chart = Form().surface->Image();
    platform::SetProgramFolder(home_);
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Form().cmdArea->click();
    ASSERT_EQ(dialogs_.Requests().size(), 1u);
    EXPECT_EQ(dialogs_.Requests()[0].text, "Error reading Area.txt");
    EXPECT_EQ(dialogs_.Requests()[0].title, "Loading file");
    EXPECT_EQ(dialogs_.Requests()[0].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(Status(), status);
    Form().surface->Refresh();
    EXPECT_EQ(Form().surface->Image(), chart);
}

TEST_F(Leadigit, ImportReadsAChosenFileAndCancelChangesNothing) {
    const fs::path file = home_ / "mine.txt";
    WriteFile(file, "Earth\r\na\t12\tx\r\n\r\nZ\xFCrich\t0,5\r\n  7");
    dialogs_.AnswerFile(QString::fromStdString(file.string()));
    Form().cmdFile->click();
    ASSERT_EQ(dialogs_.Requests().size(), 1u);
    EXPECT_EQ(dialogs_.Requests()[0].file.filter, "Text files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_TRUE(dialogs_.Requests()[0].file.fileName.isEmpty());
    ASSERT_EQ(Rows(), 4);
    const QString expected[4][2] = {{"?", "Earth"}, {"a", "12"}, {"Zürich", "0,5"}, {"?", "  7"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(Form().lvNumbers->Text(r, c), expected[r][c]);
    EXPECT_EQ(Status(), "3 non-zero values");
    EXPECT_EQ(Form().digitCounts[0], 1);
    EXPECT_EQ(Form().digitCounts[5], 1);
    EXPECT_EQ(Form().digitCounts[7], 1);

    dialogs_.AnswerFile("");
    Form().cmdFile->click();
    EXPECT_EQ(Rows(), 4);

    // A file that opens but fails to read: the list holds what was read
    // (nothing here) and is counted again behind the message.
    dialogs_.AnswerFile("/proc/self/mem");
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    Form().cmdFile->click();
    EXPECT_EQ(dialogs_.Requests().back().text, "Error reading /proc/self/mem");
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Status(), "No data");
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
    EXPECT_EQ(Form().digitCounts[2], 2);
    EXPECT_EQ(Form().scanningForm->windowTitle(),
              "Scanning " + QString::fromStdString(tree.string()));
    EXPECT_TRUE(Form().scanningForm->isHidden());
    EXPECT_FALSE(Form().scan);
    EXPECT_GT(ChartPixels(0x0000FF), 0);

    // Stop after the fourth file of a folder of six: the rows found stay and
    // are counted; the source buttons do nothing meanwhile.
    Scan(tree / "sub", [&](int pumped) {
        EXPECT_TRUE(Form().scanningForm->isVisible());
        Form().cmdArea->click();
        Form().cmdSizes->click();
        if (pumped == 4)
            Form().scanningForm->cmdStop->click();
    });
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(Form().digitCounts.Total() + Form().digitCounts[0], 4);
    EXPECT_FALSE(Form().scan);

    // Closing the progress window stops the scan too.
    Scan(tree / "sub", [&](int pumped) {
        if (pumped == 2)
            Form().scanningForm->close();
    });
    EXPECT_EQ(Rows(), 2);
}

TEST_F(Leadigit, CancellingTheChooserChangesNothingAndItKeepsItsFolder) {
    Form().cmdCompanies->click();
    const int rows = Rows();
    Scan(home_, {}, true);
    EXPECT_TRUE(Form().dirForm->cancelled);
    EXPECT_EQ(Rows(), rows);

    // Closed by its frame it counts as Cancel as well.
    platform::SetModalHook([&](QDialog& dialog) { dialog.close(); });
    Form().cmdSizes->click();
    platform::SetModalHook(nullptr);
    EXPECT_TRUE(Form().dirForm->cancelled);
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(Form().dirForm->Dir1->Path(), QString::fromStdString(home_.string()));
}

TEST(LeadigitChooser, AnUnavailableDriveIsReportedAndTheFolderListStays) {
    QTemporaryDir temp;
    const QString root = QDir(temp.path()).canonicalPath();
    const QString gone = root + "/gone";
    platform::SetDriveSource([&] {
        return std::vector<platform::MountedDrive>{{root, "DATA"}, {gone, "STICK"}};
    });
    platform::ScriptedDialogs dialogs;
    {
        QWidget owner;
        frmDir chooser(&owner);
        ASSERT_TRUE(chooser.Dir1->SetPath(root));
        ASSERT_TRUE(chooser.Drive1->SetDrive(root));
        dialogs.AnswerMessage(platform::MessageResult::Ok);
        chooser.Drive1->Choose(1);
        ASSERT_EQ(dialogs.Requests().size(), 1u);
        EXPECT_EQ(dialogs.Requests()[0].text, "This drive is unavailable");
        EXPECT_EQ(dialogs.Requests()[0].title, "Change drive");
        EXPECT_EQ(dialogs.Requests()[0].icon, platform::MessageIcon::Information);
        EXPECT_EQ(chooser.Dir1->Path(), root);
        EXPECT_EQ(chooser.Drive1->Drive(), root);

        chooser.cmdOK->click();
        EXPECT_EQ(chooser.path, root);
        EXPECT_FALSE(chooser.cancelled);
    }
    platform::SetDriveSource(nullptr);
}

} // namespace
