#pragma once
#include <QDate>
// The main window: the multiple-document frame with the menu, the command panels on the
// control bar, the tab strip of child windows, the status bar and the room-status board.

#include "desk/UReports.h"
#include "framework/UMainLibraryClass.h"

#include <QElapsedTimer>
#include <QHash>
#include <functional>

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QScrollArea;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class TControlBar;
class TFormInfo;
class TMDITab;
class TRoomBoard;
class TStaticText;

class TFHotel : public TMainLibraryClass
{
    Q_OBJECT
public:
    explicit TFHotel(QWidget *parent = nullptr);
    ~TFHotel() override;

    bool InitializeWindow() override;

    // Command panel layout.
    void StyleControlBar();
    void FitControlBar();
    bool RestorePanelMenu();
    bool SavePanelMenu();
    void ControlBar1MouseUp();
    static const QStringList &PanelNames();

    bool BuildRoomBoard();
    void timerInitRoomStatusTimer();

    // A command of the action list by name; nothing for an unknown name.
    QAction *Action(const QString &name) const;
    // Runs a command's handler as the menu would, also when the command has no window yet.
    void RunCommand(const QString &name);
    // Creates the child window the way every command does: caption, tab, initialisation.
    void OpenChildWindow(TMainLibraryClass *window, bool initialise = true);
    // The open child window of that kind that is wanted, brought to the front; null if none.
    template <typename TWindow>
    TWindow *FrontChild(const std::function<bool(TWindow *)> &wanted);
    // Windows of later units plug their commands in here.
    using TWindowFactory = std::function<TMainLibraryClass *()>;
    static void RegisterWindow(const QString &actionName, TWindowFactory factory, bool initialise = true);

    // The folio of a booking, with one of its stays chosen and one of its pages shown.
    void OpenFolio(int booking, int stay = 0, int page = 0);
    // The documents of a booking, and one document as it prints.
    class TFFaktura *OpenInvoices(int booking);
    class TFDokument *OpenDocument(int document);
    // The folio of the booking a room's marks are about on the filter date.
    void OpenFolioOfRoom(int room, int page);
    class TFTarsene *OpenSearch(int scope, const QString &text);
    // The reservation chart, from the board's day and hotel.
    class TFShahmatka *OpenShahmatka();
    // A report, for the day and hotel the board shows.
    class TFReport *OpenReport(const Reports::TDefinition &definition);
    void SearchBookings();
    // An item of the rooms' context menu, on the room it was opened on.
    void RoomCommand(int item);
    void actOperNastaniavaneExecute();
    void actOperAddresCardsExecute();
    void actOperZatvaryaneDenExecute();
    void actOperChangeOperatorExecute();
    // Enables each command by the rights of the operator logged in.
    void ApplyRights();
    // Whether the operator may run the command; says why not.
    bool MayRun(const QString &command);
    void ChangeOwnPassword();
    // The login covers the window until the same or another operator logs in; cancelling it
    // ends the program (after the question about unsaved rows).
    void LogInAgain();
    void LockDesk(int minutes);
    void CheckIdle();
    void ConnectionChanged(bool up);
    QTimer *timerIdleLock;
    // The length of the setting's minute; tests make it short.
    static inline qint64 IdleMinuteMs = 60000;
    void actOperHotelRoomsRefreshExecute();
    void actAdministrationsConfigDBExecute();
    void actSettingsPersonaliseExecute();
    void actHelpAboutAsExecute();
    void actWinSortCascadeExecute();
    void actWinSortArrangeExecute();
    void actWinSortTileExecute();
    void actWinCloseAllExecute();
    void actCloseExecute();
    // Esc closes what is in front: the active child window (asking first when it holds unsaved
    // rows), else, after a question whose default is No, the program.
    void EscapePressed();
    QMdiSubWindow *FrontChild() const;
    // A key of the desk that is no menu item: its action, its key from the key table.
    void addKeyCommand(const QString &name, std::function<void()> run);
    void ComboBox1Enter();
    void ComboBox1Select(const QString &text);
    void FilterChanged();

    QMenuBar *mmKALVCM;
    QAction *mnuChangeOwnPassword = nullptr;
    TControlBar *ControlBar1;
    QHash<QString, QToolBar *> CommandPanels;
    QWidget *PanelMenu1, *PanelMenu2, *pMainPeriodFilter;
    QLineEdit *EditSearchMain;
    QToolButton *SpeedButton1, *spMainFilterDate;
    TStaticText *stLabelHotel;
    QComboBox *ComboBox1;
    QDateEdit *dtpMainPeriodFilter;
    QMdiArea *MdiArea;
    QScrollArea *BoardScroll;
    QWidget *BoardCanvas;
    class QGroupBox *BoardLegend;
    TMDITab *MDITabControl;
    QStatusBar *sbHotelInfo;
    QList<QLabel *> StatusPanels;
    // Over the board while the server is away: the picture below is stale.
    QLabel *lbConnectionLost;
    QTimer *timerInitRoomStatus;
    QMenu *PopupMenu1Operacii;
    TFormInfo *FormInfo1;
    TRoomBoard *RoomBoard;

signals:
    // A command ran (its window, if any, is open by now).
    void CommandRun(const QString &actionName);
    // The board read the rooms again (every tick): what shows stays follows it.
    void BoardRefreshed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    void CreateMenu();
    void CreateControlBar();
    QToolBar *CreateCommandPanel(const QString &name, const QStringList &actions);
    void CreateToolPanels();
    void CreateStatusBar();
    void FormCreate();
    void FillStatusBar();
    // The business day in its panel; a board filter left on the day before follows it.
    void ShowBusinessDay();
    QDate m_shownBusinessDay;
    void OpenRegisteredWindow(const QString &actionName);
    void FitBoardCanvas();
    void CreateBoardLegend();
    // False when a reservation window holds unsaved rows and the operator keeps them.
    bool MayDiscardStagedRows();

    QHash<QString, QAction *> m_actions;
    bool m_closingAfterCancel = false;  // the operator already agreed to lose unsaved rows
    bool m_locking = false;
    QElapsedTimer m_lastInput;
};
