#pragma once

#include <QString>
#include <functional>

// The program's message boxes. errorBox beeps and shows "Error" with an OK button, infoBox shows
// "Information", askYesNoCancel asks a question in which only Yes goes on.

enum class MessageKind
{
    Error,
    Information,
    Question
};

void errorBox(const QString &text);
void infoBox(const QString &text);
bool askYesNoCancel(const QString &text);

// Tests install a hook that records each box and answers it instead of showing a window; for a
// question the hook's answer (true = Yes) is returned. An empty hook shows real boxes again.
using MessageHook = std::function<bool(MessageKind kind, const QString &text)>;
void setMessageHook(MessageHook hook);
