#include "FormInfo.h"

#include "data/URegistry.h"
#include "errors/UErrors.h"

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
    : QObject(owner), FormName(formName), AutoLoad(autoLoad), m_owner(owner)
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

void TFormInfo::Load()
{
    TRegistry registry;
    if (!registry.OpenKey(Key(), true))
        return;
    QWidget *target = Target();
    const int width = readInteger(registry, QStringLiteral("Width"), target->width());
    const int height = readInteger(registry, QStringLiteral("Height"), target->height());
    const int left = readInteger(registry, QStringLiteral("Left"), target->x());
    const int top = readInteger(registry, QStringLiteral("Top"), target->y());
    target->resize(width, height);
    target->move(left, top);
    const bool normal = !(target->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
    const int state = readInteger(registry, QStringLiteral("WindowState"), normal ? 1 : 0);
    target->setWindowState(state != 0 ? Qt::WindowNoState : Qt::WindowMaximized);
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
    const QRect placement = normal ? target->geometry() : target->normalGeometry();
    registry.WriteString(QStringLiteral("WindowState"), normal ? QStringLiteral("1") : QStringLiteral("0"));
    registry.WriteString(QStringLiteral("Top"), QString::number(target->isWindow() ? target->y() : placement.y()));
    registry.WriteString(QStringLiteral("Left"), QString::number(target->isWindow() ? target->x() : placement.x()));
    registry.WriteString(QStringLiteral("Width"), QString::number(placement.width()));
    registry.WriteString(QStringLiteral("Height"), QString::number(placement.height()));
}
