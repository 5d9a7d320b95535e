#pragma once
// Input as a receptionist gives it: mouse clicks and key presses on the widgets a person
// touches, drop-down lists opened and their items clicked. Steps under test use these;
// setting a widget's value directly is for preparing data only. Each says in a warning why a
// step could not be done and returns false: call them inside QVERIFY.

#include <QDate>
#include <QPoint>
#include <QString>
#include <Qt>

class QAction;
class QComboBox;
class QDateTimeEdit;
class QMenu;
class QWidget;

// Shows the field's window when hidden and makes it the active one, so that focus and
// popups behave as on a desk.
[[nodiscard]] bool BringToFront(QWidget *field);
// A left click in the middle of the widget (or at a point of its own).
[[nodiscard]] bool ClickOn(QWidget *widget, QPoint at = QPoint());
// Clicks into a text field (or an editable drop-down), selects what it holds and types the text.
[[nodiscard]] bool TypeInto(QWidget *field, const QString &text);
// Empties a text field by clicking into it, selecting all and pressing Delete.
[[nodiscard]] bool ClearField(QWidget *field);
// Opens the drop-down with a click on its arrow and clicks the item of that text in the list.
[[nodiscard]] bool ChooseFromDropDown(QComboBox *box, const QString &item);
// Clicks into a date field and types the date section by section, as its format shows it.
[[nodiscard]] bool TypeDate(QDateTimeEdit *field, const QDate &day);
// Clicks the button that shows the command (a toolbar's or a window's).
[[nodiscard]] bool ClickCommand(QAction *action);
// A right click on the widget: the press, the release and the context menu it asks for.
[[nodiscard]] bool RightClick(QWidget *widget, QPoint at = QPoint());
// Clicks the item of an open menu.
[[nodiscard]] bool ChooseFromMenu(QMenu *menu, QAction *item);
// Types the text, key by key, into whatever has the focus in the widget's window.
[[nodiscard]] bool TypeKeys(QWidget *anyInWindow, const QString &text);
// The widget that has the keyboard now (nothing when the program has none).
QWidget *FocusedWidget();
// Presses a key (with modifiers) on whatever has the focus in the widget's window.
[[nodiscard]] bool PressKey(QWidget *anyInWindow, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
