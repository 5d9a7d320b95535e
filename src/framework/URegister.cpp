#include "URegister.h"

#include "desk/URights.h"

#include "desk/UFrontDesk.h"
#include "startup/UConstMessagesStay.h"

#include "FormInfo.h"
#include "UFormatSettings.h"
#include "UStdCtrls.h"
#include "UShortcuts.h"
#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "data/UDbSchema.h"
#include "errors/UExceptionLogs.h"
#include "startup/KalvCM.h"

#include <QAbstractItemView>
#include <QDateEdit>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QShowEvent>
#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int kRowHeight = 27;
constexpr int kFieldLeft = 170;
constexpr int kFieldWidth = 230;

} // namespace

TRegisterWindow::TRegisterWindow(const QString &name, QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(780, 540);
    m_toolbar = new TKalvMenuControl(this);
    m_toolbar->setObjectName(QStringLiteral("smc") + name);
    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(2, 2, 2, 2);
    m_pages = new QTabWidget(client);
    m_pages->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    m_grid = new QTableView(client);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_model = new TAdoGridModel(this);
    m_model->ApplyTo(m_grid);
    layout->addWidget(m_pages);
    layout->addWidget(m_grid, 1);
    setCentralWidget(client);
    // A double click or Enter on a row brings it into the fields, where a register edits rows.
    connect(m_grid, &QAbstractItemView::activated, this, [this](const QModelIndex &index) {
        if (m_list && index.isValid())
            RowChosen(index.row());
    });
    // Ctrl+PgDown / Ctrl+PgUp turn the pages wherever the focus is in the window (a drop-down
    // would take the key as its own otherwise), and the keys go to the new page's first field.
    for (const auto &[actionName, step] : {std::pair{QStringLiteral("acNextPage"), 1},
                                           std::pair{QStringLiteral("acPreviousPage"), -1}}) {
        auto *turn = new QAction(this);
        turn->setObjectName(actionName);
        Shortcuts::Apply(turn);
        connect(turn, &QAction::triggered, this, [this, step = step] {
            const int count = m_pages->count();
            if (count < 2)
                return;
            m_pages->setCurrentIndex((m_pages->currentIndex() + step + count) % count);
        });
        addAction(turn);
    }
    // However a page is turned (a key, a click on its tab), the keys go to its first field, so
    // the window's own keys keep working: the field that had them may just have been hidden.
    connect(m_pages, &QTabWidget::currentChanged, this, [this] {
        QMetaObject::invokeMethod(this, &TRegisterWindow::FocusFirstField, Qt::QueuedConnection);
    });
    m_placement = new TFormInfo(this, name);
}

TRegisterWindow::~TRegisterWindow() = default;

QAction *TRegisterWindow::AddCommand(const QString &buttonName, const QString &actionName, const QString &caption,
                                     std::function<void()> handler)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(buttonName);
    action->setProperty("ActionName", actionName);
    connect(action, &QAction::triggered, this, std::move(handler));
    return m_toolbar->AddCommand(action);
}

TTabSheet *TRegisterWindow::AddSheet(const QString &name, const QString &caption)
{
    auto *sheet = new TTabSheet(m_pages);
    sheet->setObjectName(name);
    m_pages->addTab(sheet, caption);
    sheet->SetCaption(caption);
    auto *row = new QHBoxLayout(sheet);
    row->setContentsMargins(6, 6, 6, 6);
    row->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return sheet;
}

QGroupBox *TRegisterWindow::AddGroupBox(QWidget *sheet, const QString &name, const QString &caption)
{
    auto *box = new QGroupBox(caption, sheet);
    box->setObjectName(name);
    box->setProperty("Rows", 0);
    box->setFixedSize(kFieldLeft + kFieldWidth + 12, 30);
    static_cast<QBoxLayout *>(sheet->layout())->addWidget(box, 0, Qt::AlignTop);
    return box;
}

QLabel *TRegisterWindow::AddLabel(QGroupBox *box, const QString &name, const QString &caption)
{
    auto *label = new QLabel(caption, box);
    label->setObjectName(name);
    return label;
}

void TRegisterWindow::PlaceRow(QGroupBox *box, QWidget *field, QLabel *label, int height)
{
    const int row = box->property("Rows").toInt();
    const int rows = row + (height + kRowHeight - 1) / kRowHeight;
    box->setProperty("Rows", rows);
    box->setFixedHeight(22 + rows * kRowHeight + 6);
    m_rows.append({box, label, field, 22 + row * kRowHeight, height});
    FitRows(box);
}

void TRegisterWindow::FitRows(QGroupBox *box)
{
    // The labels' column is as wide as its longest caption, so none is cut.
    int labelWidth = kFieldLeft - 14;
    for (const TRow &row : m_rows)
        if (row.Box == box && row.Label)
            labelWidth = qMax(labelWidth, row.Label->sizeHint().width());
    const int fieldLeft = 10 + labelWidth + 4;
    for (const TRow &row : m_rows) {
        if (row.Box != box)
            continue;
        if (row.Label) {
            row.Label->setGeometry(10, row.Top, labelWidth, 21);
            row.Field->setGeometry(fieldLeft, row.Top, kFieldWidth, row.Height);
        } else {
            row.Field->setGeometry(10, row.Top, fieldLeft + kFieldWidth - 10, row.Height);
        }
    }
    box->setFixedWidth(fieldLeft + kFieldWidth + 12);
}

QStringList TRegisterWindow::SelectorValues(const QString &sql, const TNamedValues &params)
{
    QStringList values;
    try {
        TADOConnection &connection = LocalConnection();
        TTransaction transaction(connection);
        const std::unique_ptr<TADOQuery> query = OpenQuery(connection, sql, params);
        transaction.Commit();
        const QString column = query->FieldNames().value(0);
        for (query->First(); !query->Eof(); query->Next())
            values.append(query->FieldByName(column).AsString());
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
    return values;
}

QDateEdit *TRegisterWindow::AddDate(QGroupBox *box, const QString &labelName, const QString &caption,
                                    const QString &name, const QDate &day)
{
    QDateEdit *picker = NewDatePicker(box, name, day);
    PlaceRow(box, picker, AddLabel(box, labelName, caption));
    return picker;
}

QLineEdit *TRegisterWindow::AddEdit(QGroupBox *box, const QString &labelName, const QString &caption,
                                    const QString &name)
{
    auto *edit = new QLineEdit(box);
    edit->setObjectName(name);
    edit->setMaxLength(TextColumnLength);
    PlaceRow(box, edit, AddLabel(box, labelName, caption));
    return edit;
}

QComboBox *TRegisterWindow::AddLookupBox(QGroupBox *box, const QString &labelName, const QString &caption,
                                         const QString &name, const QString &table, const QString &column)
{
    return AddLookupBox(box, labelName, caption, name, [this, table, column] {
        std::unique_ptr<QStringList> values(GetFieldValues(table, column));
        return values ? *values : QStringList();
    });
}

QComboBox *TRegisterWindow::AddLookupBox(QGroupBox *box, const QString &labelName, const QString &caption,
                                         const QString &name, std::function<QStringList()> values)
{
    auto *combo = new QComboBox(box);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->lineEdit()->setMaxLength(TextColumnLength);
    combo->installEventFilter(this);
    m_lookupBoxes.append({combo, std::move(values)});
    PlaceRow(box, combo, AddLabel(box, labelName, caption));
    return combo;
}

bool TRegisterWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Focus coming back from the box's own list is not an entry: refilling then would drop
    // the item just clicked.
    if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        for (const TLookupBox &lookup : m_lookupBoxes)
            if (lookup.Box == watched)
                RefillLookupBox(lookup);
    return TMainLibraryClass::eventFilter(watched, event);
}

QVariant TRegisterWindow::ListValue(int row, const QString &field) const
{
    const int column = m_list ? m_list->FieldIndex(field) : -1;
    return column >= 0 && row >= 0 && row < m_list->RecordCount() ? m_list->CellValue(row, column) : QVariant();
}

void TRegisterWindow::RefillLookupBox(const TLookupBox &lookup)
{
    const QString typed = lookup.Box->currentText();
    const QStringList values = lookup.Values();
    const QSignalBlocker quiet(lookup.Box);
    lookup.Box->clear();
    lookup.Box->addItems(values);
    const int chosen = lookup.Box->findText(typed);
    lookup.Box->setCurrentIndex(chosen);
    if (chosen < 0)
        lookup.Box->setEditText(typed);
}

void TRegisterWindow::showEvent(QShowEvent *event)
{
    TMainLibraryClass::showEvent(event);
    // Opened, the window takes the keys in its first field, after its frame has placed the focus.
    QMetaObject::invokeMethod(this, &TRegisterWindow::FocusFirstField, Qt::QueuedConnection);
}

void TRegisterWindow::FocusFirstField()
{
    QWidget *focused = QApplication::focusWidget();
    if (focused && isAncestorOf(focused) && focused->isVisible() && focused->focusPolicy() & Qt::TabFocus)
        return;  // a field already has it
    for (const TRow &row : m_rows)
        if (row.Field->isVisible() && row.Field->isEnabled() && row.Field->focusPolicy() & Qt::TabFocus &&
            !IsReadOnly(row.Field)) {
            row.Field->setFocus(Qt::TabFocusReason);
            return;
        }
    QList<QAbstractItemView *> tables;
    if (QWidget *page = m_pages->currentWidget())
        tables = page->findChildren<QAbstractItemView *>();
    tables << m_grid;
    for (QAbstractItemView *table : tables)
        if (table->isVisible()) {
            table->setFocus(Qt::TabFocusReason);
            return;
        }
    setFocus(Qt::OtherFocusReason);  // nothing to type into: the window keeps the keys
}

QString TRegisterWindow::FieldCaption(const QWidget *field) const
{
    for (const TRow &row : m_rows)
        if (row.Field == field && row.Label)
            return row.Label->text().remove(QLatin1Char('&')).trimmed().remove(QRegularExpression(QStringLiteral(":$")));
    return field->objectName();
}

bool TRegisterWindow::IsReadOnly(const QWidget *field)
{
    const auto *edit = qobject_cast<const QLineEdit *>(field);
    return edit && edit->isReadOnly();
}

bool TRegisterWindow::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadCaptions();
    QList<QGroupBox *> boxes;
    for (const TRow &row : m_rows)
        if (!boxes.contains(row.Box))
            boxes.append(row.Box);
    for (QGroupBox *box : boxes)
        FitRows(box);
    return ReloadList();
}

bool TRegisterWindow::ReloadList()
{
    TADOConnection &connection = LocalConnection();
    // A fresh list query for each initialisation, unless the layout has its own.
    TAdoDataSet *own = OwnListDataSet();
    std::unique_ptr<TADOQuery> fresh;
    TADOQuery *query = nullptr;
    if (own) {
        query = qobject_cast<TADOQuery *>(own);
    } else {
        fresh = std::make_unique<TADOQuery>(&connection);
        query = fresh.get();
    }
    query->Close();
    query->SQL.clear();
    query->SetConnection(&connection);
    query->SetSQLText(ListSql());
    try {
        for (const TParameter &parameter : ListParameters())
            query->ParamByName(parameter.Name).Value = parameter.Value;
        if (!connection.InTransaction())
            connection.BeginTrans();
        query->Open();
        // The rows are in memory: no read lock is left for other workstations to wait on.
        connection.CommitTrans();
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
        return true;
    }
    m_list = query;
    m_model->SetDataSet(m_list);
    if (fresh)
        m_ownList = std::move(fresh);  // the grid has let go of the earlier one
    m_model->SetColumns(GridColumns());
    m_model->ApplyTo(m_grid);
    return true;
}

int TRegisterWindow::ToInteger(const QString &field, const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("%1: '%2' is not a valid integer value").arg(field, text));
    return value;
}

double TRegisterWindow::ToFloat(const QString &field, const QString &text)
{
    double value = 0;
    if (!TryStrToFloat(text.trimmed(), value))
        throw EConvertError(QStringLiteral("%1: '%2' is not a valid floating point value").arg(field, text));
    return value;
}

QString TRegisterWindow::LookupListed(const QString &field, const QString &table, const QString &keyColumn,
                                      const QString &resultColumn, const QString &name)
{
    QString result;
    LookupFieldValue(table, keyColumn, result, resultColumn, name);
    if (result.isEmpty())
        throw EConvertError(QStringLiteral("%1: '%2' is not in the list").arg(field, name));
    return result;
}

int TRegisterWindow::LookupInteger(const QString &field, const QString &table, const QString &keyColumn,
                                   const QString &resultColumn, const QString &name)
{
    return ToInteger(field, LookupListed(field, table, keyColumn, resultColumn, name));
}

QVariant TRegisterWindow::ChosenVatRate(const QComboBox *box)
{
    const QString name = box->currentText().trimmed();
    if (name.isEmpty())
        return QVariant();
    return LookupInteger(QStringLiteral("ДДС ставка"), QStringLiteral("DDSStavki"), QStringLiteral("q164"),
                         QStringLiteral("q163"), name);
}

double TRegisterWindow::LookupFloat(const QString &field, const QString &table, const QString &keyColumn,
                                    const QString &resultColumn, const QString &name)
{
    return ToFloat(field, LookupListed(field, table, keyColumn, resultColumn, name));
}

void TRegisterWindow::ChooseRow(TADOQuery &query, const QString &keyColumn, const QString &field,
                                const QString &identifier)
{
    if (!identifier.trimmed().isEmpty() && query.Locate(keyColumn, ToInteger(field, identifier)))
        query.Edit();
    else
        query.Append();
}

void TRegisterWindow::RunSave(int right, const std::function<void(TADOQuery &query)> &work, TErrorDisplay display)
{
    {
        TADOQuery query(&LocalConnection());
        try {
            Rights::Require(right);
            work(query);
        } catch (const EDatabaseError &error) {
            LocalConnection().RollbackIfOpen();
            TExceptionLogs::Show(error.Message());
        } catch (const Exception &error) {
            LocalConnection().RollbackIfOpen();
            if (display == TErrorDisplay::AllInErrorLog)
                TExceptionLogs::Show(error.Message());
            else
                TKalvApplication::ShowDefaultError(error.Message());
        }
    }
    InitializeWindow();
}

void TRegisterWindow::LogSaved(TADOConnection &connection, const QString &table, const QVariant &key)
{
    bool isNumber = false;
    const int number = key.toInt(&isNumber);
    FrontDesk::WriteLog(connection, table, isNumber && !key.isNull() ? QVariant(number) : QVariant(), QVariant(),
                        msgLogRegisterSaved.arg(windowTitle()));
}

void TRegisterWindow::closeEvent(QCloseEvent *event)
{
    m_placement->Save();
    TMainLibraryClass::closeEvent(event);
}
