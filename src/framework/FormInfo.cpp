#include "FormInfo.h"

#include "data/URegistry.h"
#include "errors/UErrors.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace {

int readInteger(const TRegistry &registry, const QString &name, int fallback)
{
    try {
        bool ok = false;
        const int value = registry.ReadString(name).trimmed().toInt(&ok);
        return ok ? value : fallback;
    } catch (const Exception &) {
        return fallback;
    }
}

} // namespace

TFormInfo::TFormInfo(QWidget *owner, const QString &formName, bool autoLoad)
    : QObject(owner), FormName(formName), AutoLoad(autoLoad), m_owner(owner), m_designed(owner->size())
{
    setObjectName(QStringLiteral("fi") + formName);
    if (AutoLoad)
        Load();
}

// A child window is placed through the frame that holds it.
QWidget *TFormInfo::Target() const
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(m_owner->parentWidget()))
        return frame;
    return m_owner;
}

QString TFormInfo::Key() const
{
    const QString name = FormName.isEmpty() ? m_owner->objectName() : FormName;
    return QStringLiteral("\\Software\\Oxtarne\\DlgPossions\\") + name;
}

// A maximised or minimised window reports its maximised size; the size to keep is the one it
// had before, which a frame of the multiple-document area does not tell. It is followed here.
void TFormInfo::Follow(QWidget *target)
{
    if (m_followed == target)
        return;
    if (m_followed)
        m_followed->removeEventFilter(this);
    m_followed = target;
    m_normal = target->geometry();
    target->installEventFilter(this);
}

bool TFormInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_followed && (event->type() == QEvent::Resize || event->type() == QEvent::Move) &&
        !(m_followed->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) && m_followed->isVisible())
        m_normal = m_followed->geometry();
    return QObject::eventFilter(watched, event);
}

void TFormInfo::Load()
{
    TRegistry registry;
    if (!registry.OpenKey(Key(), true))
        return;
    QWidget *target = Target();
    auto *frame = qobject_cast<QMdiSubWindow *>(target);
    if (frame && !registry.ValueExists(QStringLiteral("WindowState"))) {
        // First opening: the frame holds the window at its designed size, as far as the area allows.
        const QRect place = FittedToArea(frame, QRect(frame->pos(), DesignedSize().grownBy(frame->contentsMargins())));
        frame->setGeometry(place);
        Follow(frame);
        return;
    }
    QRect place(readInteger(registry, QStringLiteral("Left"), target->x()),
                readInteger(registry, QStringLiteral("Top"), target->y()),
                readInteger(registry, QStringLiteral("Width"), target->width()),
                readInteger(registry, QStringLiteral("Height"), target->height()));
    if (frame)
        place = FittedToArea(frame, place);  // left on a larger screen, it still shows whole
    const int width = place.width(), height = place.height(), left = place.x(), top = place.y();
    if (frame && frame->isMaximized())
        frame->showNormal();
    target->resize(width, height);
    target->move(left, top);
    Follow(target);
    m_normal = QRect(left, top, width, height);
    const bool normal = !(target->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
    const int state = readInteger(registry, QStringLiteral("WindowState"), normal ? 1 : 0);
    m_maximiseWhenShown = false;
    if (state != 0)
        target->setWindowState(Qt::WindowNoState);
    else if (frame && !frame->isVisible())
        m_maximiseWhenShown = true;
    else if (frame)
        frame->showMaximized();  // it restores to the size just set
    else
        target->setWindowState(Qt::WindowMaximized);
}

void TFormInfo::ShowStoredState()
{
    auto *frame = qobject_cast<QMdiSubWindow *>(Target());
    if (frame && m_maximiseWhenShown && frame->isVisible()) {
        m_maximiseWhenShown = false;
        frame->showMaximized();
    }
}

QSize TFormInfo::DesignedSize() const { return m_designed.expandedTo(m_owner->minimumSizeHint()); }

QRect TFormInfo::FittedToArea(const QMdiSubWindow *frame, const QRect &place)
{
    if (!frame->mdiArea())
        return place;
    const QSize area = frame->mdiArea()->viewport()->size();
    const QSize size = place.size().boundedTo(area).expandedTo(frame->minimumSizeHint().boundedTo(area));
    const int left = qBound(0, place.x(), qMax(0, area.width() - size.width()));
    const int top = qBound(0, place.y(), qMax(0, area.height() - size.height()));
    return QRect(QPoint(left, top), size);
}

bool TFormInfo::HasStoredPlacement() const
{
    TRegistry registry;
    return registry.OpenKey(Key(), false) && registry.ValueExists(QStringLiteral("WindowState"));
}

void TFormInfo::Save()
{
    TRegistry registry;
    if (!registry.OpenKey(Key(), true))
        return;
    QWidget *target = Target();
    const bool normal = !(target->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
    // A top-level window is placed by its frame's corner, as move() takes it, and sized by its inside.
    QRect placement = target->isWindow() ? QRect(target->pos(), target->size()) : target->geometry();
    if (!normal)
        placement = m_followed == target && m_normal.isValid() ? m_normal : target->normalGeometry();
    if (!placement.isValid())
        placement = target->geometry();
    registry.BeginUpdate();
    registry.WriteString(QStringLiteral("WindowState"), normal ? QStringLiteral("1") : QStringLiteral("0"));
    registry.WriteString(QStringLiteral("Top"), QString::number(placement.y()));
    registry.WriteString(QStringLiteral("Left"), QString::number(placement.x()));
    registry.WriteString(QStringLiteral("Width"), QString::number(placement.width()));
    registry.WriteString(QStringLiteral("Height"), QString::number(placement.height()));
    registry.EndUpdate();
}
