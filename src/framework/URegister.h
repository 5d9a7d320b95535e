#pragma once
// The pattern every register window shares: a command toolbar with save and close, a page
// control of input group boxes, a read-only grid of all rows of the register's table, and the
// save frame that always reloads the grid while the fields keep what the user typed.

#include "UMainLibraryClass.h"
#include "data/UAdoDb.h"

#include <QList>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTableView;
class TFormInfo;
class TKalvMenuControl;
class TTabSheet;
class QDateEdit;
class QDate;

class TRegisterWindow : public TMainLibraryClass
{
    Q_OBJECT
public:
    // name: the component name, which is also the placement's form name.
    TRegisterWindow(const QString &name, QWidget *parent = nullptr);
    ~TRegisterWindow() override;

    bool InitializeWindow() override;

    TKalvMenuControl *Toolbar() const { return m_toolbar; }
    QTabWidget *Pages() const { return m_pages; }
    QTableView *Grid() const { return m_grid; }
    TAdoGridModel *GridModel() const { return m_model; }
    TAdoDataSet *ListDataSet() const { return m_list; }
    TFormInfo *Placement() const { return m_placement; }

    // An integer or a number from a field's text; a clear error naming the field otherwise.
    static int ToInteger(const QString &field, const QString &text);
    static double ToFloat(const QString &field, const QString &text);

protected:
    // What a register says of itself.
    virtual QString ListSql() const = 0;
    // The values of the list statement's named parameters, if it has any.
    virtual QList<TParameter> ListParameters() const { return {}; }
    virtual QList<TGridColumn> GridColumns() const = 0;
    virtual void LoadCaptions() = 0;
    // A register whose grid shows a data set of its own layout gives it here.
    virtual TAdoDataSet *OwnListDataSet() { return nullptr; }
    // A row of the grid chosen (double click, Enter): a register that edits rows fills its fields.
    virtual void RowChosen(int row) { Q_UNUSED(row); }
    // A field of a row of the grid's data set; null when there is no such row or field.
    QVariant ListValue(int row, const QString &field) const;

    // Building the layout.
    QAction *AddCommand(const QString &buttonName, const QString &actionName, const QString &caption,
                        std::function<void()> handler);
    TTabSheet *AddSheet(const QString &name, const QString &caption);
    QGroupBox *AddGroupBox(QWidget *sheet, const QString &name, const QString &caption);
    QLabel *AddLabel(QGroupBox *box, const QString &name, const QString &caption);
    QLineEdit *AddEdit(QGroupBox *box, const QString &labelName, const QString &caption, const QString &name);
    QDateEdit *AddDate(QGroupBox *box, const QString &labelName, const QString &caption, const QString &name,
                       const QDate &day);
    // A free-text box whose list is refilled from the table's column each time it is entered.
    QComboBox *AddLookupBox(QGroupBox *box, const QString &labelName, const QString &caption, const QString &name,
                            const QString &table, const QString &column);
    // A free-text box whose list is refilled by the window's own source each time it is entered.
    QComboBox *AddLookupBox(QGroupBox *box, const QString &labelName, const QString &caption, const QString &name,
                            std::function<QStringList()> values);
    // Places a control of the box on its next row, beside a label when one is given.
    void PlaceRow(QGroupBox *box, QWidget *field, QLabel *label = nullptr, int height = 23);
    // Widens a box's column of labels to its longest caption (after the captions are loaded too).
    void FitRows(QGroupBox *box);

    // The save frame: the work runs with a fresh query on the shared connection; database
    // errors of the write go to the error log window, errors of the values to the default
    // error display; the transaction is never left open and the grid is always read again.
    enum class TErrorDisplay { ByKind, AllInErrorLog };
    // right: the one the save needs (Rights::TRight), checked before anything is written.
    void RunSave(int right, const std::function<void(TADOQuery &query)> &work,
                 TErrorDisplay display = TErrorDisplay::ByKind);
    // The save's log row, in the save's transaction: the table, the row's key, the window.
    void LogSaved(TADOConnection &connection, const QString &table, const QVariant &key);
    // The integer of a lookup by name, a clear error naming the field when nothing is found.
    QString LookupListed(const QString &field, const QString &table, const QString &keyColumn,
                         const QString &resultColumn, const QString &name);
    int LookupInteger(const QString &field, const QString &table, const QString &keyColumn,
                      const QString &resultColumn, const QString &name);
    // The VAT rate (DDSStavki.q163) chosen in a register's box by its name; none when the box
    // is empty, a clear error when no rate has that name.
    QVariant ChosenVatRate(const QComboBox *box);
    double LookupFloat(const QString &field, const QString &table, const QString &keyColumn,
                       const QString &resultColumn, const QString &name);
    // The first column of a statement's rows, read in a transaction of its own, for a selector's
    // list; a failure goes to the error log and leaves the list empty.
    static QStringList SelectorValues(const QString &sql, const TNamedValues &params = {});
    // Moves to the row whose key equals the identifier (edit), or appends one; an empty
    // identifier, or one that no row has, appends.
    static void ChooseRow(TADOQuery &query, const QString &keyColumn, const QString &field, const QString &identifier);

    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Reads the grid's rows again, captions and layout as they are.
    bool ReloadList();
    // The first field of the page in front that takes typing; the list where there is none.
    void FocusFirstField();
    // The caption of a field's label as the user reads it, without its colon.
    QString FieldCaption(const QWidget *field) const;

private:
    struct TRow {
        QGroupBox *Box;
        QLabel *Label;
        QWidget *Field;
        int Top, Height;
    };
    QList<TRow> m_rows;
    struct TLookupBox {
        QComboBox *Box;
        std::function<QStringList()> Values;
    };
    static void RefillLookupBox(const TLookupBox &lookup);
    static bool IsReadOnly(const QWidget *field);
    TKalvMenuControl *m_toolbar;
    QTabWidget *m_pages;
    QTableView *m_grid;
    TAdoGridModel *m_model;
    std::unique_ptr<TADOQuery> m_ownList;
    TAdoDataSet *m_list = nullptr;
    TFormInfo *m_placement;
    QList<TLookupBox> m_lookupBoxes;
};
