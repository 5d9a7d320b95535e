#include "UShortcuts.h"

#include <QAction>
#include <QHash>

namespace Shortcuts {
namespace {

struct TKey {
    QKeySequence Key;
    bool Default = false;  // Enter in its window runs it too
};

// Main window: F2 booking, F3 search box, F5 refresh, F6 the board, F9 check-in.
// Child windows: Ctrl+S saves or adds, Ctrl+P prints, Enter runs the window's default command.
const QHash<QString, TKey> &table()
{
    static const QHash<QString, TKey> keys = {
        {QStringLiteral("actOperReserv"), {QKeySequence(Qt::Key_F2)}},
        {QStringLiteral("acHotelSearch"), {QKeySequence(Qt::Key_F3)}},
        {QStringLiteral("acHotelRefresh"), {QKeySequence(Qt::Key_F5)}},
        {QStringLiteral("acHotelBoard"), {QKeySequence(Qt::Key_F6)}},
        {QStringLiteral("actOperNastaniavane"), {QKeySequence(Qt::Key_F9)}},
        // Every window with pages turns them with these, whatever has the focus.
        {QStringLiteral("acNextPage"), {QKeySequence(Qt::CTRL | Qt::Key_PageDown)}},
        {QStringLiteral("acPreviousPage"), {QKeySequence(Qt::CTRL | Qt::Key_PageUp)}},
        // Registers and settings: save.
        {QStringLiteral("acFNomHotelsSave"), {QKeySequence::Save, true}},
        {QStringLiteral("acFNomStaiSave"), {QKeySequence::Save, true}},
        {QStringLiteral("acFNomTarifiSave"), {QKeySequence::Save, true}},
        {QStringLiteral("acFNomUslugiSave"), {QKeySequence::Save, true}},
        {QStringLiteral("acFNomOperatoriSave"), {QKeySequence::Save, true}},
        {QStringLiteral("acSave"), {QKeySequence::Save, true}},
        {QStringLiteral("tbFNastroikiSave"), {QKeySequence::Save, true}},
        {QStringLiteral("acPochistvaneApply"), {QKeySequence::Save, true}},
        // A reservation adds its guest's row on Enter and saves the booking on Ctrl+S.
        {QStringLiteral("acOperReservationPrepareContragentForReserv"), {QKeySequence(), true}},
        {QStringLiteral("acOperReservationSave"), {QKeySequence::Save}},
        // Lists: Enter does what the list is for.
        {QStringLiteral("acNastaniavaneCheckIn"), {QKeySequence(), true}},
        {QStringLiteral("acTarseneFind"), {QKeySequence(), true}},
        {QStringLiteral("acReportShow"), {QKeySequence(), true}},
        // The folio: check-out and the page's own command (chosen by the folio).
        {QStringLiteral("acFolioCheckOut"), {QKeySequence(Qt::Key_F8)}},
        // Printing.
        {QStringLiteral("acReportPrint"), {QKeySequence::Print}},
        {QStringLiteral("acAdresniKartiPrint"), {QKeySequence::Print}},
    };
    return keys;
}

} // namespace

QString CommandName(const QAction *action)
{
    const QString named = action->property("ActionName").toString();
    return named.isEmpty() ? action->objectName() : named;
}

QKeySequence Of(const QString &command) { return table().value(command).Key; }

bool IsDefault(const QString &command) { return table().value(command).Default; }

QString ToolTip(const QAction *action)
{
    const QString caption = QString(action->text()).remove(QLatin1Char('&')).trimmed();
    const QKeySequence key = Of(CommandName(action));
    return key.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, key.toString(QKeySequence::NativeText));
}

void Apply(QAction *action, bool mainWindow)
{
    const QKeySequence key = Of(CommandName(action));
    if (key.isEmpty())
        return;
    action->setShortcut(key);
    // A child window's key acts where the focus is in it; two windows may use the same key.
    action->setShortcutContext(mainWindow ? Qt::WindowShortcut : Qt::WidgetWithChildrenShortcut);
    action->setToolTip(ToolTip(action));
    // The caption comes from the settings later, in the operator's language: the tooltip follows
    // it. A refused command keeps the refusal its window gave it.
    QObject::connect(action, &QAction::changed, action, [action] {
        const QString tip = ToolTip(action);
        if (action->isEnabled() && action->toolTip() != tip)
            action->setToolTip(tip);
    });
}

} // namespace Shortcuts
