#pragma once

#include <QString>
#include <exception>
#include <utility>

class QWidget;

// A message box with an OK button, owned by owner; icon is a QMessageBox::Icon value.
void ShowMessage(QWidget* owner, const QString& text, const QString& title, int icon);

// Shows what a failed command's library said, with the stop icon, owned by owner.
void ShowCommandError(QWidget* owner, const QString& description);

// Runs one command of the window or the list. A failure of the HTTP library or the player ends
// the command and is shown; it never crosses the event loop, and the window stays usable.
template <typename F>
void RunCommand(QWidget* owner, F&& command) {
    try {
        std::forward<F>(command)();
    } catch (const std::exception& e) {
        ShowCommandError(owner, QString::fromLocal8Bit(e.what()));
    }
}
