#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

// Every modal dialog a program shows goes through the one installed Dialogs
// service: message boxes, the input box, the open and save file dialogs and pop-up
// menus. By default it is the Qt implementation; tests install a ScriptedDialogs
// (ScriptedDialogs.h) that answers from a script, so no test waits on a window.
// The Qt dialogs are owned by the active window.

namespace platform {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

struct FileRequest {
    QString title;
    // The original's form: "Life files (*.lif, *.life)|*.lif;*.life|All files|*.*".
    QString filter;
    // Added to a typed name without extension, e.g. "lif"; empty for none.
    QString defaultExt;
    QString folder;   // empty: the current folder
    QString fileName; // preset name, empty for none
    bool confirmOverwrite = false;
};

// Items of a pop-up menu by caption; "-" is a separator line.
struct MenuRequest {
    QStringList items;
    QWidget* owner = nullptr; // the point is relative to it; null for the screen
    QPoint at;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MessageResult Message(const QString& text, const QString& title, MessageIcon icon,
                                  MessageButtons buttons) = 0;
    // The text typed, or nullopt when cancelled.
    virtual std::optional<QString> Input(const QString& prompt, const QString& title,
                                         const QString& defaultText) = 0;
    // The chosen path, or empty when cancelled.
    virtual QString OpenFile(const FileRequest& request) = 0;
    virtual QString SaveFile(const FileRequest& request) = 0;
    // The index of the chosen entry of request.items, or -1 when dismissed.
    virtual int PopupMenu(const MenuRequest& request) = 0;

    // The installed service.
    static Dialogs& Current();
    // Installs a service, or the Qt one again for null; returns the one it replaces
    // (null when that was the Qt one). The caller keeps ownership.
    static Dialogs* Install(Dialogs* service);
};

// The original's filter string as a Qt name filter list joined by ";;": each
// description keeps its text before any "(...)" and gets the patterns, separated
// by blanks, in parentheses; "*.*" becomes "*" so that it matches every file.
QString QtFileFilter(const QString& filter);

// Shorthands for the installed service.
inline MessageResult MessageBox(const QString& text, const QString& title,
                                MessageIcon icon = MessageIcon::None,
                                MessageButtons buttons = MessageButtons::Ok) {
    return Dialogs::Current().Message(text, title, icon, buttons);
}

inline std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                       const QString& defaultText = {}) {
    return Dialogs::Current().Input(prompt, title, defaultText);
}

inline QString OpenFileDialog(const FileRequest& request) {
    return Dialogs::Current().OpenFile(request);
}

inline QString SaveFileDialog(const FileRequest& request) {
    return Dialogs::Current().SaveFile(request);
}

} // namespace platform
