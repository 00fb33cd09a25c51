#include "DirList.h"
#include "DriveList.h"
#include "ScriptedDialogs.h"
#include "Sound.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Two drives over temporary folders, A and B, and a drive whose folder is gone:
//   A/one/two/{Beta, alpha, gamma, .hidden}, A/one/file.txt, B/only
class FolderLists : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.isValid());
        top_ = QFileInfo(temp_.path()).canonicalFilePath();
        a_ = top_ + "/A";
        b_ = top_ + "/B";
        gone_ = top_ + "/Gone";
        for (const QString& folder : {a_ + "/one/two/Beta", a_ + "/one/two/alpha",
                                      a_ + "/one/two/gamma", a_ + "/one/two/.hidden", b_ + "/only"}) {
            ASSERT_TRUE(QDir().mkpath(folder));
        }
        QFile file(a_ + "/one/file.txt");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        drives_ = {{a_, "DATA"}, {b_, ""}, {gone_, "STICK"}};
        SetDriveSource([this] { return drives_; });
    }

    void TearDown() override { SetDriveSource(nullptr); }

    QTemporaryDir temp_;
    QString top_, a_, b_, gone_;
    std::vector<MountedDrive> drives_;
};

// Leadigit's chooser: drive and folder lists wired as its drive change says.
struct Chooser {
    Chooser() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(&drive);
        layout->addWidget(&dir);
        drive.onChange = [this] {
            if (!dir.SetDrive(drive.Drive())) {
                MessageBox("This drive is unavailable", "Change drive", MessageIcon::Information);
                drive.SetDrive(dir.Path());
            }
        };
        dir.onChange = [this] { ++dirChanges; };
    }

    QWidget window;
    DriveList drive;
    DirList dir;
    int dirChanges = 0;
};

} // namespace

TEST_F(FolderLists, DrivesAreOrderedAndAPathBelongsToItsLongestRoot) {
    drives_.push_back({a_ + "/one/", "NESTED"});
    drives_.push_back({a_ + "/one", "the same mount twice"});
    std::vector<QString> roots;
    for (const MountedDrive& drive : MountedDrives()) {
        roots.push_back(drive.root);
    }
    EXPECT_EQ(roots, (std::vector<QString>{a_, a_ + "/one", b_, gone_}));
    for (const auto& [path, drive] : std::vector<std::pair<QString, QString>>{
             {a_ + "/one/two", a_ + "/one"}, {a_ + "/onex", a_}, {a_ + "/one/../x", a_}, {top_, ""}}) {
        EXPECT_EQ(DriveOf(path), drive) << path.toStdString();
    }
}

TEST_F(FolderLists, FolderListShowsTheWayFromTheDriveRootAndTheSubfolders) {
    DirList dir;
    int changes = 0;
    dir.onChange = [&] { ++changes; };
    const QString two = a_ + "/one/two";
    ASSERT_TRUE(dir.SetPath(two + "/"));
    EXPECT_EQ(dir.Path(), two);
    QStringList shown;
    for (int i = 0; i < dir.ListCount(); ++i) {
        shown.append(dir.List(i));
    }
    EXPECT_EQ(shown, (QStringList{a_, a_ + "/one", two, two + "/alpha", two + "/Beta", two + "/gamma"}));
    EXPECT_EQ(dir.SubFolders(), shown.mid(3));
    EXPECT_EQ(dir.ListIndex(), 2);

    // The open folder again, a missing folder or a file: the list stays.
    EXPECT_TRUE(dir.SetPath(two));
    EXPECT_FALSE(dir.SetPath(two + "/delta"));
    EXPECT_FALSE(dir.SetPath(a_ + "/one/file.txt"));
    EXPECT_EQ(dir.Path(), two);
    EXPECT_EQ(dir.ListCount(), 6);
    EXPECT_EQ(changes, 1);
}

TEST_F(FolderLists, TheUserOpensFoldersDownAndUpAndAVanishedOneBeeps) {
    Chooser c;
    c.window.show();
    QApplication::setActiveWindow(&c.window);
    ASSERT_TRUE(c.dir.SetPath(a_ + "/one"));
    c.dirChanges = 0;

    // Down by double click on "two" (under A and one), up by Enter on an ancestor.
    const QPoint twoAt = c.dir.visualItemRect(c.dir.topLevelItem(0)->child(0)->child(0)).center();
    QTest::mouseClick(c.dir.viewport(), Qt::LeftButton, {}, twoAt);
    EXPECT_EQ(c.dirChanges, 0);
    QTest::mouseDClick(c.dir.viewport(), Qt::LeftButton, {}, twoAt);
    EXPECT_EQ(c.dir.Path(), a_ + "/one/two");
    c.dir.setFocus();
    c.dir.setCurrentItem(c.dir.topLevelItem(0));
    QTest::keyClick(&c.dir, Qt::Key_Return);
    EXPECT_EQ(c.dir.Path(), a_);
    EXPECT_EQ(c.dirChanges, 2);

    ASSERT_TRUE(c.dir.SetPath(a_ + "/one/two"));
    ASSERT_TRUE(QDir(a_ + "/one/two/gamma").removeRecursively());
    const uint64_t beeps = BeepCount();
    EXPECT_FALSE(c.dir.OpenEntry(5));
    EXPECT_EQ(BeepCount(), beeps + 1);
    EXPECT_EQ(c.dir.Path(), a_ + "/one/two");
    EXPECT_TRUE(c.dir.OpenEntry(4));
    EXPECT_EQ(c.dir.Path(), a_ + "/one/two/Beta");
}

TEST_F(FolderLists, DriveChangeOpensItsCurrentFolderAndAnUnavailableDriveIsReported) {
    ScriptedDialogs dialogs;
    Chooser c;
    EXPECT_EQ(c.drive.itemText(0), a_ + " [DATA]");
    ASSERT_TRUE(c.dir.SetPath(a_ + "/one/two"));
    ASSERT_TRUE(c.drive.SetDrive(c.dir.Path()));
    EXPECT_EQ(c.drive.Drive(), a_);
    c.dirChanges = 0;

    c.drive.Choose(1);
    EXPECT_EQ(c.dir.Path(), b_);
    c.drive.Choose(0); // back to the folder it had open there
    EXPECT_EQ(c.dir.Path(), a_ + "/one/two");
    EXPECT_EQ(c.dirChanges, 2);

    dialogs.AnswerMessage(MessageResult::Ok);
    c.drive.Choose(2);
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].text, "This drive is unavailable");
    EXPECT_EQ(std::tuple(c.dir.Path(), c.drive.Drive(), c.dirChanges),
              std::tuple(a_ + "/one/two", a_, 2));

    // A remembered folder removed meanwhile: the drive opens at its root.
    c.drive.Choose(1);
    ASSERT_TRUE(QDir(a_ + "/one").removeRecursively());
    c.drive.Choose(0);
    EXPECT_EQ(c.dir.Path(), a_);
    EXPECT_EQ(dialogs.Requests().size(), 1u);
}

TEST_F(FolderLists, RefreshFollowsDrivesThatComeAndGo) {
    Chooser c;
    c.drive.SetDrive(b_ + "/only");
    std::vector<QString> changes;
    c.drive.onChange = [&] { changes.push_back(c.drive.Drive()); };
    drives_ = {{a_, ""}, {b_, "NEW LABEL"}, {"/", ""}};
    c.drive.Refresh();
    EXPECT_EQ(c.drive.currentText(), b_ + " [NEW LABEL]");
    drives_ = {{a_, ""}, {"/", ""}};
    c.drive.Refresh(); // the chosen drive went: the one holding its folder
    EXPECT_EQ(changes, std::vector<QString>{"/"});
}

TEST(DriveList, SystemDrivesAreExistingFoldersInOrder) {
    const std::vector<MountedDrive> drives = MountedDrives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives[0].root, "/");
    for (std::size_t i = 1; i < drives.size(); ++i) {
        EXPECT_TRUE(QFileInfo(drives[i].root).isDir()) << drives[i].root.toStdString();
        EXPECT_LT(drives[i - 1].root, drives[i].root);
    }
}
