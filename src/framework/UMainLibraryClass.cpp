#include "UMainLibraryClass.h"

#include "UStdCtrls.h"
#include "UStrNumCtrl.h"
#include "UFormatSettings.h"
#include "UWideIniFile.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "errors/UErrors.h"
#include "startup/USystemWinOS.h"
#include "errors/UExceptionLogs.h"
#include "startup/UConstMessagesHotel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFileInfo>
#include <memory>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QPointer>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <limits>

namespace {

const QString kSection = QStringLiteral("LANG");

// A radio group is no plain group box: it has items of its own.
QGroupBox *asGroupBox(QObject *o)
{
    auto *box = qobject_cast<QGroupBox *>(o);
    return box && !qobject_cast<TRadioGroup *>(o) ? box : nullptr;
}

QString actionName(const QAction *action)
{
    if (!action->objectName().isEmpty() || !action->menu())
        return action->objectName();
    return action->menu()->objectName();
}

void setColour(QWidget *control, const QColor &colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, colour);
    if (qobject_cast<QComboBox *>(control))
        palette.setColor(QPalette::Button, colour);
    control->setPalette(palette);
}

void resetColour(QWidget *control)
{
    setColour(control, QApplication::palette(control).color(QPalette::Base));
}

bool passesRule(const TStrNumCtrl &check, quint8 rule, const QString &text)
{
    switch (rule) {
    case 0:
    case 5:
        return false;
    case 1:
        return check.IsDigitsText(text);
    case 2: {
        if (!check.IsNumberText(text))
            return false;
        double value = 0;
        if (!TryStrToFloat(text, value))
            return false;
        const double magnitude = std::fabs(value);
        return magnitude >= std::numeric_limits<double>::denorm_min() && magnitude <= 1.7e308;
    }
    case 4:
        return text.size() == 1;
    case 6:
        return check.IsDateText(text);
    case 7:
        return check.IsDateTimeText(text);
    case 8:
        return check.IsTimeText(text);
    default:  // 3 and 9 to 255: only the empty-text test applies
        return true;
    }
}

// Direct child controls as the layout sees them: a tab widget's children are its sheets.
QList<QWidget *> childControls(QWidget *container)
{
    QList<QWidget *> result;
    if (auto *tabs = qobject_cast<QTabWidget *>(container)) {
        for (int i = 0; i < tabs->count(); ++i)
            result.append(tabs->widget(i));
        return result;
    }
    if (auto *window = qobject_cast<QMainWindow *>(container); window && window->centralWidget())
        result.append(window->centralWidget());
    for (QObject *child : container->children())
        if (auto *w = qobject_cast<QWidget *>(child); w && !result.contains(w))
            result.append(w);
    return result;
}

} // namespace

TKalvCLientInfo &KalvCLientInfo()
{
    static TKalvCLientInfo info;
    return info;
}

TKalvApplicationCtrl &KalvApplicationCtrl()
{
    static TKalvApplicationCtrl ctrl;
    return ctrl;
}

TMainLibraryClass::TMainLibraryClass(QWidget *parent) : QMainWindow(parent) {}

TMainLibraryClass::~TMainLibraryClass()
{
    if (m_modalLoop)
        m_modalLoop->quit();
}

bool TMainLibraryClass::InitializeWindow() { return true; }

const QString &TMainLibraryClass::UnknownCaption()
{
    static const QString caption = QStringLiteral("Unknow control name");
    return caption;
}

QString TMainLibraryClass::ErrorReportText(const QString &className, const QString &functionName,
                                           const QString &message)
{
    return QStringLiteral("Class name: ") + className + QStringLiteral("\r\nFunction name: ") + functionName +
           QStringLiteral("\r\nDescription Error: ") + message;
}

void TMainLibraryClass::ReportError(const Exception &error)
{
    TExceptionLogs::Show(ErrorReportText(QString(), QString(), error.Message()));
}

void TMainLibraryClass::MarkControlFailed(QWidget *control)
{
    if (control)
        setColour(control, Qt::red);
}

void TMainLibraryClass::ResetControlMark(QWidget *control)
{
    if (control)
        resetColour(control);
}

QWidget *TMainLibraryClass::CheckControl(QWidget *control, quint8 rule)
{
    const TStrNumCtrl check;
    try {
        auto *edit = qobject_cast<QLineEdit *>(control);
        auto *combo = qobject_cast<QComboBox *>(control);
        if (!edit && !combo) {
            if (control)
                setColour(control, Qt::red);
            return control;
        }
        resetColour(control);
        QString text = edit ? edit->text() : combo->currentText();
        if (!text.isEmpty() && edit && rule == 2) {
            const int comma = int(text.indexOf(QLatin1Char(',')));
            if (comma >= 0) {
                text[comma] = QLatin1Char('.');
                edit->setText(text);
            }
        }
        // A combo box keeps its comma, so its decimal text fails rule 2.
        if (text.isEmpty() || !passesRule(check, rule, text)) {
            setColour(control, Qt::red);
            return control;
        }
        return nullptr;
    } catch (const Exception &error) {
        TExceptionLogs::Show(ErrorReportText(error.ClassName(), QString(), error.Message()));
        return nullptr;
    }
}

QString TMainLibraryClass::SettingsCaption(const QString &key)
{
    return OpenSettings().ReadString(kSection, key, QString());
}

const TWideMemIniFile &TMainLibraryClass::OpenSettings()
{
    // Every window loads its captions several times over: the file is read again only when it
    // changed, here or elsewhere.
    static std::unique_ptr<TWideMemIniFile> cached;
    static QDateTime modified;
    static qint64 size = -1;
    static int writes = -1;
    const QFileInfo file(DataFolder + QStringLiteral("Settings.ini"));
    if (!cached || cached->FileName() != file.filePath() || file.lastModified() != modified || file.size() != size ||
        TWideMemIniFile::WriteCount() != writes) {
        cached = std::make_unique<TWideMemIniFile>(file.filePath());
        modified = file.lastModified();
        size = file.size();
        writes = TWideMemIniFile::WriteCount();
    }
    return *cached;
}

QString TMainLibraryClass::CaptionKeyOf(const QObject *component)
{
    const QString name = component->objectName();
    // A window keeps its caption whether it stands alone or in a frame of the main window.
    if (component->isWidgetType() &&
        (static_cast<const QWidget *>(component)->isWindow() || qobject_cast<const TMainLibraryClass *>(component))) {
        const int underscore = int(name.indexOf(QLatin1Char('_')));
        return underscore >= 0 ? name.left(underscore) : name;
    }
    return name;
}

void TMainLibraryClass::ApplyRadioGroup(TRadioGroup *group, const TWideMemIniFile &ini)
{
    group->setTitle(ini.ReadString(kSection, group->objectName(), UnknownCaption()));
    for (int i = 0; i < group->ItemCount(); ++i)
        group->SetItemText(i, ini.ReadString(kSection, group->objectName() + QString::number(i), UnknownCaption()));
}

// The kinds that carry a caption, tested in their fixed order; false for any other kind.
bool TMainLibraryClass::ApplyKindCaption(QObject *component, const TWideMemIniFile &ini)
{
    const QString caption = ini.ReadString(kSection, component->objectName(), UnknownCaption());
    if (auto *box = asGroupBox(component))
        box->setTitle(caption);
    else if (auto *label = qobject_cast<QLabel *>(component))
        label->setText(caption);
    else if (auto *speed = qobject_cast<QToolButton *>(component))
        speed->setText(caption);
    else if (auto *check = qobject_cast<QCheckBox *>(component))
        check->setText(caption);
    else if (auto *group = qobject_cast<TRadioGroup *>(component))
        ApplyRadioGroup(group, ini);
    else if (auto *sheet = qobject_cast<TTabSheet *>(component))
        sheet->SetCaption(caption);
    else
        return false;
    return true;
}

bool TMainLibraryClass::LoadFormCaption(QWidget *window)
{
    const TWideMemIniFile &ini = OpenSettings();
    window->setWindowTitle(ini.ReadString(kSection, CaptionKeyOf(window), UnknownCaption()));
    return true;
}

bool TMainLibraryClass::LoadContainerCaptions(QWidget *container)
{
    const TWideMemIniFile &ini = OpenSettings();
    if (auto *box = asGroupBox(container))
        box->setTitle(ini.ReadString(kSection, box->objectName(), UnknownCaption()));
    for (QWidget *child : childControls(container))
        ApplyKindCaption(child, ini);
    return true;
}

bool TMainLibraryClass::LoadComponentCaptions(QObject *component)
{
    const TWideMemIniFile &ini = OpenSettings();
    if (qobject_cast<QLabel *>(component))
        ApplyKindCaption(component, ini);
    // A window owns every control on it; any other component owns its direct children.
    auto *window = qobject_cast<QWidget *>(component);
    const QList<QObject *> owned = window && window->isWindow()
                                       ? component->findChildren<QObject *>(Qt::FindChildrenRecursively)
                                       : component->children();
    for (QObject *child : owned)
        if (!(child->isWidgetType() && static_cast<QWidget *>(child)->isWindow()))
            ApplyKindCaption(child, ini);
    return true;
}

bool TMainLibraryClass::LoadRadioGroupCaptions(TRadioGroup *group)
{
    ApplyRadioGroup(group, OpenSettings());
    return true;
}

bool TMainLibraryClass::LoadTabSheetCaption(TTabSheet *sheet)
{
    const TWideMemIniFile &ini = OpenSettings();
    sheet->SetCaption(ini.ReadString(kSection, sheet->objectName(), UnknownCaption()));
    return true;
}

bool TMainLibraryClass::LoadMainMenuCaptions(QMenuBar *menu)
{
    const TWideMemIniFile &ini = OpenSettings();
    for (QAction *top : menu->actions()) {
        if (top->isSeparator())
            continue;
        top->setText(ini.ReadString(kSection, actionName(top), UnknownCaption()));
        if (!top->menu())
            continue;
        for (QAction *item : top->menu()->actions())
            if (!item->isSeparator())
                item->setText(ini.ReadString(kSection, actionName(item), UnknownCaption()));
        AssignMnemonics(top->menu()->actions());
    }
    AssignMnemonics(menu->actions());
    return true;
}

void TMainLibraryClass::AssignMnemonics(const QList<QAction *> &actions)
{
    // Whatever the language of the captions: each gets a letter of its own among its
    // neighbours, a word's first letter where one is free. A caption that names its own keeps it.
    QSet<QChar> taken;
    for (const QAction *action : actions) {
        const int at = action->text().indexOf(QLatin1Char('&'));
        if (at >= 0 && at + 1 < action->text().size())
            taken.insert(action->text().at(at + 1).toLower());
    }
    for (QAction *action : actions) {
        const QString text = action->text();
        if (action->isSeparator() || text.contains(QLatin1Char('&')) || text.trimmed().isEmpty())
            continue;
        int chosen = -1;
        for (int pass = 0; pass < 2 && chosen < 0; ++pass)
            for (int i = 0; i < text.size() && chosen < 0; ++i) {
                const bool wordStart = i == 0 || !text.at(i - 1).isLetterOrNumber();
                if (text.at(i).isLetter() && (pass == 1 || wordStart) && !taken.contains(text.at(i).toLower()))
                    chosen = i;
            }
        if (chosen < 0)
            continue;
        taken.insert(text.at(chosen).toLower());
        action->setText(text.left(chosen) + QLatin1Char('&') + text.mid(chosen));
    }
}

bool TMainLibraryClass::LoadToolbarCaptions(QToolBar *toolbar)
{
    const TWideMemIniFile &ini = OpenSettings();
    for (QAction *button : toolbar->actions()) {
        if (!button->isSeparator())
            button->setText(ini.ReadString(kSection, actionName(button), UnknownCaption()));
    }
    return true;
}

QStringList *TMainLibraryClass::GetFieldValues(const QString &table, const QString &column)
{
    if (table.trimmed().isEmpty() || column.trimmed().isEmpty()) {
        TSystemWinOS::ShowMessage(QStringLiteral("Внимание моля изберете база и име на поле. Програмна грешка."));
        return nullptr;
    }
    auto *values = new QStringList;
    try {
        TADOConnection &connection = LocalConnection();
        const TDbEngine &engine = connection.Engine();
        // The one column the list needs, not the whole table.
        TADOQuery query(&connection);
        query.SetSQLText(QStringLiteral("SELECT ") + engine.QuoteIdentifier(column) + QStringLiteral(" FROM ") +
                         engine.QuoteIdentifier(table) + QStringLiteral(" "));
        TTransaction transaction(connection);
        query.Open();
        transaction.Commit();
        for (query.First(); !query.Eof(); query.Next())
            values->append(query.FieldByName(column).AsString());
    } catch (const Exception &error) {
        TExceptionLogs::Show(ErrorReportText(QString(), QString(), error.Message()));
    }
    return values;
}

QVariantList TMainLibraryClass::LookupFields(const QString &table, const QStringList &resultColumns,
                                             const QList<QPair<QString, QVariant>> &keys)
{
    TADOConnection &connection = LocalConnection();
    const TDbEngine &engine = connection.Engine();
    QStringList columns, conditions;
    for (const QString &column : resultColumns)
        columns.append(engine.QuoteIdentifier(column));
    for (int i = 0; i < keys.size(); ++i)
        conditions.append(engine.QuoteIdentifier(keys.at(i).first) + QStringLiteral(" = :k%1").arg(i));
    // The database compares the names as it compares them everywhere: without letter case.
    TADOQuery query(&connection);
    query.SetSQLText(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                     engine.QuoteIdentifier(table) + QStringLiteral(" WHERE ") +
                     conditions.join(QStringLiteral(" AND ")));
    for (int i = 0; i < keys.size(); ++i)
        query.ParamByName(QStringLiteral("k%1").arg(i)).Value = keys.at(i).second;
    TTransaction transaction(connection);
    query.Open();
    transaction.Commit();
    QVariantList values;
    if (!query.Eof())
        for (const QString &column : resultColumns)
            values.append(query.FieldByName(column).Value());
    return values;
}

void TMainLibraryClass::LookupFieldValue(const QString &table, const QString &keyColumn, QString &result,
                                         const QString &resultColumn, const QVariant &keyValue)
{
    result.clear();
    if (keyColumn.trimmed().isEmpty() || resultColumn.trimmed().isEmpty())
        return;
    try {
        const QVariantList found = LookupFields(table, {resultColumn}, {{keyColumn, keyValue}});
        if (!found.isEmpty())
            result = TField(resultColumn, found.first()).AsString();
    } catch (const Exception &error) {
        TExceptionLogs::Show(ErrorReportText(QString(), QString(), error.Message()));
    }
}

bool TMainLibraryClass::IsHotelFilterOn() const
{
    return !SelectedHotelID.trimmed().isEmpty() && SelectedHotelID != QStringLiteral("FILTAR OFF");
}

void TMainLibraryClass::SetModalResult(int result)
{
    m_modalResult = result;
    if (result != mrNone && m_modalLoop)
        m_modalLoop->quit();
}

int TMainLibraryClass::ShowModal()
{
    if (IsTerminateRequested())
        return mrCancel;
    m_modalResult = mrNone;
    const Qt::WindowModality before = windowModality();
    setWindowModality(Qt::ApplicationModal);
    show();
    QPointer<TMainLibraryClass> self(this);
    QEventLoop loop;
    m_modalLoop = &loop;
    if (m_modalResult == mrNone && !IsTerminateRequested())
        loop.exec(QEventLoop::DialogExec);
    if (!self)
        return mrCancel;
    m_modalLoop = nullptr;
    hide();
    setWindowModality(before);
    if (m_modalResult == mrNone || IsTerminateRequested())
        m_modalResult = mrCancel;
    return m_modalResult;
}

void TMainLibraryClass::closeEvent(QCloseEvent *event)
{
    if (m_modalLoop) {
        if (m_modalResult == mrNone)
            m_modalResult = mrCancel;
        m_modalLoop->quit();
    }
    QMainWindow::closeEvent(event);
}
