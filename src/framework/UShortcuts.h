#pragma once
// The keys of the daily commands, in one table: what a key does is read here and nowhere
// else. Menus show the keys beside the commands, tooltips name them.

#include <QKeySequence>
#include <QString>

class QAction;
class QWidget;

namespace Shortcuts {

// A command's name: its action's "ActionName" where the button has a name of its own.
QString CommandName(const QAction *action);
// The key of a command by its name; empty when it has none.
QKeySequence Of(const QString &command);
// Whether Enter in the command's window runs it (the window's default action).
bool IsDefault(const QString &command);
// Gives the action its key (for its window and the window's children only, unless it is a
// main window's) and names the key in its tooltip.
void Apply(QAction *action, bool mainWindow = false);
// The caption with its key, as a tooltip shows it: "Съхрани (Ctrl+S)".
QString ToolTip(const QAction *action);

} // namespace Shortcuts
