#pragma once

#include <QString>
#include <functional>

class QWidget;

// The help of every program: its topic page of the help file "Veritope.chm".
// Here the help file is read as its extracted pages: the folder "Veritope" in the
// program's folder, holding the pages as "html/<page>". Without it, asking for
// help shows nothing and reports nothing.

namespace platform {

// Opens "html/<topicPage>" of the help file in the desktop's viewer. A page may
// carry an anchor ("life.htm#rules").
void ShowHelp(const QString& topicPage);

// Makes F1 anywhere in the window call ShowHelp(topicPage); each dialog window
// binds its own.
void BindHelpKey(QWidget* window, const QString& topicPage);

// The file of the page under an extracted help folder, or empty when missing.
QString HelpPagePath(const QString& helpFolder, const QString& topicPage);

// Test hook: while set, ShowHelp hands the page to it instead; null restores.
void SetHelpHandler(std::function<void(const QString& topicPage)> handler);

} // namespace platform
