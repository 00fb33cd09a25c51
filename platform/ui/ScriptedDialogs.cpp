#include "ScriptedDialogs.h"

namespace platform {

namespace {

const char* KindName(DialogKind kind) {
    switch (kind) {
    case DialogKind::Message:
        return "message box";
    case DialogKind::Input:
        return "input box";
    case DialogKind::OpenFile:
        return "open file dialog";
    case DialogKind::SaveFile:
        return "save file dialog";
    case DialogKind::PopupMenu:
        return "pop-up menu";
    }
    return "dialog";
}

std::string Describe(const DialogRequest& request) {
    std::string what = KindName(request.kind);
    if (!request.title.isEmpty()) {
        what += " \"" + request.title.toStdString() + "\"";
    }
    if (!request.text.isEmpty()) {
        what += ": \"" + request.text.toStdString() + "\"";
    }
    if (!request.menu.items.isEmpty()) {
        what += ": " + request.menu.items.join(", ").toStdString();
    }
    return what;
}

} // namespace

ScriptedDialogs::ScriptedDialogs() {
    previous_ = Dialogs::Install(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    Dialogs::Install(previous_);
}

void ScriptedDialogs::AnswerMessage(MessageResult result) {
    script_.push_back({DialogKind::Message, result, std::nullopt});
}

void ScriptedDialogs::AnswerInput(const QString& text) {
    script_.push_back({DialogKind::Input, MessageResult::Ok, text});
}

void ScriptedDialogs::CancelInput() {
    script_.push_back({DialogKind::Input, MessageResult::Cancel, std::nullopt});
}

void ScriptedDialogs::AnswerFile(const QString& path) {
    // One answer serves either file dialog; the request records which was shown.
    script_.push_back({DialogKind::OpenFile, MessageResult::Ok, path});
}

void ScriptedDialogs::AnswerMenu(const QString& caption) {
    script_.push_back({DialogKind::PopupMenu, MessageResult::Ok, caption});
}

void ScriptedDialogs::DismissMenu() {
    script_.push_back({DialogKind::PopupMenu, MessageResult::Cancel, std::nullopt});
}

void ScriptedDialogs::SetFailureHandler(std::function<void(const std::string&)> handler) {
    failureHandler_ = std::move(handler);
}

void ScriptedDialogs::Fail(const std::string& what) {
    errors_.push_back(what);
    if (failureHandler_) {
        failureHandler_(what);
    } else {
        throw UnscriptedDialog(what);
    }
}

bool ScriptedDialogs::Next(DialogKind kind, Answer& answer) {
    const DialogKind wanted = kind == DialogKind::SaveFile ? DialogKind::OpenFile : kind;
    if (script_.empty()) {
        Fail("unscripted " + Describe(requests_.back()));
        return false;
    }
    if (script_.front().kind != wanted) {
        Fail("script expected a " + std::string(KindName(script_.front().kind)) + ", got " +
             Describe(requests_.back()));
        return false;
    }
    answer = std::move(script_.front());
    script_.pop_front();
    return true;
}

MessageResult ScriptedDialogs::Message(const QString& text, const QString& title, MessageIcon icon,
                                       MessageButtons buttons) {
    DialogRequest request;
    request.kind = DialogKind::Message;
    request.text = text;
    request.title = title;
    request.icon = icon;
    request.buttons = buttons;
    requests_.push_back(request);
    if (Answer answer; Next(DialogKind::Message, answer)) {
        return answer.result;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageResult::Ok;
    case MessageButtons::YesNo:
        return MessageResult::No;
    default:
        return MessageResult::Cancel;
    }
}

std::optional<QString> ScriptedDialogs::Input(const QString& prompt, const QString& title,
                                              const QString& defaultText) {
    DialogRequest request;
    request.kind = DialogKind::Input;
    request.text = prompt;
    request.title = title;
    request.defaultText = defaultText;
    requests_.push_back(request);
    if (Answer answer; Next(DialogKind::Input, answer)) {
        return answer.text;
    }
    return std::nullopt;
}

QString ScriptedDialogs::File(DialogKind kind, const FileRequest& file) {
    DialogRequest request;
    request.kind = kind;
    request.title = file.title;
    request.file = file;
    requests_.push_back(request);
    if (Answer answer; Next(kind, answer)) {
        return answer.text.value_or(QString());
    }
    return {};
}

QString ScriptedDialogs::OpenFile(const FileRequest& request) {
    return File(DialogKind::OpenFile, request);
}

QString ScriptedDialogs::SaveFile(const FileRequest& request) {
    return File(DialogKind::SaveFile, request);
}

int ScriptedDialogs::PopupMenu(const MenuRequest& menu) {
    DialogRequest request;
    request.kind = DialogKind::PopupMenu;
    request.menu = menu;
    requests_.push_back(request);
    Answer answer;
    if (!Next(DialogKind::PopupMenu, answer) || !answer.text) {
        return -1;
    }
    for (qsizetype i = 0; i < menu.items.size(); ++i) {
        if (menu.items[i] != "-" && menu.items[i] == *answer.text) {
            return static_cast<int>(i);
        }
    }
    Fail("pop-up menu has no item \"" + answer.text->toStdString() +
         "\": " + menu.items.join(", ").toStdString());
    return -1;
}

} // namespace platform
