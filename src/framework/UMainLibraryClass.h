#pragma once
// The base of every window: initialisation, the input check by rule code, the caption
// loaders over Settings.ini, and running as a modal window with a modal result.

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QVariant>

class QEventLoop;
class QMenuBar;
class QToolBar;
class TRadioGroup;
class TTabSheet;
class TWideMemIniFile;
class Exception;

// Login name and password typed at the last login. Who is logged in, and with which rights, is
// Rights::CurrentOperator.
class TKalvCLientInfo
{
public:
    QString LoginName;
    QString LoginPassword;
};

// Application state: the program version text, filled at start-up.
class TKalvApplicationCtrl
{
public:
    QString VersionText;
};

TKalvCLientInfo &KalvCLientInfo();
TKalvApplicationCtrl &KalvApplicationCtrl();

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TMainLibraryClass : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainLibraryClass(QWidget *parent = nullptr);
    ~TMainLibraryClass() override;

    virtual bool InitializeWindow();
    // Gives the control when its input fails the rule (and paints it red), nothing when it passes.
    virtual QWidget *CheckControl(QWidget *control, quint8 rule);
    // Paints a control red, as a failed input check does.
    static void MarkControlFailed(QWidget *control);
    static void ResetControlMark(QWidget *control);

    bool LoadFormCaption(QWidget *window);
    bool LoadContainerCaptions(QWidget *container);
    bool LoadComponentCaptions(QObject *component);
    bool LoadRadioGroupCaptions(TRadioGroup *group);
    bool LoadTabSheetCaption(TTabSheet *sheet);
    bool LoadMainMenuCaptions(QMenuBar *menu);
    // Gives each caption an Alt letter of its own among its neighbours.
    static void AssignMnemonics(const QList<QAction *> &actions);
    bool LoadToolbarCaptions(QToolBar *toolbar);

    // The text of the column in every row of the table; the caller owns the list; nothing
    // (and a message) when a name is empty.
    QStringList *GetFieldValues(const QString &table, const QString &column);
    // The result columns of the first row whose key columns equal the values; empty when none.
    // Raises EDatabaseError.
    static QVariantList LookupFields(const QString &table, const QStringList &resultColumns,
                                     const QList<QPair<QString, QVariant>> &keys);
    // The result column of the first row whose key column equals the key value, or empty.
    void LookupFieldValue(const QString &table, const QString &keyColumn, QString &result,
                          const QString &resultColumn, const QVariant &keyValue);

    bool IsHotelFilterOn() const;

    // Shows the window modally until a modal result is set or the window closes (Cancel).
    int ShowModal();
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int result);

    // "Class name: ...", "Function name: ...", "Description Error: ..." joined by CRLF.
    static QString ErrorReportText(const QString &className, const QString &functionName, const QString &message);
    // Shows a caught error in the error log window with an empty class and function name.
    static void ReportError(const Exception &error);

    static QString CaptionKeyOf(const QObject *component);
    // The caption Settings.ini gives a key, or nothing when it gives none.
    static QString SettingsCaption(const QString &key);
    static const QString &UnknownCaption();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    static const TWideMemIniFile &OpenSettings();
    static bool ApplyKindCaption(QObject *component, const TWideMemIniFile &ini);
    static void ApplyRadioGroup(TRadioGroup *group, const TWideMemIniFile &ini);

    int m_modalResult = mrNone;
    QEventLoop *m_modalLoop = nullptr;
};
