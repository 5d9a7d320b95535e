#include "KalvMenu.h"

#include <QAbstractItemView>
#include <QApplication>
#include "framework/UShortcuts.h"

#include <QAction>

#include <QEvent>
#include <QFrame>
#include <QMainWindow>
#include <QToolButton>
#include <QVBoxLayout>

TKalvMenuControl::TKalvMenuControl(QMainWindow *owner) : QToolBar(owner), m_owner(owner), m_coolBar(new QFrame)
{
    setWindowTitle(QString());
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_coolBar->setObjectName(QStringLiteral("KalvMenuBand"));
    m_coolBar->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    m_coolBar->setStyleSheet(QStringLiteral(
        "#KalvMenuBand { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7f9fc, stop:1 #dde3ec); }"));
    auto *layout = new QVBoxLayout(m_coolBar);
    layout->setContentsMargins(2, 1, 2, 0);
    layout->setSpacing(0);
    // A toolbar hidden under the window's contents may never paint, so showing the window embeds it too.
    owner->installEventFilter(this);
    m_constructed = true;
}

bool TKalvMenuControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner && event->type() == QEvent::Show && !m_embedded)
        Embed();
    return QToolBar::eventFilter(watched, event);
}

TKalvMenuControl::~TKalvMenuControl()
{
    // Before embedding the band has no owner; after it the window owns it, and it may be the
    // one deleting this toolbar right now, so it only goes later.
    if (!m_embedded)
        delete m_coolBar.data();
    else if (m_coolBar)
        m_coolBar->deleteLater();
}

QAction *TKalvMenuControl::AddCommand(QAction *action)
{
    addAction(action);
    Shortcuts::Apply(action);
    if (!action->shortcut().isEmpty())
        m_owner->addAction(action);  // its key works wherever the focus is in the window
    if (Shortcuts::IsDefault(Shortcuts::CommandName(action)))
        m_default = action;
    if (!m_enter) {
        m_enter = new QAction(this);
        m_enter->setObjectName(QStringLiteral("acDefaultCommand"));
        m_enter->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
        m_enter->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(m_enter, &QAction::triggered, this, &TKalvMenuControl::RunDefaultCommand);
        m_owner->addAction(m_enter);
    }
    if (auto *button = qobject_cast<QToolButton *>(widgetForAction(action))) {
        button->setMinimumSize(101, 23);
        button->setMaximumHeight(23);
    }
    return action;
}

QAction *TKalvMenuControl::AddCommand(const QString &name, const QString &caption, std::function<void()> handler)
{
    auto *action = new QAction(caption, m_owner);
    action->setObjectName(name);
    action->setProperty("ActionName", name);
    connect(action, &QAction::triggered, m_owner, std::move(handler));
    return AddCommand(action);
}

void TKalvMenuControl::SetDefaultCommand(std::function<QAction *()> choose) { m_chooseDefault = std::move(choose); }

QAction *TKalvMenuControl::DefaultCommand() const { return m_chooseDefault ? m_chooseDefault() : m_default; }

void TKalvMenuControl::RunDefaultCommand()
{
    // A cell being edited in a list: Enter ends the edit (the cell keeps what was typed when its
    // editor gives the focus back to the list), as in any list.
    if (QWidget *focus = QApplication::focusWidget(); focus && focus->parentWidget())
        if (auto *view = qobject_cast<QAbstractItemView *>(focus->parentWidget()->parentWidget());
            view && view->viewport() == focus->parentWidget()) {
            view->setFocus(Qt::OtherFocusReason);
            return;
        }
    // An open list or a multi-line field takes its own Enter before this key is seen.
    if (QAction *command = DefaultCommand(); command && command->isEnabled() && command->isVisible())
        command->trigger();
}

void TKalvMenuControl::Embed()
{
    if (!m_constructed || m_embedded || !m_owner)
        return;
    m_embedded = true;
    m_coolBar->setMinimumHeight(sizeHint().height() + 1);
    m_coolBar->layout()->addWidget(this);
    // The menu widget of a child window is the band across its top, whatever its width.
    m_owner->setMenuWidget(m_coolBar);
    // Embedded while its window is already showing, the band is a new child and shows only when told.
    m_coolBar->show();
    show();
}

void TKalvMenuControl::paintEvent(QPaintEvent *event)
{
    QToolBar::paintEvent(event);
    if (m_constructed && !m_embedded)
        QMetaObject::invokeMethod(this, &TKalvMenuControl::Embed, Qt::QueuedConnection);
}

void TKalvMenuControl::showEvent(QShowEvent *event)
{
    QToolBar::showEvent(event);
    if (m_embedded && m_owner)
        m_coolBar->resize(m_owner->width(), m_coolBar->height());
}
