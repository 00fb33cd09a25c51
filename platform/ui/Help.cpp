#include "Help.h"

#include "ProgramFolder.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QUrl>
#include <QWidget>

namespace platform {

namespace {

std::function<void(const QString&)>& Handler() {
    static std::function<void(const QString&)> handler;
    return handler;
}

} // namespace

QString HelpPagePath(const QString& helpFolder, const QString& topicPage) {
    const QString page = topicPage.section('#', 0, 0);
    if (page.isEmpty() || page.contains("..")) {
        return {};
    }
    const QFileInfo file(QDir(helpFolder).filePath("html/" + page));
    return file.isFile() ? file.absoluteFilePath() : QString();
}

void ShowHelp(const QString& topicPage) {
    if (Handler()) {
        Handler()(topicPage);
        return;
    }
    const QString folder = QString::fromStdString((ProgramFolder() / "Veritope").string());
    const QString path = HelpPagePath(folder, topicPage);
    if (path.isEmpty()) {
        return;
    }
    QUrl url = QUrl::fromLocalFile(path);
    if (const QString anchor = topicPage.section('#', 1); !anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    QDesktopServices::openUrl(url);
}

void BindHelpKey(QWidget* window, const QString& topicPage) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, [topicPage] { ShowHelp(topicPage); });
}

void SetHelpHandler(std::function<void(const QString&)> handler) {
    Handler() = std::move(handler);
}

} // namespace platform
