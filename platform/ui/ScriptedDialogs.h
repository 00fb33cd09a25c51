#pragma once

#include "Dialogs.h"

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// The test stand-in for the Dialogs service. It installs itself while it lives
// (restoring the previous service after), answers every request from its script
// in order and records every request.
//
// A request that meets an empty script, or an answer meant for another kind of
// dialog, is an error: it is recorded in Errors() and reported to the failure
// handler, and the request gets the answer of a dismissed dialog (Cancel, or No
// when there is no Cancel; no text; no file; no menu item). The default handler
// throws UnscriptedDialog. Where a dialog is reached inside Qt's signal dispatch,
// give a handler that reports without throwing, e.g.
//     dialogs.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });

namespace platform {

enum class DialogKind { Message, Input, OpenFile, SaveFile, PopupMenu };

struct DialogRequest {
    DialogKind kind = DialogKind::Message;
    QString text;  // message text, or the input box's prompt
    QString title; // message, input box and file dialog title
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    QString defaultText; // input box
    FileRequest file;    // file dialogs
    MenuRequest menu;    // pop-up menu
};

class UnscriptedDialog : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class ScriptedDialogs final : public Dialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // The script, answered in the order given.
    void AnswerMessage(MessageResult result);
    void AnswerInput(const QString& text);
    void CancelInput();
    // A path for the next open or save dialog; empty cancels it.
    void AnswerFile(const QString& path);
    // Chooses the item with this caption; a caption not in the menu is an error.
    void AnswerMenu(const QString& caption);
    void DismissMenu();

    const std::vector<DialogRequest>& Requests() const { return requests_; }
    const std::vector<std::string>& Errors() const { return errors_; }
    // Answers scripted but not asked for yet.
    std::size_t Unused() const { return script_.size(); }

    void SetFailureHandler(std::function<void(const std::string&)> handler);

    MessageResult Message(const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override;
    std::optional<QString> Input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString OpenFile(const FileRequest& request) override;
    QString SaveFile(const FileRequest& request) override;
    int PopupMenu(const MenuRequest& request) override;

private:
    struct Answer {
        DialogKind kind = DialogKind::Message;
        MessageResult result = MessageResult::Cancel;
        std::optional<QString> text;
    };

    // Takes the next answer when it fits the request just recorded; otherwise reports.
    bool Next(DialogKind kind, Answer& answer);
    void Fail(const std::string& what);
    QString File(DialogKind kind, const FileRequest& request);

    std::deque<Answer> script_;
    std::vector<DialogRequest> requests_;
    std::vector<std::string> errors_;
    std::function<void(const std::string&)> failureHandler_;
    Dialogs* previous_ = nullptr;
};

} // namespace platform
