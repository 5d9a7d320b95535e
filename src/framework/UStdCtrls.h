#pragma once
// Two controls the windows' layouts name that Qt has no class for.

#include <QGroupBox>
#include <QLabel>
#include <functional>
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QDateEdit;
class QDate;
class QRadioButton;
class QGridLayout;

// A captioned group of radio buttons, one per item, with one chosen index.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget *parent = nullptr);

    void SetItems(const QStringList &items);
    void SetColumns(int columns);
    int Columns() const { return m_columns; }
    QStringList Items() const;
    int ItemCount() const;
    void SetItemText(int index, const QString &text);
    QRadioButton *ItemButton(int index) const;
    int ItemIndex() const;
    void SetItemIndex(int index);

signals:
    void ItemIndexChanged(int index);

private:
    QButtonGroup *m_group;
    QGridLayout *m_layout;
    int m_columns = 1;
    QList<QRadioButton *> m_buttons;
};

// One page of a QTabWidget whose caption is the text of its tab.
class TTabSheet : public QWidget
{
    Q_OBJECT
public:
    explicit TTabSheet(QWidget *parent = nullptr);
    QString Caption() const;
    void SetCaption(const QString &caption);

private:
    QString m_caption;
};

// A label that acts on a click, with the hand cursor.
class TClickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TClickLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// A bordered caption that acts on a click, as a static text control does.
class TStaticText : public TClickLabel
{
    Q_OBJECT
public:
    explicit TStaticText(const QString &text, QWidget *parent = nullptr);
};

// The file-open dialog of a window: a filter of "description|pattern" pairs and the chosen file.
class TOpenDialog : public QObject
{
    Q_OBJECT
public:
    explicit TOpenDialog(QObject *parent = nullptr);
    QString Filter;
    QString FileName;
    // Shows the dialog; true when a file was chosen, which then is FileName.
    bool Execute();

    // Tests answer the dialog: the handler gets the dialog and sets FileName or says no.
    using ExecuteHandler = std::function<bool(TOpenDialog &dialog)>;
    static void SetExecuteHandler(ExecuteHandler handler);
    // The Qt form of Filter: "description (pattern);;...".
    QString QtFilter() const;
};

// A date field as every window shows one: day.month.year with a calendar to pick from.
QDateEdit *NewDatePicker(QWidget *parent, const QString &name, const QDate &day);
// A radio group on its own row at the top of a page laid out in a column, first item chosen.
TRadioGroup *AddPageRadioGroup(QWidget *page, const QString &name, const QString &title, const QStringList &items);
