#include "UScreenProbe.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

namespace {

QString Plain(QString caption)
{
    caption.remove(QLatin1Char('&'));
    const int tab = caption.indexOf(QLatin1Char('\t'));  // a menu item's key
    return tab < 0 ? caption : caption.left(tab);
}

QString Rect(const QWidget *widget, QRect local)
{
    const QPoint at = widget->mapToGlobal(local.topLeft());
    return QStringLiteral("%1 %2 %3 %4").arg(at.x()).arg(at.y()).arg(local.width()).arg(local.height());
}

QString Rect(const QWidget *widget) { return Rect(widget, widget->rect()); }

// Where a person looks first: an open list or menu, a question, the window in front and its
// front child, then every other window.
QList<QWidget *> Roots()
{
    QList<QWidget *> roots;
    for (QWidget *root : {QApplication::activePopupWidget(), QApplication::activeModalWidget()})
        if (root)
            roots << root;
    if (QWidget *front = QApplication::activeWindow()) {
        for (QMdiArea *area : front->findChildren<QMdiArea *>())
            if (QMdiSubWindow *child = area->activeSubWindow())
                roots << child;
        roots << front;
    }
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible() && !roots.contains(window))
            roots << window;
    return roots;
}

bool Shown(const QWidget *widget) { return widget->isVisible() && !widget->visibleRegion().isEmpty(); }

template <typename T, typename Test>
T *FirstShown(Test test)
{
    for (QWidget *root : Roots()) {
        QList<T *> candidates = root->findChildren<T *>();
        if (T *self = qobject_cast<T *>(root))
            candidates.prepend(self);
        for (T *widget : candidates)
            if (Shown(widget) && test(widget))
                return widget;
    }
    return nullptr;
}

QString TextOf(const QWidget *widget)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text();
    if (auto *box = qobject_cast<const QComboBox *>(widget))
        return box->currentText();
    if (auto *date = qobject_cast<const QDateTimeEdit *>(widget))
        return date->text();
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        return Plain(button->text());
    if (auto *text = qobject_cast<const QPlainTextEdit *>(widget))
        return text->toPlainText();
    return widget->windowTitle();
}

// The row of an open list, or the item of an open menu, that reads so.
QString PopupItem(const QString &text)
{
    QWidget *popup = QApplication::activePopupWidget();
    if (!popup)
        return QStringLiteral("none");
    if (auto *menu = qobject_cast<QMenu *>(popup)) {
        for (QAction *action : menu->actions())
            if (action->isVisible() && Plain(action->text()) == text)
                return Rect(menu, menu->actionGeometry(action));
        return QStringLiteral("none");
    }
    QAbstractItemView *view = qobject_cast<QAbstractItemView *>(popup);
    if (!view)
        view = popup->findChild<QAbstractItemView *>();
    if (!view || !view->model())
        return QStringLiteral("none");
    // A drop-down shows one column of its model; its list stands in a frame the box owns.
    auto *box = qobject_cast<QComboBox *>(popup->parentWidget());
    const int column = box ? box->modelColumn() : 0;
    const QModelIndexList found = view->model()->match(view->model()->index(0, column), Qt::DisplayRole, text, 1,
                                                       Qt::MatchFixedString | Qt::MatchWrap);
    if (found.isEmpty())
        return QStringLiteral("none");
    view->scrollTo(found.first());
    return Rect(view->viewport(), view->visualRect(found.first()));
}

QAbstractItemView *View(const QString &name)
{
    return FirstShown<QAbstractItemView>([&](QAbstractItemView *view) { return view->objectName() == name && view->model(); });
}

QString Cell(const QStringList &words)
{
    QAbstractItemView *view = View(words.value(1));
    if (!view)
        return QStringLiteral("none");
    const QModelIndex index = view->model()->index(words.value(2).toInt(), words.value(3).toInt());
    if (!index.isValid())
        return QStringLiteral("none");
    view->scrollTo(index);
    return Rect(view->viewport(), view->visualRect(index));
}

QString Command(const QString &name)
{
    // The button a toolbar shows for the command.
    QWidget *shown = nullptr;
    FirstShown<QToolBar>([&](QToolBar *bar) {
        for (QAction *action : bar->actions())
            if (action->objectName() == name)
                if (QWidget *button = bar->widgetForAction(action); button && Shown(button))
                    shown = button;
        return shown != nullptr;
    });
    return shown ? Rect(shown) : QStringLiteral("none");
}

} // namespace

QString TScreenProbe::Answer(const QString &request)
{
    const QStringList words = request.split(QLatin1Char(' '));
    const QString verb = words.value(0), rest = request.section(QLatin1Char(' '), 1);
    const auto named = [&](QWidget *widget) { return widget->objectName() == rest; };
    if (verb == QLatin1String("find")) {
        QWidget *widget = FirstShown<QWidget>(named);
        return widget ? Rect(widget) : QStringLiteral("none");
    }
    if (verb == QLatin1String("text")) {
        QWidget *widget = FirstShown<QWidget>(named);
        return widget ? TextOf(widget).replace(QLatin1Char('\n'), QLatin1Char(' ')) : QStringLiteral("none");
    }
    if (verb == QLatin1String("item"))
        return PopupItem(rest);
    if (verb == QLatin1String("command"))
        return Command(rest);
    if (verb == QLatin1String("tab")) {
        QTabWidget *pages = FirstShown<QTabWidget>([&](QTabWidget *w) { return w->objectName() == words.value(1); });
        const int page = words.value(2).toInt();
        return pages && page < pages->count() ? Rect(pages->tabBar(), pages->tabBar()->tabRect(page)) : QStringLiteral("none");
    }
    if (verb == QLatin1String("shot")) {
        QScreen *screen = QGuiApplication::primaryScreen();
        return screen && screen->grabWindow(0).save(rest) ? QStringLiteral("saved") : QStringLiteral("none");
    }
    if (verb == QLatin1String("cell"))
        return Cell(words);
    if (verb == QLatin1String("findrow")) {  // findrow VIEW TEXT: the first row showing TEXT in a cell
        QAbstractItemView *view = View(words.value(1));
        const QString text = request.section(QLatin1Char(' '), 2);
        if (!view)
            return QStringLiteral("none");
        for (int row = 0; row < view->model()->rowCount(); ++row)
            for (int column = 0; column < view->model()->columnCount(); ++column)
                if (view->model()->index(row, column).data().toString() == text)
                    return QString::number(row);
        return QStringLiteral("none");
    }
    if (verb == QLatin1String("rows")) {
        QAbstractItemView *view = View(rest);
        return view ? QString::number(view->model()->rowCount()) : QStringLiteral("none");
    }
    if (verb == QLatin1String("focus")) {
        QWidget *focus = QApplication::focusWidget();
        return !focus ? QStringLiteral("none") : !focus->objectName().isEmpty() ? focus->objectName() : QString::fromLatin1(focus->metaObject()->className());
    }
    if (verb == QLatin1String("box")) {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        return box ? box->text().replace(QLatin1Char('\n'), QLatin1Char(' ')) : QStringLiteral("none");
    }
    if (verb == QLatin1String("accept")) {  // a question's Yes, else its OK
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        for (QMessageBox::StandardButton kind : {QMessageBox::Yes, QMessageBox::Ok})
            if (QAbstractButton *button = box ? box->button(kind) : nullptr)
                return Rect(button);
        return QStringLiteral("none");
    }
    if (verb == QLatin1String("window")) {  // what has the keys: a question, else the front child window
        QWidget *front = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
        for (QMdiArea *area : front && front == QApplication::activeWindow() ? front->findChildren<QMdiArea *>() : QList<QMdiArea *>())
            if (area->activeSubWindow() && area->activeSubWindow()->widget())
                front = area->activeSubWindow()->widget();
        return front ? front->objectName() : QStringLiteral("none");
    }
    return QStringLiteral("? ") + request;
}

void TScreenProbe::StartIfAsked(QObject *application)
{
    const QString socket = qEnvironmentVariable("KALV_PROBE");
    if (!socket.isEmpty())
        new TScreenProbe(socket, application);
}

TScreenProbe::TScreenProbe(const QString &socket, QObject *parent) : QObject(parent), m_server(new QLocalServer(this))
{
    QLocalServer::removeServer(socket);
    if (!m_server->listen(socket))
        qWarning("screen probe: cannot listen on %s", qPrintable(socket));
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server->nextPendingConnection())
            Serve(client);
    });
}

void TScreenProbe::Serve(QLocalSocket *client)
{
    client->setParent(this);
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    connect(client, &QLocalSocket::readyRead, client, [client] {
        while (client->canReadLine()) {
            const QString request = QString::fromUtf8(client->readLine()).trimmed();
            client->write(Answer(request).toUtf8() + '\n');
        }
        client->flush();
    });
}
