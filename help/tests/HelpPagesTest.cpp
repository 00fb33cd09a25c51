#include "Help.h"
#include "frmBifurcal.h"
#include "frmChordwise.h"
#include "frmCodetree.h"
#include "frmCointoss.h"
#include "frmContagia.h"
#include "frmCooperon.h"
#include "frmEntropia.h"
#include "frmFile.h"
#include "frmFlipwell.h"
#include "frmHitmiss.h"
#include "frmLeadigit.h"
#include "frmLifeboard.h"
#include "frmNeighbora.h"
#include "frmNeuromesh.h"
#include "frmPegfall.h"
#include "frmReactimer.h"
#include "frmRibbonmill.h"
#include "frmScrivel.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

// The shipped help folder "Veritope" beside the programs: every program's page
// is there, every link between the pages lands on a page and an anchor that
// exist, nothing points outside the folder, and Qt's own HTML reader keeps
// every heading.

namespace {

QString HelpFolder() {
    return VERITOPE_HELP_FOLDER;
}

QDir PagesFolder() {
    return QDir(HelpFolder() + "/html");
}

QString Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Every page of the folder, by file name, with its text.
std::map<QString, QString> Pages() {
    std::map<QString, QString> pages;
    const QDir folder = PagesFolder();
    for (const QString& name : folder.entryList({"*.htm"}, QDir::Files))
        pages[name] = Read(folder.filePath(name));
    return pages;
}

// The values of the attributes that name another file: href and src.
QStringList References(const QString& html) {
    static const QRegularExpression reference(R"((?:href|src)\s*=\s*(["'])(.*?)\1)",
                                              QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (auto it = reference.globalMatch(html); it.hasNext();)
        found << it.next().captured(2);
    return found;
}

QSet<QString> Anchors(const QString& html) {
    static const QRegularExpression anchor(R"(\b(?:id|name)\s*=\s*(["'])(.*?)\1)",
                                           QRegularExpression::CaseInsensitiveOption);
    QSet<QString> found;
    for (auto it = anchor.globalMatch(html); it.hasNext();)
        found << it.next().captured(2);
    return found;
}

const struct {
    const char* program;
    const char* topic;
} kTopics[] = {
    {"Lifeboard", frmLifeboard::kHelpTopic},   {"Codetree", frmCodetree::kHelpTopic},
    {"Scrivel", frmScrivel::kHelpTopic},       {"Neuromesh", frmNeuromesh::kHelpTopic},
    {"Ribbonmill", frmRibbonmill::kHelpTopic}, {"Cooperon", frmCooperon::kHelpTopic},
    {"Bifurcal", frmBifurcal::kHelpTopic},     {"Hitmiss", frmHitmiss::kHelpTopic},
    {"Reactimer", frmReactimer::kHelpTopic},   {"Leadigit", frmLeadigit::kHelpTopic},
    {"Pegfall", frmPegfall::kHelpTopic},       {"Flipwell", frmFlipwell::kHelpTopic},
    {"Cointoss", frmCointoss::kHelpTopic},     {"Contagia", frmContagia::kHelpTopic},
    {"Entropia", frmEntropia::kHelpTopic},     {"Neighbora", frmNeighbora::kHelpTopic},
    {"Chordwise", frmChordwise::kHelpTopic},
};

TEST(HelpPages, EveryProgramsTopicIsAShippedPageListedInTheContents) {
    const QStringList contents = References(Read(PagesFolder().filePath("index.htm")));
    ASSERT_FALSE(contents.isEmpty()) << "no contents page in " << HelpFolder().toStdString();
    for (const auto& [program, topic] : kTopics) {
        const QString path = platform::HelpPagePath(HelpFolder(), topic);
        EXPECT_TRUE(contents.contains(topic)) << program << " is not on the contents page";
        if (path.isEmpty()) {
            ADD_FAILURE() << program << ": no page " << topic;
            continue;
        }
        const QString html = Read(path);
        EXPECT_TRUE(html.contains(QString("<title>Veritope - %1</title>").arg(program))) << topic;
    }
}

TEST(HelpPages, CodetreesCompressAndDecompressContextsAreAnchorsOfItsPage) {
    for (const int context : {frmFile::kCompressContext, frmFile::kDecompressContext}) {
        const QString page = QString("%1#%2").arg(frmCodetree::kHelpTopic).arg(context);
        const QString path = platform::HelpPagePath(HelpFolder(), page);
        ASSERT_FALSE(path.isEmpty()) << page.toStdString();
        EXPECT_TRUE(Anchors(Read(path)).contains(QString::number(context))) << page.toStdString();
    }
}

TEST(HelpPages, LinksStayInsideTheFolderAndLandOnPagesAndAnchorsThatExist) {
    const auto pages = Pages();
    EXPECT_GE(pages.size(), std::size(kTopics) + 1);
    std::map<QString, QSet<QString>> anchors;
    for (const auto& [name, html] : pages)
        anchors[name] = Anchors(html);

    for (const auto& [name, html] : pages) {
        const std::string where = name.toStdString();
        EXPECT_FALSE(html.contains("<script", Qt::CaseInsensitive)) << where;
        EXPECT_FALSE(html.contains("http:", Qt::CaseInsensitive)) << where;
        EXPECT_FALSE(html.contains("https:", Qt::CaseInsensitive)) << where;
        const QStringList references = References(html);
        if (name != "index.htm") {
            EXPECT_TRUE(references.contains("index.htm")) << where << " has no way back to the contents";
        }
        for (const QString& reference : references) {
            const std::string what = where + ": " + reference.toStdString();
            // Only plain relative names: no scheme, no root, no parent folder.
            ASSERT_FALSE(reference.isEmpty()) << what;
            EXPECT_FALSE(reference.contains(':') || reference.startsWith('/') || reference.contains('\\') ||
                         reference.contains(".."))
                << what;
            const QString file = reference.section('#', 0, 0);
            const QString anchor = reference.section('#', 1);
            const QString target = file.isEmpty() ? name : file;
            EXPECT_TRUE(QFileInfo(PagesFolder().filePath(target)).isFile()) << what;
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(anchors.count(target) && anchors[target].contains(anchor)) << what;
            }
        }
    }
    // The style sheet asks for nothing beyond itself.
    const QString style = Read(PagesFolder().filePath("veritope.css"));
    EXPECT_FALSE(style.isEmpty());
    EXPECT_FALSE(style.contains("url(") || style.contains("@import"));
}

TEST(HelpPages, QtsHtmlReaderKeepsEveryHeading) {
    static const QRegularExpression heading(R"(<h([1-6])[^>]*>(.*?)</h\1>)",
                                            QRegularExpression::CaseInsensitiveOption |
                                                QRegularExpression::DotMatchesEverythingOption);
    for (const auto& [name, html] : Pages()) {
        std::vector<std::pair<int, std::string>> written;
        for (auto it = heading.globalMatch(html); it.hasNext();) {
            const auto match = it.next();
            written.emplace_back(match.captured(1).toInt(),
                                 QTextDocumentFragment::fromHtml(match.captured(2)).toPlainText().simplified().toStdString());
        }
        EXPECT_FALSE(written.empty()) << name.toStdString();

        QTextDocument document;
        document.setHtml(html);
        std::vector<std::pair<int, std::string>> read;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (const int level = block.blockFormat().headingLevel(); level > 0)
                read.emplace_back(level, block.text().simplified().toStdString());
        }
        EXPECT_EQ(read, written) << name.toStdString();
        EXPECT_FALSE(document.metaInformation(QTextDocument::DocumentTitle).isEmpty()) << name.toStdString();
    }
}

} // namespace
