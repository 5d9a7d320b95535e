#include "UserInput.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QContextMenuEvent>
#include <QRadioButton>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

namespace {

// Says why a step could not be done; the caller's QVERIFY fails the test.
bool fail(const QString &what)
{
    qWarning().noquote() << "input failed:" << what;
    return false;
}

// A drop-down's list ignores a release sooner than the double-click interval after it opened.
void pauseBetweenClicks()
{
    QTest::qWait(QApplication::doubleClickInterval() + 30);
}

QWidget *textTarget(QWidget *field)
{
    if (auto *box = qobject_cast<QComboBox *>(field))
        return box->isEditable() ? box->lineEdit() : field;
    return field;
}

// Key by key, any letters: each a press and a release carrying its text, as a keyboard layout
// of that language sends them.
void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text) {
        const Qt::Key key = c.unicode() < 128 ? Qt::Key(QChar(c).toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, target, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, target, key, QString(c), Qt::NoModifier);
    }
}

// Clicks the tabs of the pages the widget sits on, outermost first, as a person would to get to it.
void revealPages(QWidget *widget)
{
    QList<QPair<QTabWidget *, QWidget *>> pages;
    for (QWidget *child = widget; child && !child->isWindow(); child = child->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(child->parentWidget() ? child->parentWidget()->parentWidget()
                                                                           : nullptr);
            tabs && tabs->indexOf(child) >= 0)
            pages.prepend({tabs, child});
    for (const auto &[tabs, page] : pages)
        if (tabs->currentWidget() != page) {
            QTabBar *bar = tabs->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(tabs->indexOf(page)).center());
        }
}

} // namespace

bool BringToFront(QWidget *field)
{
    QWidget *window = field->window();
    if (!window->isVisible()) {
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            return fail(QStringLiteral("the window of %1 was not shown").arg(field->objectName()));
        QTest::qWait(20);  // layouts settle as after a real first paint
    }
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        window->raise();
        if (!QTest::qWaitForWindowActive(window))
            return fail(QStringLiteral("the window of %1 did not become active").arg(field->objectName()));
    }
    return true;
}

bool ClickOn(QWidget *widget, QPoint at)
{
    if (!BringToFront(widget))
        return false;
    revealPages(widget);
    if (!widget->isVisible())
        return fail(QStringLiteral("%1 is hidden: nobody can click it").arg(widget->objectName()));
    if (!widget->isEnabled())
        return fail(QStringLiteral("%1 is disabled: a click would do nothing").arg(widget->objectName()));
    QPoint point = at.isNull() ? widget->rect().center() : at;
    // A wide check box or radio button answers only over its mark and caption: aim at the mark.
    if (at.isNull() && (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget)))
        point = QPoint(qMin(8, widget->width() / 2), widget->height() / 2);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, point);
    return true;
}

bool TypeInto(QWidget *field, const QString &text)
{
    QWidget *target = textTarget(field);
    if (!ClickOn(target))
        return false;
    if (!field->hasFocus() && !target->hasFocus())
        return fail(QStringLiteral("a click did not give %1 the focus").arg(field->objectName()));
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(target, Qt::Key_Delete);
    else
        typeText(target, text);
    return true;
}

bool ClearField(QWidget *field)
{
    return TypeInto(field, QString());
}

bool ChooseFromDropDown(QComboBox *box, const QString &item)
{
    if (!BringToFront(box))
        return false;
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    const QRect arrow = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, box);
    if (!ClickOn(box, arrow.isValid() ? arrow.center() : box->rect().center()))
        return false;
    QAbstractItemView *list = box->view();
    if (!QTest::qWaitFor([list] { return list->isVisible(); }))
        return fail(QStringLiteral("the list of %1 did not open").arg(box->objectName()));
    pauseBetweenClicks();
    const int row = box->findText(item);
    if (row < 0)
        return fail(QStringLiteral("%1 does not offer '%2'").arg(box->objectName(), item));
    const QModelIndex index = list->model()->index(row, box->modelColumn());
    // A list that is still settling when the click comes keeps open; a person clicks again.
    bool closed = false;
    for (int attempt = 0; attempt < 3 && !closed; ++attempt) {
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(index).center());
        closed = QTest::qWaitFor([list] { return !list->isVisible(); }, 1500);
    }
    if (!closed)
        return fail(QStringLiteral("the list of %1 did not close").arg(box->objectName()));
    if (box->currentText() != item)
        return fail(
            QStringLiteral("%1 shows '%2' after '%3' was clicked").arg(box->objectName(), box->currentText(), item));
    return true;
}

bool TypeDate(QDateTimeEdit *field, const QDate &day)
{
    // A click on the first section selects it; the digits of each section follow in the order the
    // field shows them, each full section moving on to the next. A day the month in between could
    // not hold (the 29th, on the way to February) is put right by typing the date once more.
    QString digits;
    for (const QChar c : field->displayFormat())
        if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y'))
            digits += c;
    digits.replace(QRegularExpression(QStringLiteral("d+")), day.toString(QStringLiteral("dd")))
        .replace(QRegularExpression(QStringLiteral("M+")), day.toString(QStringLiteral("MM")))
        .replace(QRegularExpression(QStringLiteral("yyyy|yy")), day.toString(QStringLiteral("yyyy")));
    for (int attempt = 0; attempt < 2 && field->date() != day; ++attempt) {
        if (!ClickOn(field))
            return false;
        // Home, then the first section selected as Shift+Right does it: typing replaces it.
        QTest::keyClick(field, Qt::Key_Home);
        for (int i = 0; i < field->sectionText(field->sectionAt(0)).size(); ++i)
            QTest::keyClick(field, Qt::Key_Right, Qt::ShiftModifier);
        typeText(field, digits);
        QTest::keyClick(field, Qt::Key_Tab);
    }
    if (field->date() != day)
        return fail(QStringLiteral("%1 shows %2 after %3 was typed")
                        .arg(field->objectName(), field->date().toString(Qt::ISODate), day.toString(Qt::ISODate)));
    return true;
}

bool ClickCommand(QAction *action)
{
    if (auto *owner = qobject_cast<QWidget *>(action->parent()); owner && !BringToFront(owner))
        return false;  // a window's toolbar takes its place when the window shows
    const QList<QObject *> shownIn = action->associatedObjects();
    for (QObject *object : shownIn) {
        QWidget *button = nullptr;
        if (auto *bar = qobject_cast<QToolBar *>(object))
            button = bar->widgetForAction(action);
        else if (qobject_cast<QAbstractButton *>(object))
            button = static_cast<QWidget *>(object);
        if (button && button->isVisibleTo(button->window()))
            return ClickOn(button);
    }
    return fail(QStringLiteral("no button shows the command %1").arg(action->objectName()));
}

bool RightClick(QWidget *widget, QPoint at)
{
    if (!BringToFront(widget))
        return false;
    const QPoint point = at.isNull() ? widget->rect().center() : at;
    QTest::mousePress(widget, Qt::RightButton, Qt::NoModifier, point);
    QTest::mouseRelease(widget, Qt::RightButton, Qt::NoModifier, point);
    // What the window system sends after a right click.
    QContextMenuEvent menu(QContextMenuEvent::Mouse, point, widget->mapToGlobal(point));
    QApplication::sendEvent(widget, &menu);
    return true;
}

bool ChooseFromMenu(QMenu *menu, QAction *item)
{
    if (!QTest::qWaitFor([menu] { return menu->isVisible(); }))
        return fail(QStringLiteral("the menu %1 did not open").arg(menu->objectName()));
    if (!item->isVisible() || !item->isEnabled())
        return fail(QStringLiteral("%1 is not offered in the menu").arg(item->objectName()));
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
    if (!QTest::qWaitFor([menu] { return !menu->isVisible(); }))
        return fail(QStringLiteral("the menu %1 stayed open").arg(menu->objectName()));
    return true;
}

QWidget *FocusedWidget() { return QApplication::focusWidget(); }

// Where a key goes: the focused widget of the window, else the window itself.
static QWidget *keyTarget(QWidget *anyInWindow)
{
    QWidget *target = QApplication::focusWidget();
    return target && target->window() == anyInWindow->window() ? target : anyInWindow->window();
}

bool PressKey(QWidget *anyInWindow, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (!BringToFront(anyInWindow))
        return false;
    QTest::keyClick(keyTarget(anyInWindow), key, modifiers);
    QApplication::processEvents();
    return true;
}

bool TypeKeys(QWidget *anyInWindow, const QString &text)
{
    if (!BringToFront(anyInWindow))
        return false;
    QWidget *target = keyTarget(anyInWindow);
    if (target == anyInWindow->window())
        return fail(QStringLiteral("nothing in %1 has the focus to type '%2' into").arg(anyInWindow->objectName(), text));
    typeText(target, text);
    return true;
}
