#include "Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QWidget>

namespace platform {

namespace {

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons QtButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// Icons and type names of the entries a file dialog lists, told from each
// entry's kind and name alone. The toolkit's own provider reads the first
// bytes of every listed file without a known extension to tell its type, on
// the window's thread: a listed file whose read waits (/proc/kmsg, a device's
// file) froze the program in its dialog.
class NameOnlyIconProvider final : public QFileIconProvider {
public:
    NameOnlyIconProvider() { setOptions(DontUseCustomDirectoryIcons); }

    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override {
        if (info.isRoot())
            return icon(Drive);
        if (info.isDir())
            return icon(Folder);
        const QIcon byName = QIcon::fromTheme(TypeByName(info).iconName());
        return byName.isNull() ? icon(File) : byName;
    }
    QString type(const QFileInfo& info) const override {
        if (!info.isFile())
            return QFileIconProvider::type(info); // drive, folder, link: no file is read
        const QMimeType type = TypeByName(info);
        return type.comment().isEmpty() ? type.name() : type.comment();
    }

private:
    static QMimeType TypeByName(const QFileInfo& info) {
        return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    }
};

class QtDialogs final : public Dialogs {
public:
    MessageResult Message(const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override {
        QMessageBox box(QtIcon(icon), title, text, QtButtons(buttons),
                        QApplication::activeWindow());
        switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        case QMessageBox::Ok:
            return MessageResult::Ok;
        default:
            // Closed without a button: what Escape would have chosen.
            return buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Cancel;
        }
    }

    std::optional<QString> Input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override {
        bool ok = false;
        QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                             QLineEdit::Normal, defaultText, &ok);
        if (!ok) {
            return std::nullopt;
        }
        return text;
    }

    QString OpenFile(const FileRequest& request) override { return Run(request, false); }
    QString SaveFile(const FileRequest& request) override { return Run(request, true); }

    int PopupMenu(const MenuRequest& request) override {
        QMenu menu(request.owner ? request.owner : QApplication::activeWindow());
        std::vector<QAction*> actions;
        for (const QString& caption : request.items) {
            actions.push_back(caption == "-" ? menu.addSeparator() : menu.addAction(caption));
        }
        const QPoint at = request.owner ? request.owner->mapToGlobal(request.at) : request.at;
        QAction* chosen = menu.exec(at);
        for (std::size_t i = 0; i < actions.size(); ++i) {
            if (chosen != nullptr && actions[i] == chosen) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

private:
    static QString Run(const FileRequest& request, bool save) {
        // The toolkit's own dialog, whatever the desktop's, so that the
        // icon provider serves it: no file it lists or returns is read.
        NameOnlyIconProvider icons;
        QFileDialog dialog(QApplication::activeWindow(), request.title, request.folder);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setIconProvider(&icons);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
        if (!request.filter.isEmpty()) {
            dialog.setNameFilter(QtFileFilter(request.filter));
        }
        dialog.setDefaultSuffix(request.defaultExt);
        if (!request.fileName.isEmpty()) {
            dialog.selectFile(request.fileName);
        }
        if (dialog.exec() != QDialog::Accepted) {
            return {};
        }
        return dialog.selectedFiles().value(0);
    }
};

Dialogs*& Installed() {
    static Dialogs* installed = nullptr;
    return installed;
}

} // namespace

Dialogs& Dialogs::Current() {
    static QtDialogs qtDialogs;
    Dialogs* installed = Installed();
    return installed != nullptr ? *installed : qtDialogs;
}

Dialogs* Dialogs::Install(Dialogs* service) {
    Dialogs* previous = Installed();
    Installed() = service;
    return previous;
}

QString QtFileFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (description.endsWith(')')) {
            const qsizetype open = description.lastIndexOf('(');
            if (open >= 0) {
                description = description.left(open).trimmed();
            }
        }
        QStringList patterns;
        for (const QString& part : parts[i + 1].split(';')) {
            const QString pattern = part.trimmed();
            if (!pattern.isEmpty()) {
                patterns.push_back(pattern == "*.*" ? QStringLiteral("*") : pattern);
            }
        }
        if (patterns.isEmpty()) {
            patterns.push_back(QStringLiteral("*"));
        }
        entries.push_back(description + " (" + patterns.join(' ') + ")");
    }
    return entries.join(";;");
}

} // namespace platform
