#include "Hotel.h"

#include "URoomBoard.h"
#include "framework/UShortcuts.h"
#include "UAbout.h"
#include "UAdresniKarti.h"
#include "UFolio.h"
#include "UFrontDeskRun.h"
#include "UNastaniavane.h"
#include "UZatvaryaneDen.h"
#include "UNomCenovi.h"
#include "UNomGosti.h"
#include "UPochistvane.h"
#include "UNomDDSStavki.h"
#include "UNomKupuvachi.h"
#include "UNomSerii.h"
#include "UFaktura.h"
#include "UDokument.h"
#include "errors/UExceptionLogs.h"
#include "UShahmatka.h"
#include "UTarsene.h"
#include "UReport.h"
#include "UGuide.h"
#include "UNomKurortniTaksi.h"
#include "UNastroiki.h"
#include "UOperReservation.h"
#include "USetHotelConstruct.h"
#include "UNomHotels.h"
#include "UNomOperatori.h"
#include "UNomStai.h"
#include "UNomTarifi.h"
#include "UNomUslugi.h"
#include "USigurnost.h"
#include "UValuta.h"
#include "UUserLogin.h"
#include "UParola.h"
#include "admin/UBaza.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "desk/URights.h"
#include "desk/UFrontDesk.h"
#include "controls/MDITab.h"
#include "controls/UControlBar.h"
#include "controls/UImageList.h"
#include "framework/FormInfo.h"
#include "framework/UFormatSettings.h"
#include "framework/UStdCtrls.h"
#include "framework/UWideIniFile.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/UConstMessagesSecurity.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QFocusEvent>
#include <QAbstractItemView>
#include <QApplication>
#include <QAction>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QPainter>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace {

// A panel of the status bar: its own width, or what its text needs where that is more, as long
// as the window is wide enough; a narrow window shrinks the panels instead of growing past the screen.
class TStatusPanel : public QLabel
{
public:
    using QLabel::QLabel;
    void SetPanelWidth(int width)
    {
        m_width = width;
        updateGeometry();
    }
    QSize sizeHint() const override
    {
        const QSize text = QLabel::sizeHint();
        return {qMax(m_width, text.width()), text.height()};
    }
    QSize minimumSizeHint() const override { return {24, QLabel::minimumSizeHint().height()}; }

private:
    int m_width = 0;
};

// The items of the rooms' context menu, in their order, and the commands they are for rights.
enum { kPopupExtend, kPopupMove, kPopupCharge, kPopupPayment, kPopupLeave, kPopupReservation, kPopupCheckIn };
const char *const kPopupCommands[] = {"popupExtend",  "popupMove",        "popupCharge", "popupPayment",
                                      "popupLeave",   "popupReservation", "popupCheckIn"};

enum class TKind { None, Own, Window };

struct TCommand {
    const char *Name;
    const char *Caption;
    int Image;
    const char *Category;  // the menu it stands in; empty for the two items of the bar itself
    TKind Kind;
};

const TCommand kCommands[] = {
    {"actOperReserv", "Резервация", 31, "Операции", TKind::Window},
    {"actOperShahmatka", "Шахматка", 13, "Операции", TKind::Own},
    {"actOperCleanRoom", "Почистване на стая", 4, "Операции", TKind::Own},
    {"actOperNachislenie", "Начисление", 6, "Операции", TKind::Own},
    {"actOperOtmianaReserv", "Отмяна на резервация", 17, "Операции", TKind::Own},
    {"actOperNastaniavane", "Настаняване", 18, "Операции", TKind::Own},
    {"actOperPrikluchvane", "Приключване", 99, "Операции", TKind::Own},
    {"actOperAddresCards", "Aдресни карти", 93, "Операции", TKind::Own},
    {"actOperZatvaryaneDen", "Затваряне на деня", 99, "Операции", TKind::Own},
    {"actOperSec", "Сигурност", 106, "Операции", TKind::Window},
    {"actOperHotelRoomsRefresh", "Инициализиране статус на стаи", 101, "Операции", TKind::Own},
    {"actOperChangeOperator", "Смяна на оператор", 32, "", TKind::Own},
    {"actReportRoomZaeti", "Заети стаи", 4, "Доклади", TKind::Window},
    {"actReportAvailebleRooms", "Свободни стаи", 5, "Доклади", TKind::Window},
    {"actReportLikvid", "Ликвидност", 6, "Доклади", TKind::Window},
    {"actReportOborotContragents", "Оборот клиенти", 7, "Доклади", TKind::Window},
    {"actReportAllOborot", "Общ оборот", 8, "Доклади", TKind::Window},
    {"actReportOperatorsOborot", "Оборот по оператори", 9, "Доклади", TKind::Window},
    {"actReportZastrahovki", "Застраховки", 10, "Доклади", TKind::None},
    {"actReportRazhodStai", "Разход стаи", 11, "Доклади", TKind::Window},
    {"actReportTaxs", "Курортни такси", 12, "Доклади", TKind::Window},
    {"actReportDokumenti", "Издадени документи", 8, "Доклади", TKind::Window},
    {"actReportDnevenOtchet", "Дневен отчет", 8, "Доклади", TKind::Window},
    {"actReportDarzhavi", "Гости по държави", 13, "Доклади", TKind::Window},
    {"actReportEsti", "ЕСТИ", 13, "Доклади", TKind::Window},
    {"actReportPrisitgashti", "Пристигащи", 13, "Доклади", TKind::Window},
    {"actReportOtpatuvashti", "Отпътуващи", 14, "Доклади", TKind::Window},
    {"actAdministrationsConfigDB", "Конфигуриране на база", 2, "Администрация", TKind::Window},
    {"actAdministrationsConstructHotel", "Конструиране на хотел", 1, "Администрация", TKind::Window},
    {"actSettingsCardSystem", "Картова система", 16, "Настройки", TKind::None},
    {"actSettingsPersonalise", "Настройка и персонализиране", 17, "Настройки", TKind::Window},
    {"actNomenOperators", "Оператори", 18, "Номенклатури", TKind::Window},
    {"actNomenAll", "Всички номенклатури", 19, "Номенклатури", TKind::None},
    {"actNomenRooms", "Стаи", 22, "Номенклатури", TKind::Window},
    {"actNomenPrice", "Цени", 20, "Номенклатури", TKind::Window},
    {"actNomenDiscount", "Отстъпки", 21, "Номенклатури", TKind::None},
    {"actNomenClients", "Контрагенти", 23, "Номенклатури", TKind::Window},
    {"actNomenSeif", "Сейфове", 24, "Номенклатури", TKind::None},
    {"actNomenServices", "Услуги", 25, "Номенклатури", TKind::Window},
    {"actNomenZastrahovki", "Застраховки", 26, "Номенклатури", TKind::None},
    {"actNomenTaxs", "Курортни такси", 27, "Номенклатури", TKind::Window},
    {"actNomenDDS", "ДДС ставки", 20, "Номенклатури", TKind::Window},
    {"actNomenSerii", "Серии на документи", 20, "Номенклатури", TKind::Window},
    {"actNomenGosti", "Гости", 23, "Номенклатури", TKind::Window},
    {"actNomenValuta", "Валута", 28, "Номенклатури", TKind::Window},
    {"actNomenTarifs", "Тарифи", 29, "Номенклатури", TKind::Window},
    {"actNomenHotels", "Хотели", 30, "Номенклатури", TKind::Window},
    {"actWinSortCascade", "Подреди каскадно", 18, "Прозорци", TKind::Own},
    {"actWinSortArrange", "Аранжирай", 74, "Прозорци", TKind::Own},
    {"actWinSortTile", "Покажи всички", 87, "Прозорци", TKind::Own},
    {"actWinCloseAll", "Затвори всички", 72, "Прозорци", TKind::Own},
    {"actMenuReset", "Подреди по подразбиране", 15, "Меню", TKind::None},
    {"actHelpAboutAs", "За нас", 0, "Помощ", TKind::Window},
    {"actHelpGuide", "Ръководство", 15, "Помощ", TKind::Window},
    {"actClose", "Изход", 11, "", TKind::Own},
};

// The menus of the bar in their order, with their component names.
const QList<QPair<QString, QString>> kMenus = {
    {"mnuOperations", "Операции"}, {"mnuReports", "Доклади"}, {"mnuAdministration", "Администрация"},
    {"mnuSettings", "Настройки"},  {"mnuNomen", "Номенклатури"}, {"mnuWindows", "Прозорци"},
    {"mnuMenu", "Меню"},           {"mnuHelp", "Помощ"}};

const QList<QPair<QString, QStringList>> kPanels = {
    {"atbAdministration", {"actAdministrationsConfigDB", "actAdministrationsConstructHotel"}},
    {"atbMenu", {"actMenuReset"}},
    {"atbSettings", {"actSettingsCardSystem", "actSettingsPersonalise"}},
    {"atbNomen",
     {"actNomenAll", "actNomenClients", "actNomenDiscount", "actNomenHotels", "actNomenOperators", "actNomenPrice",
      "actNomenRooms", "actNomenSeif", "actNomenServices", "actNomenTarifs", "actNomenTaxs", "actNomenDDS", "actNomenSerii", "actNomenValuta",
      "actNomenZastrahovki"}},
    {"atbOperations",
     {"actOperAddresCards", "actOperChangeOperator", "actOperCleanRoom", "actOperHotelRoomsRefresh",
      "actOperNachislenie", "actOperNastaniavane", "actOperOtmianaReserv", "actOperPrikluchvane", "actOperReserv",
      "actOperSec", "actOperShahmatka"}},
    {"atbHelp", {"actHelpAboutAs"}},
    {"atbSystems", {"actWinSortTile", "actWinSortCascade", "actWinSortArrange", "actWinCloseAll"}},
    {"atbReports", {"actReportAllOborot", "actReportAvailebleRooms", "actReportPrisitgashti"}},
};

struct TPanelDefault {
    int Left, Top, Width;
};

const QHash<QString, TPanelDefault> &panelDefaults()
{
    static const QHash<QString, TPanelDefault> defaults = {
        {"atbAdministration", {437, 2, 200}}, {"atbMenu", {224, 2, 200}},   {"atbSettings", {11, 2, 200}},
        {"atbNomen", {650, 2, 200}},          {"atbOperations", {863, 2, 200}}, {"atbHelp", {863, 2, 200}},
        {"atbSystems", {863, 2, 200}},        {"atbReports", {863, 2, 200}},    {"PanelMenu1", {0, 30, 164}},
        {"PanelMenu2", {0, 30, 164}},         {"pMainPeriodFilter", {0, 30, 164}}};
    return defaults;
}

constexpr int kPanelHeight = 24;

QHash<QString, TFHotel::TWindowFactory> &windowFactories()
{
    static QHash<QString, TFHotel::TWindowFactory> factories;
    return factories;
}

QHash<QString, bool> &windowInitialises()
{
    static QHash<QString, bool> initialises;
    return initialises;
}

// The windows this unit knows; later units add theirs through RegisterWindow.
void registerOwnWindows()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    TFHotel::RegisterWindow(QStringLiteral("actAdministrationsConfigDB"), [] { return new TFBaza; });
    TFHotel::RegisterWindow(QStringLiteral("actSettingsPersonalise"), [] { return new TFNastroiki; });
    TFHotel::RegisterWindow(QStringLiteral("actHelpAboutAs"), [] { return new TFAbout; }, false);
    TFHotel::RegisterWindow(QStringLiteral("actNomenHotels"), [] { return new TFNomHotels; });
    TFHotel::RegisterWindow(QStringLiteral("actNomenRooms"), [] { return new TFNomStai; });
    TFHotel::RegisterWindow(QStringLiteral("actNomenTarifs"), [] { return new TFNomTarifi; });
    TFHotel::RegisterWindow(QStringLiteral("actNomenServices"), [] { return new TFNomUslugi; });
    TFHotel::RegisterWindow(QStringLiteral("actNomenValuta"), [] { return new TFValuta; });
    TFHotel::RegisterWindow(QStringLiteral("actNomenOperators"), [] { return new TFNomOperatori; });
    TFHotel::RegisterWindow(QStringLiteral("actOperSec"), [] { return new TFSigurnost; });
    TFHotel::RegisterWindow(QStringLiteral("actOperReserv"), [] { return new TFOperReservation; });
    TFHotel::RegisterWindow(QStringLiteral("actAdministrationsConstructHotel"), [] { return new TFSetHotelConstruct; });
    TFHotel::RegisterWindow(QStringLiteral("actNomenTaxs"), [] { return new TFNomKurortniTaksi; });
    TFHotel::RegisterWindow(QStringLiteral("actNomenDDS"), [] { return new TFNomDDSStavki; });
    TFHotel::RegisterWindow(QStringLiteral("actNomenClients"), [] { return new TFNomKupuvachi; });
    TFHotel::RegisterWindow(QStringLiteral("actNomenSerii"), [] { return new TFNomSerii; });
    TFHotel::RegisterWindow(QStringLiteral("actNomenGosti"), [] { return new TFNomGosti; });
    TFHotel::RegisterWindow(QStringLiteral("actNomenPrice"), [] { return new TFNomCenovi; });
    TFHotel::RegisterWindow(QStringLiteral("actHelpGuide"), [] { return new TFGuide; });
}

QWidget *toolPanel(const QString &name)
{
    auto *panel = new QWidget;
    panel->setObjectName(name);
    panel->setFixedHeight(kPanelHeight);
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 1, 4, 1);
    layout->setSpacing(3);
    return panel;
}

// A picture of the legend; not a label, so that no caption ever replaces it.
class TLegendSwatch : public QWidget
{
public:
    TLegendSwatch(const QPixmap &picture, const QColor &tint, QWidget *parent)
        : QWidget(parent), m_picture(picture), m_tint(tint)
    {
        setFixedSize(18, 16);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (m_tint.isValid())
            painter.fillRect(rect().adjusted(1, 1, -1, -1), m_tint);
        if (!m_picture.isNull())
            painter.drawPixmap((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2, m_picture);
    }

private:
    QPixmap m_picture;
    QColor m_tint;
};

QToolButton *ellipsisButton(QWidget *panel, const QString &name)
{
    auto *button = new QToolButton(panel);
    button->setObjectName(name);
    button->setText(QStringLiteral("..."));
    button->setFixedSize(22, 20);
    panel->layout()->addWidget(button);
    return button;
}

} // namespace

void TFHotel::RegisterWindow(const QString &actionName, TWindowFactory factory, bool initialise)
{
    windowFactories().insert(actionName, std::move(factory));
    windowInitialises().insert(actionName, initialise);
}

TFHotel::TFHotel(QWidget *parent) : TMainLibraryClass(parent)
{
    registerOwnWindows();
    setObjectName(QStringLiteral("FHotel"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1100, 720);
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(client);
    MdiArea = new QMdiArea(client);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    const QColor boardColour(0xE8, 0xEC, 0xF2);
    MdiArea->setBackground(boardColour);
    // The board lies under the child windows and scrolls to every placed room.
    BoardScroll = new QScrollArea(MdiArea->viewport());
    BoardScroll->setObjectName(QStringLiteral("BoardScroll"));
    BoardScroll->setFrameShape(QFrame::NoFrame);
    BoardScroll->setWidgetResizable(false);
    QPalette board = BoardScroll->palette();
    board.setColor(QPalette::Window, boardColour);
    BoardScroll->setPalette(board);
    BoardScroll->viewport()->setPalette(board);
    BoardScroll->viewport()->setAutoFillBackground(true);
    BoardCanvas = new QWidget;
    BoardCanvas->setObjectName(QStringLiteral("BoardCanvas"));
    BoardScroll->setWidget(BoardCanvas);
    BoardScroll->lower();
    MdiArea->viewport()->installEventFilter(this);
    CreateBoardLegend();

    CreateActions();
    CreateMenu();
    CreateControlBar();
    MDITabControl = new TMDITab(this);
    MDITabControl->setParent(client);
    layout->addWidget(ControlBar1);
    layout->addWidget(MDITabControl);
    lbConnectionLost = new QLabel(client);
    lbConnectionLost->setObjectName(QStringLiteral("lbConnectionLost"));
    lbConnectionLost->setWordWrap(true);
    lbConnectionLost->setMargin(6);
    lbConnectionLost->setStyleSheet(QStringLiteral("background: #b00020; color: white; font-weight: bold;"));
    lbConnectionLost->hide();
    layout->addWidget(lbConnectionLost);
    layout->addWidget(MdiArea, 1);
    CreateStatusBar();

    timerInitRoomStatus = new QTimer(this);
    timerInitRoomStatus->setObjectName(QStringLiteral("timerInitRoomStatus"));
    timerInitRoomStatus->setInterval(10000);
    connect(timerInitRoomStatus, &QTimer::timeout, this, &TFHotel::timerInitRoomStatusTimer);
    // An unattended desk locks: any key or click anywhere in the program counts as attended.
    m_lastInput.start();
    timerIdleLock = new QTimer(this);
    timerIdleLock->setObjectName(QStringLiteral("timerIdleLock"));
    timerIdleLock->setInterval(15000);
    connect(timerIdleLock, &QTimer::timeout, this, &TFHotel::CheckIdle);
    timerIdleLock->start();
    qApp->installEventFilter(this);
    PopupMenu1Operacii = new QMenu(this);
    PopupMenu1Operacii->setObjectName(QStringLiteral("PopupMenu1Operacii"));
    int item = 0;
    for (const char *caption : {"Удължаване на престой ", "Преместване на гост ", "Начисляване на услуги", "Депозити",
                                "Напускане ", "Резервация", "Настаняване"}) {
        QAction *action = PopupMenu1Operacii->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(kPopupCommands[item]));
        connect(action, &QAction::triggered, this, [this, item] { RoomCommand(item); });
        ++item;
    }
    RoomBoard = new TRoomBoard(
        BoardCanvas, PopupMenu1Operacii, [this] { return dtpMainPeriodFilter->date(); },
        [this] { return ComboBox1->currentText(); }, this);
    // Check-in is offered on a room whose guest arrives on the board's day.
    connect(PopupMenu1Operacii, &QMenu::aboutToShow, this, [this] {
        const TRoomButton *button = RoomBoard->Button(RoomBoard->PopupRoom());
        PopupMenu1Operacii->actions().at(kPopupCheckIn)->setVisible(button && (button->Marks() & rmArriving));
    });
    connect(RoomBoard, &TRoomBoard::RoomFocused, this, [this](TRoomButton *button) {
        BoardScroll->ensureWidgetVisible(button, 8, 8);
    });
    connect(RoomBoard, &TRoomBoard::RoomDoubleClicked, this, [this](int room) {
        if (MayRun(QStringLiteral("boardOpenFolio")))
            OpenFolioOfRoom(room, TFFolio::pgGuest);
    });
    // What an operation changed shows on the board now, not at the next tick.
    connect(FrontDeskRun::Changes(), &TFrontDeskChanges::Changed, this, &TFHotel::FilterChanged);
    FormInfo1 = new TFormInfo(this, QStringLiteral("FHotel"));
    // The server went away or came back: said once each time, after the work that found out.
    TADOConnection::SetConnectionNotice([this](bool up) {
        QMetaObject::invokeMethod(this, [this, up] { ConnectionChanged(up); }, Qt::QueuedConnection);
    });
    FormCreate();
}

void TFHotel::ConnectionChanged(bool up)
{
    // While the server is away the board's picture is stale: greyed, under a banner that says so,
    // until it answers again. No box: the operation that found out has said it was not done.
    BoardCanvas->setEnabled(up);
    lbConnectionLost->setText(msgBoardStale);
    lbConnectionLost->setVisible(!up);
    sbHotelInfo->showMessage(up ? msgConnectionBack : msgBoardStale, up ? 10000 : 0);
    if (up)
        RoomBoard->RefreshRoomBoard();
}

TFHotel::~TFHotel()
{
    qApp->removeEventFilter(this);
    TADOConnection::SetConnectionNotice({});
}

void TFHotel::CreateActions()
{
    auto *list = new QObject(this);
    list->setObjectName(QStringLiteral("acMainMenu"));
    for (const TCommand &command : kCommands) {
        auto *action = new QAction(ImageList::Icon(command.Image), QString::fromUtf8(command.Caption), this);
        action->setObjectName(QLatin1String(command.Name));
        action->setProperty("Category", QString::fromUtf8(command.Category));
        action->setProperty("ImageIndex", command.Image);
        const QString name = action->objectName();
        if (command.Kind == TKind::None)
            action->setEnabled(false);
        else
            connect(action, &QAction::triggered, this, [this, name] { RunCommand(name); });
        Shortcuts::Apply(action, true);
        m_actions.insert(name, action);
    }
    // Keys of the desk without a menu item of their own: to the search box, refresh the board, to the board.
    addKeyCommand(QStringLiteral("acHotelSearch"), [this] {
        EditSearchMain->setFocus(Qt::ShortcutFocusReason);
        EditSearchMain->selectAll();
    });
    addKeyCommand(QStringLiteral("acHotelRefresh"), [this] { RoomBoard->RefreshRoomBoard(); });
    addKeyCommand(QStringLiteral("acHotelBoard"), [this] { RoomBoard->FocusBoard(); });
    // Esc never quits at once: it closes what is in front. Ctrl+Tab goes to the next child window
    // (Ctrl+F4, closing the active one, is the child frame's own).
    auto *escape = new QAction(this);
    escape->setObjectName(QStringLiteral("acHotelEscape"));
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WindowShortcut);
    connect(escape, &QAction::triggered, this, &TFHotel::EscapePressed);
    addAction(escape);
    auto *nextChild = new QAction(this);
    nextChild->setObjectName(QStringLiteral("acHotelNextChild"));
    nextChild->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab));
    nextChild->setShortcutContext(Qt::WindowShortcut);
    connect(nextChild, &QAction::triggered, this, [this] { MdiArea->activateNextSubWindow(); });
    addAction(nextChild);
}

void TFHotel::addKeyCommand(const QString &name, std::function<void()> run)
{
    auto *action = new QAction(this);
    action->setObjectName(name);
    Shortcuts::Apply(action, true);
    connect(action, &QAction::triggered, this, std::move(run));
    addAction(action);
}

// The child window in front: the active one, else the one that was active last.
QMdiSubWindow *TFHotel::FrontChild() const
{
    return MdiArea->activeSubWindow() ? MdiArea->activeSubWindow() : MdiArea->currentSubWindow();
}

void TFHotel::EscapePressed()
{
    if (QMdiSubWindow *front = FrontChild()) {
        front->close();  // a window with unsaved rows asks first
        return;
    }
    // MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2: Enter keeps the program open.
    if (TSystemWinOS::ShowMessageBox(msgQuitProgram, msgUserChoiceTitle, 4 | 32 | 256) == TSystemWinOS::IDYES)
        close();
}

QAction *TFHotel::Action(const QString &name) const { return m_actions.value(name); }

void TFHotel::CreateMenu()
{
    mmKALVCM = new QMenuBar(this);
    mmKALVCM->setObjectName(QStringLiteral("mmKALVCM"));
    setMenuBar(mmKALVCM);
    // A menu bar shows an item's picture instead of its caption: these two are read by their captions.
    auto *change = new QAction(QStringLiteral("Смяна на оператор"), this);
    change->setObjectName(QStringLiteral("mnuChangeOperator"));
    change->setStatusTip(msgChangeOperatorHint);
    change->setToolTip(msgChangeOperatorHint);
    connect(change, &QAction::triggered, m_actions.value(QStringLiteral("actOperChangeOperator")), &QAction::trigger);
    mmKALVCM->addAction(change);
    // Beside the operator switch: the operator's own password.
    mnuChangeOwnPassword = new QAction(QStringLiteral("Парола"), this);
    mnuChangeOwnPassword->setObjectName(QStringLiteral("mnuChangeOwnPassword"));
    connect(mnuChangeOwnPassword, &QAction::triggered, this, &TFHotel::ChangeOwnPassword);
    mmKALVCM->addAction(mnuChangeOwnPassword);
    for (const auto &[name, caption] : kMenus) {
        QMenu *menu = mmKALVCM->addMenu(caption);
        menu->setObjectName(name);
        for (const TCommand &command : kCommands)
            if (caption == QString::fromUtf8(command.Category))
                menu->addAction(m_actions.value(QLatin1String(command.Name)));
    }
    auto *exit = new QAction(ImageList::Icon(11), QStringLiteral("Изход"), this);
    exit->setObjectName(QStringLiteral("mnuClose"));
    connect(exit, &QAction::triggered, m_actions.value(QStringLiteral("actClose")), &QAction::trigger);
    mmKALVCM->addAction(exit);
}

QToolBar *TFHotel::CreateCommandPanel(const QString &name, const QStringList &actions)
{
    auto *panel = new QToolBar;
    panel->setObjectName(name);
    panel->setIconSize(QSize(16, 16));
    panel->setToolButtonStyle(Qt::ToolButtonIconOnly);
    panel->setMovable(false);
    panel->setFixedHeight(kPanelHeight);
    // Sixteen-pixel pictures in a 24-pixel band leave no room for the usual padding.
    panel->setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 1px; background: transparent; }"
                                        "QToolButton { padding: 1px; margin: 0px; }"));
    for (const QString &action : actions)
        panel->addAction(m_actions.value(action));
    CommandPanels.insert(name, panel);
    return panel;
}

void TFHotel::CreateToolPanels()
{
    PanelMenu1 = toolPanel(QStringLiteral("PanelMenu1"));
    EditSearchMain = new QLineEdit(PanelMenu1);
    EditSearchMain->setObjectName(QStringLiteral("EditSearchMain"));
    PanelMenu1->layout()->addWidget(EditSearchMain);
    SpeedButton1 = ellipsisButton(PanelMenu1, QStringLiteral("SpeedButton1"));
    connect(EditSearchMain, &QLineEdit::returnPressed, this, &TFHotel::SearchBookings);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFHotel::SearchBookings);

    PanelMenu2 = toolPanel(QStringLiteral("PanelMenu2"));
    stLabelHotel = new TStaticText(QStringLiteral("Хотел"), PanelMenu2);
    stLabelHotel->setObjectName(QStringLiteral("stLabelHotel"));
    stLabelHotel->setFrameStyle(QFrame::NoFrame);
    stLabelHotel->setCursor(Qt::ArrowCursor);
    PanelMenu2->layout()->addWidget(stLabelHotel);
    ComboBox1 = new QComboBox(PanelMenu2);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMaximumWidth(160);
    ComboBox1->setMinimumWidth(110);
    ComboBox1->installEventFilter(this);
    connect(ComboBox1, &QComboBox::textActivated, this, &TFHotel::ComboBox1Select);
    PanelMenu2->layout()->addWidget(ComboBox1);

    pMainPeriodFilter = toolPanel(QStringLiteral("pMainPeriodFilter"));
    dtpMainPeriodFilter = new QDateEdit(pMainPeriodFilter);
    dtpMainPeriodFilter->setObjectName(QStringLiteral("dtpMainPeriodFilter"));
    // The day as every date of the program shows it, whatever the system's locale writes.
    dtpMainPeriodFilter->setDisplayFormat(FormatSettings().ShortDateFormat);
    dtpMainPeriodFilter->setCalendarPopup(true);
    pMainPeriodFilter->layout()->addWidget(dtpMainPeriodFilter);
    spMainFilterDate = ellipsisButton(pMainPeriodFilter, QStringLiteral("spMainFilterDate"));
    connect(dtpMainPeriodFilter, &QDateEdit::dateChanged, this, &TFHotel::FilterChanged);
}

void TFHotel::CreateControlBar()
{
    ControlBar1 = new TControlBar;
    ControlBar1->setObjectName(QStringLiteral("ControlBar1"));
    for (const auto &[name, actions] : kPanels)
        ControlBar1->AddPanel(CreateCommandPanel(name, actions));
    CreateToolPanels();
    for (QWidget *panel : {PanelMenu1, PanelMenu2, pMainPeriodFilter})
        ControlBar1->AddPanel(panel);
    for (QWidget *panel : ControlBar1->Panels()) {
        const TPanelDefault place = panelDefaults().value(panel->objectName());
        ControlBar1->PlacePanel(panel, QRect(place.Left, place.Top, place.Width, kPanelHeight));
    }
    connect(ControlBar1, &TControlBar::MouseUp, this, &TFHotel::ControlBar1MouseUp);
    // Laid out again at a new width, the bar takes the height of its rows.
    connect(ControlBar1, &TControlBar::AlignPosition, this, [this] {
        if (!ControlBar1->AutoSize)
            FitControlBar();
    });
}

void TFHotel::CreateStatusBar()
{
    sbHotelInfo = new QStatusBar(this);
    sbHotelInfo->setObjectName(QStringLiteral("sbHotelInfo"));
    setStatusBar(sbHotelInfo);
}

void TFHotel::FillStatusBar()
{
    // Who works at the desk comes first; the database's own user is named as such.
    const QString login = KalvCLientInfo().LoginName;
    const QList<QPair<int, QString>> panels = {
        {160, msgOperatorLabel + (Rights::CurrentPrivileges().isEmpty() || login.isEmpty() ? msgNobodyLoggedIn : login)},
        {230, msgServerLabel + SqlComputerName + QStringLiteral("\\") + SqlInstance},
        {40, msgNetLabel},
        {200, msgBaseLabel + SqlDataBase},
        {100, msgDbUserLabel + SqlUser},
        {140, msgBusinessDayIs.arg(FrontDesk::Today().toString(QStringLiteral("dd.MM.yyyy")))}};
    for (int i = 0; i < panels.size(); ++i) {
        if (i >= StatusPanels.size()) {
            auto *label = new TStatusPanel(sbHotelInfo);
            label->setObjectName(QStringLiteral("sbHotelInfoPanel%1").arg(i));
            label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
            sbHotelInfo->addWidget(label);
            StatusPanels.append(label);
        }
        StatusPanels[i]->setText(panels.at(i).second);
        static_cast<TStatusPanel *>(StatusPanels[i])->SetPanelWidth(panels.at(i).first);
    }
}

const QStringList &TFHotel::PanelNames()
{
    static const QStringList names = {"atbAdministration", "atbMenu",    "atbSettings", "atbNomen",
                                      "atbOperations",     "atbHelp",    "atbSystems",  "atbReports",
                                      "PanelMenu1",        "PanelMenu2", "pMainPeriodFilter"};
    return names;
}

void TFHotel::StyleControlBar()
{
    ControlBar1->RowSize = 28;
    ControlBar1->GradientStart = QColor(0xC0, 0xC0, 0xC0);
    ControlBar1->GradientEnd = QColor(0xFF, 0xFB, 0xF0);  // 0xF0FBFF as a BGR colour word
    pMainPeriodFilter->setFixedHeight(kPanelHeight);
    pMainPeriodFilter->setAutoFillBackground(true);
    if (pMainPeriodFilter->width() < 5) {
        const QPoint place = ControlBar1->PanelPlace(pMainPeriodFilter);
        ControlBar1->PlacePanel(pMainPeriodFilter, QRect(place.x(), place.y() + kPanelHeight + 5, 450, kPanelHeight));
    }
    ControlBar1->AlignPanels();
    ControlBar1->update();
}

bool TFHotel::SavePanelMenu()
{
    TWideMemIniFile ini(DataFolder + QStringLiteral("Settings.ini"));
    // The whole layout in one write: the file never holds half of it.
    ini.BeginUpdate();
    for (const QString &name : PanelNames()) {
        QWidget *panel = ControlBar1->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
        // The place the user gave the panel, not where a narrow window wraps it to.
        const QPoint place = ControlBar1->PanelPlace(panel);
        ini.WriteInteger(name, QStringLiteral("Height"), kPanelHeight);
        ini.WriteInteger(name, QStringLiteral("Left"), place.x());
        ini.WriteInteger(name, QStringLiteral("Top"), place.y());
        ini.WriteInteger(name, QStringLiteral("Width"), panel->width());
        ini.WriteInteger(name, QStringLiteral("MaxHeight"), kPanelHeight);
        ini.WriteInteger(name, QStringLiteral("MinHeight"), kPanelHeight);
    }
    ini.EndUpdate();
    return true;
}

bool TFHotel::RestorePanelMenu()
{
    // Collapsed tool panels come back at a usable width one row lower.
    if (pMainPeriodFilter->width() > 450)
        pMainPeriodFilter->resize(450, kPanelHeight);
    if (pMainPeriodFilter->width() < 5) {
        const QPoint place = ControlBar1->PanelPlace(pMainPeriodFilter);
        ControlBar1->PlacePanel(pMainPeriodFilter, QRect(place.x(), place.y() + kPanelHeight + 5, 450, kPanelHeight));
        SavePanelMenu();
    }
    for (QWidget *panel : {PanelMenu2, PanelMenu1})
        if (panel->width() < 5) {
            const QPoint place = ControlBar1->PanelPlace(panel);
            ControlBar1->PlacePanel(panel, QRect(place.x(), place.y() + kPanelHeight + 5, 166, kPanelHeight));
            SavePanelMenu();
        }
    const TWideMemIniFile ini(DataFolder + QStringLiteral("Settings.ini"));
    for (const QString &name : PanelNames()) {
        QWidget *panel = ControlBar1->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
        const TPanelDefault place = panelDefaults().value(name);
        // Until the user sizes a bar, it shows all its commands: none hides behind its ">>".
        const int width = qobject_cast<QToolBar *>(panel) ? qMax(place.Width, panel->sizeHint().width()) : place.Width;
        ControlBar1->PlacePanel(panel, QRect(ini.ReadInteger(name, QStringLiteral("Left"), place.Left),
                                             ini.ReadInteger(name, QStringLiteral("Top"), place.Top),
                                             ini.ReadInteger(name, QStringLiteral("Width"), width), kPanelHeight));
        panel->setFixedHeight(kPanelHeight);
    }
    ControlBar1->RowSize = 28;
    ControlBar1->AutoSize = true;
    ControlBar1->AlignPanels();
    return true;
}

void TFHotel::FitControlBar()
{
    ControlBar1->AutoSize = false;
    int top = 0;
    for (QWidget *panel : ControlBar1->Panels())
        top = qMax(top, panel->y());
    ControlBar1->setFixedHeight(top + 26);
}

void TFHotel::ControlBar1MouseUp()
{
    if (!SavePanelMenu())
        TSystemWinOS::ShowMessage(msgPanelMenuSaveError);
    if (!RestorePanelMenu())
        TSystemWinOS::ShowMessage(msgPanelMenuInitFailed);
    FitControlBar();
}

bool TFHotel::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    FormatSettings().ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    FormatSettings().LongDateFormat = QStringLiteral("dd.MM.yyyy");
    FormatSettings().DateSeparator = QLatin1Char('.');
    FormatSettings().DecimalSeparator = QLatin1Char('.');
    StyleControlBar();
    setWindowTitle(msgMainWindowTitle);
    FillStatusBar();
    // The commands that stand on no menu (on the bar's panels only) take their captions too.
    for (const TCommand &command : kCommands)
        if (const QString caption = SettingsCaption(QLatin1String(command.Name)); !caption.isEmpty())
            m_actions.value(QLatin1String(command.Name))->setText(caption);
    LoadMainMenuCaptions(mmKALVCM);
    for (QAction *item : PopupMenu1Operacii->actions())
        if (const QString caption = SettingsCaption(item->objectName()); !caption.isEmpty())
            item->setText(caption);
    AssignMnemonics(PopupMenu1Operacii->actions());
    LoadContainerCaptions(PanelMenu2);
    LoadContainerCaptions(BoardLegend);
    ApplyRights();
    BuildRoomBoard();
    return true;
}

void TFHotel::ApplyRights()
{
    // A command the operator may not run stays in its place, greyed, and says why.
    auto apply = [](QAction *action, const QString &command, bool built) {
        const bool allowed = Rights::HasCommand(command);
        action->setEnabled(built && allowed);
        action->setToolTip(allowed || !built ? Shortcuts::ToolTip(action) : Rights::RefusalText(Rights::RightOfCommand(command)));
    };
    for (const TCommand &command : kCommands)
        apply(m_actions.value(QLatin1String(command.Name)), QLatin1String(command.Name), command.Kind != TKind::None);
    for (QAction *item : PopupMenu1Operacii->actions())
        apply(item, item->objectName(), true);
    const bool search = Rights::HasCommand(QStringLiteral("EditSearchMain"));
    EditSearchMain->setEnabled(search);
    SpeedButton1->setEnabled(search);
    EditSearchMain->setToolTip(search ? QString() : Rights::RefusalText(Rights::RightOfCommand(QStringLiteral("EditSearchMain"))));
    if (mnuChangeOwnPassword)
        mnuChangeOwnPassword->setEnabled(Rights::CurrentOperator() > 0);
}

bool TFHotel::MayRun(const QString &command)
{
    if (Rights::HasCommand(command))
        return true;
    const int right = Rights::RightOfCommand(command);
    TSystemWinOS::ShowMessageBox(Rights::RefusalText(Rights::CurrentPrivileges().isEmpty() ? 0 : qMax(right, 0)),
                                 msgInformationTitle, 48);
    return false;
}

void TFHotel::FormCreate()
{
    if (DatabaseSetupRequired) {
        RestorePanelMenu();
        return;
    }
    dtpMainPeriodFilter->setDate(QDate::currentDate());
    if (!InitializeWindow()) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    // The board opens on the business day the workstations share.
    FrontDesk::ForgetDay();
    dtpMainPeriodFilter->setDate(FrontDesk::Today());
    ShowBusinessDay();
    MDITabControl->setShape(QTabBar::RoundedNorth);
    actOperHotelRoomsRefreshExecute();
}

void TFHotel::showEvent(QShowEvent *event)
{
    TMainLibraryClass::showEvent(event);
    RestorePanelMenu();
    if (!DatabaseSetupRequired)
        FitControlBar();
}

bool TFHotel::MayDiscardStagedRows()
{
    for (QMdiSubWindow *frame : MdiArea->subWindowList()) {
        auto *reservation = qobject_cast<TFOperReservation *>(frame->widget());
        if (reservation && reservation->HasStagedRows()) {
            MDITabControl->setCurrentIndex(MDITabControl->IndexOf(reservation));
            return TSystemWinOS::ShowMessageBox(msgDiscardStagedRows, msgUserChoiceTitle, 36) == TSystemWinOS::IDYES;
        }
    }
    return true;
}

void TFHotel::closeEvent(QCloseEvent *event)
{
    // Rows staged but not saved are lost with the program: the operator says whether to go on.
    if (!m_closingAfterCancel && !MayDiscardStagedRows()) {
        event->ignore();
        return;
    }
    timerInitRoomStatus->stop();
    FormInfo1->Save();
    // The question was asked for the whole program: the windows close without asking again.
    for (QMdiSubWindow *frame : MdiArea->subWindowList())
        if (auto *reservation = qobject_cast<TFOperReservation *>(frame->widget()))
            reservation->DiscardAgreed = true;
    MdiArea->closeAllSubWindows();
    TMainLibraryClass::closeEvent(event);
}

bool TFHotel::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
        m_lastInput.restart();
        break;
    default:
        break;
    }
    // Focus coming back from the list itself is not an entry (the clicked item would be lost).
    const bool entered = (event->type() == QEvent::FocusIn &&
                          static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) ||
                         event->type() == QEvent::MouseButtonPress;
    if (watched == ComboBox1 && entered && !ComboBox1->view()->isVisible())
        ComboBox1Enter();
    if (watched == MdiArea->viewport() && event->type() == QEvent::Resize)
        FitBoardCanvas();
    return TMainLibraryClass::eventFilter(watched, event);
}

bool TFHotel::BuildRoomBoard()
{
    const bool built = RoomBoard->BuildRoomBoard();
    FitBoardCanvas();
    // The rooms' states show with the rooms, not a tick later.
    if (built && timerInitRoomStatus->isActive())
        RoomBoard->RefreshRoomBoard();
    return built;
}

void TFHotel::CreateBoardLegend()
{
    // In the board's corner, above the rooms and below every child window.
    BoardLegend = new QGroupBox(QStringLiteral("Легенда"), BoardScroll);
    BoardLegend->setObjectName(QStringLiteral("BoardLegend"));
    BoardLegend->setAutoFillBackground(true);
    auto *rows = new QGridLayout(BoardLegend);
    rows->setContentsMargins(6, 4, 6, 4);
    rows->setHorizontalSpacing(6);
    rows->setVerticalSpacing(2);
    const QPixmap none;
    const QList<std::tuple<const char *, QPixmap, QColor, const char *>> entries = {
        {"lInfoLegendFree", none, QColor(60, 170, 80, 90), "Свободна"},
        {"lInfoLegendArriving", RoomMarks::Picture(rmArriving), QColor(), "Пристига днес"},
        {"lInfoLegendInHouse", RoomMarks::Picture(rmInHouse), QColor(), "Настанен"},
        {"lInfoLegendLeaving", RoomMarks::Picture(rmLeaving), QColor(), "Напуска днес"},
        {"lInfoLegendDirty", RoomMarks::Picture(rmDirty), QColor(), "Непочистена"},
        {"lInfoLegendCleaning", RoomMarks::Picture(rmCleaning), QColor(), "Почиства се"},
        {"lInfoLegendClosed", RoomMarks::Picture(rmClosed), QColor(120, 120, 120, 90), "Затворена"},
        {"lInfoLegendOverdue", RoomMarks::Picture(rmOverdue), QColor(), "Просрочен"},
        {"lInfoLegendStay", TRoomBoard::StayIcon(), QColor(), "Престой"},
        {"lInfoLegendLeavingIcon", TRoomBoard::LeavingIcon(), QColor(), "Последен ден"}};
    int row = 0;
    for (const auto &[name, picture, tint, caption] : entries) {
        auto *label = new QLabel(QString::fromUtf8(caption), BoardLegend);
        label->setObjectName(QLatin1String(name));
        rows->addWidget(new TLegendSwatch(picture, tint, BoardLegend), row / 2, (row % 2) * 2);
        rows->addWidget(label, row / 2, (row % 2) * 2 + 1);
        ++row;
    }
}

void TFHotel::FitBoardCanvas()
{
    BoardScroll->setGeometry(MdiArea->viewport()->rect());
    BoardLegend->adjustSize();
    const QRect area = BoardScroll->viewport()->geometry();
    BoardLegend->move(area.right() - BoardLegend->width() - 8, area.bottom() - BoardLegend->height() - 8);
    BoardLegend->raise();
    const QRect rooms = BoardCanvas->childrenRect();
    const QSize room(rooms.right() + 1, rooms.bottom() + 1);
    BoardCanvas->resize(BoardScroll->maximumViewportSize().expandedTo(room));
}

void TFHotel::ShowBusinessDay()
{
    const QDate day = FrontDesk::Today();
    if (StatusPanels.size() > 5)
        StatusPanels[5]->setText(msgBusinessDayIs.arg(day.toString(QStringLiteral("dd.MM.yyyy"))));
    if (m_shownBusinessDay.isValid() && day != m_shownBusinessDay && dtpMainPeriodFilter->date() == m_shownBusinessDay)
        dtpMainPeriodFilter->setDate(day);
    m_shownBusinessDay = day;
}

void TFHotel::timerInitRoomStatusTimer()
{
    ShowBusinessDay();
    RoomBoard->RefreshRoomBoard();
    emit BoardRefreshed();
}

void TFHotel::RunCommand(const QString &name)
{
    // However a command is reached (menu, toolbar, key, a flag at start), its right decides.
    if (!MayRun(name))
        return;
    if (name == QLatin1String("actOperChangeOperator"))
        actOperChangeOperatorExecute();
    else if (name == QLatin1String("actOperHotelRoomsRefresh"))
        actOperHotelRoomsRefreshExecute();
    else if (name == QLatin1String("actWinSortCascade"))
        actWinSortCascadeExecute();
    else if (name == QLatin1String("actWinSortArrange"))
        actWinSortArrangeExecute();
    else if (name == QLatin1String("actWinSortTile"))
        actWinSortTileExecute();
    else if (name == QLatin1String("actWinCloseAll"))
        actWinCloseAllExecute();
    else if (name == QLatin1String("actClose"))
        actCloseExecute();
    else if (name == QLatin1String("actOperNastaniavane"))
        actOperNastaniavaneExecute();
    else if (name == QLatin1String("actOperPrikluchvane") || name == QLatin1String("actOperNachislenie"))
        OpenSearch(TFTarsene::scInHouse, QString());
    else if (name == QLatin1String("actOperOtmianaReserv"))
        OpenSearch(TFTarsene::scComing, QString());
    else if (name == QLatin1String("actOperCleanRoom"))
        OpenChildWindow(new TFPochistvane);
    else if (name == QLatin1String("actOperShahmatka"))
        OpenShahmatka();
    else if (name == QLatin1String("actOperAddresCards"))
        actOperAddresCardsExecute();
    else if (name == QLatin1String("actOperZatvaryaneDen"))
        actOperZatvaryaneDenExecute();
    else if (const Reports::TDefinition *report = Reports::DefinitionOfAction(name))
        OpenReport(*report);
    else
        OpenRegisteredWindow(name);
    emit CommandRun(name);
}

template <typename TWindow>
TWindow *TFHotel::FrontChild(const std::function<bool(TWindow *)> &wanted)
{
    for (QMdiSubWindow *frame : MdiArea->subWindowList())
        if (auto *window = qobject_cast<TWindow *>(frame->widget()); window && wanted(window)) {
            MdiArea->setActiveSubWindow(frame);
            return window;
        }
    return nullptr;
}

void TFHotel::OpenRegisteredWindow(const QString &actionName)
{
    const TWindowFactory factory = windowFactories().value(actionName);
    if (factory)
        OpenChildWindow(factory(), windowInitialises().value(actionName, true));
}

void TFHotel::OpenChildWindow(TMainLibraryClass *window, bool initialise)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    LoadFormCaption(window);
    QMdiSubWindow *frame = MdiArea->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowIcon(ImageList::Icon(10));
    // However the window goes (its own "Изход" included), its frame goes with it.
    connect(window, &QObject::destroyed, frame, &QWidget::close, Qt::QueuedConnection);
    // The placement the window remembers applies to the frame that now holds it.
    auto *placement = window->findChild<TFormInfo *>(QString(), Qt::FindDirectChildrenOnly);
    if (placement)
        placement->Load();
    MDITabControl->AddForm(window, 10, window->windowTitle());
    frame->show();
    if (placement)
        placement->ShowStoredState();
    if (initialise)
        window->InitializeWindow();
}

TFReport *TFHotel::OpenReport(const Reports::TDefinition &definition)
{
    auto *report = new TFReport(definition);
    report->SetDefaults(dtpMainPeriodFilter->date(), ComboBox1->currentText());
    connect(report, &TFReport::DocumentRequested, this, &TFHotel::OpenDocument);
    OpenChildWindow(report);
    return report;
}

void TFHotel::OpenFolio(int booking, int stay, int page)
{
    if (booking <= 0)
        return;
    // One folio per booking: a second one would show a balance the first no longer matches.
    TFFolio *folio = FrontChild<TFFolio>([booking](TFFolio *open) { return open->Booking() == booking; });
    if (folio) {
        folio->InitializeWindow();
    } else {
        folio = new TFFolio;
        folio->SetBooking(booking);
        connect(folio, &TFFolio::InvoiceRequested, this, &TFHotel::OpenInvoices);
        OpenChildWindow(folio);
    }
    folio->SelectStay(stay);
    folio->ShowPage(TFFolio::TPage(page));
}

TFFaktura *TFHotel::OpenInvoices(int booking)
{
    // One window of documents per booking, as one folio.
    TFFaktura *invoices = FrontChild<TFFaktura>([booking](TFFaktura *open) { return open->Booking() == booking; });
    if (invoices) {
        invoices->InitializeWindow();
        return invoices;
    }
    invoices = new TFFaktura;
    invoices->SetBooking(booking);
    connect(invoices, &TFFaktura::DocumentRequested, this, &TFHotel::OpenDocument);
    OpenChildWindow(invoices);
    return invoices;
}

TFDokument *TFHotel::OpenDocument(int document)
{
    TFDokument *shown = nullptr;
    try {
        shown = TFDokument::OfInvoice(document);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
    if (shown)
        OpenChildWindow(shown);
    return shown;
}

TFShahmatka *TFHotel::OpenShahmatka()
{
    auto *chart = new TFShahmatka;
    chart->SetDefaults(dtpMainPeriodFilter->date(), ComboBox1->currentText());
    connect(chart, &TFShahmatka::FolioRequested, this,
            [this](int booking, int stay, int page) { OpenFolio(booking, stay, page); });
    connect(chart, &TFShahmatka::ReservationRequested, this,
            [this](const QString &hotel, const QStringList &rooms, const QDate &from, const QDate &to) {
                if (!MayRun(QStringLiteral("actOperReserv")))
                    return;
                auto *reservation = new TFOperReservation;
                OpenChildWindow(reservation);
                reservation->PrefillRooms(hotel, rooms, from, to);
            });
    // The board's refresh is the chart's too.
    connect(this, &TFHotel::BoardRefreshed, chart, &TFShahmatka::Refresh);
    OpenChildWindow(chart);
    return chart;
}

TFTarsene *TFHotel::OpenSearch(int scope, const QString &text)
{
    auto *search = new TFTarsene;
    connect(search, &TFTarsene::FolioRequested, this, [this](int booking, int stay) { OpenFolio(booking, stay); });
    OpenChildWindow(search, false);
    search->Search(TFTarsene::TScope(scope), text, dtpMainPeriodFilter->date());
    return search;
}

void TFHotel::actOperNastaniavaneExecute()
{
    // The day's arrivals once: the open list comes to the front, read again.
    const QDate day = dtpMainPeriodFilter->date();
    if (auto *open = FrontChild<TFNastaniavane>([day](TFNastaniavane *list) { return list->Day() == day; })) {
        open->InitializeWindow();
        return;
    }
    auto *arrivals = new TFNastaniavane;
    connect(arrivals, &TFNastaniavane::FolioRequested, this, [this](int booking, int stay) { OpenFolio(booking, stay); });
    arrivals->SetDay(dtpMainPeriodFilter->date());
    if (!SelectedHotelID.isEmpty())
        arrivals->cbNastaniavaneHotel->setEditText(ComboBox1->currentText());
    OpenChildWindow(arrivals);
}

void TFHotel::actOperAddresCardsExecute()
{
    auto *cards = new TFAdresniKarti;
    cards->SetDay(dtpMainPeriodFilter->date());
    OpenChildWindow(cards);
}

void TFHotel::actOperZatvaryaneDenExecute()
{
    if (auto *open = FrontChild<TFZatvaryaneDen>([](TFZatvaryaneDen *) { return true; })) {
        open->InitializeWindow();
        return;
    }
    auto *close = new TFZatvaryaneDen;
    connect(close, &TFZatvaryaneDen::FolioRequested, this, [this](int booking, int stay) { OpenFolio(booking, stay); });
    connect(close, &TFZatvaryaneDen::CheckInRequested, this, [this](int stay) {
        actOperNastaniavaneExecute();
        if (auto *arrivals = FrontChild<TFNastaniavane>([](TFNastaniavane *) { return true; }))
            arrivals->SelectStay(stay);
    });
    connect(close, &TFZatvaryaneDen::ReportRequested, this, [this](const QDate &day) {
        if (const Reports::TDefinition *daily = Reports::DefinitionOfAction(QStringLiteral("actReportDnevenOtchet"))) {
            TFReport *report = OpenReport(*daily);
            report->SetPeriod(day, day);
        }
    });
    OpenChildWindow(close);
}

void TFHotel::SearchBookings()
{
    if (!MayRun(QStringLiteral("EditSearchMain")))
        return;
    OpenSearch(TFTarsene::scText, EditSearchMain->text().trimmed());
}

void TFHotel::RoomCommand(int item)
{
    if (item < 0 || item > kPopupCheckIn || !MayRun(QLatin1String(kPopupCommands[item])))
        return;
    const int room = RoomBoard->PopupRoom();
    const QDate day = dtpMainPeriodFilter->date();
    TRoomButton *button = RoomBoard->Button(room);
    if (!button)
        return;
    if (item == kPopupReservation) {
        auto *reservation = new TFOperReservation;
        OpenChildWindow(reservation);
        QString hotel;
        LookupFieldValue(QStringLiteral("HotelBuild"), QStringLiteral("q1"), hotel, QStringLiteral("q10"),
                         button->property("HotelID"));
        reservation->Prefill(hotel, button->text(), day);
        return;
    }
    if (item == kPopupCheckIn) {
        OpenFolioOfRoom(room, TFFolio::pgGuest);
        return;
    }
    OpenFolioOfRoom(room, item == kPopupCharge    ? TFFolio::pgCharge
                          : item == kPopupPayment ? TFFolio::pgPayment
                          : item == kPopupLeave   ? TFFolio::pgAccount
                                                  : TFFolio::pgStay);
}

void TFHotel::OpenFolioOfRoom(int room, int page)
{
    const QDate day = dtpMainPeriodFilter->date();
    std::optional<FrontDesk::TStay> stay;
    try {
        stay = FrontDesk::CurrentStayOfRoom(room, day);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        ReportError(error);
        return;
    }
    TRoomButton *button = RoomBoard->Button(room);
    if (!stay || stay->Booking <= 0) {
        TSystemWinOS::ShowMessageBox(msgNoStayOnRoom.arg(button ? button->text() : QString(), day.toString(QStringLiteral("dd.MM.yyyy"))),
                                     msgInformationTitle, 64);
        return;
    }
    OpenFolio(stay->Booking, stay->Id, page);
}

void TFHotel::actAdministrationsConfigDBExecute() { RunCommand(QStringLiteral("actAdministrationsConfigDB")); }
void TFHotel::actSettingsPersonaliseExecute() { RunCommand(QStringLiteral("actSettingsPersonalise")); }
void TFHotel::actHelpAboutAsExecute() { RunCommand(QStringLiteral("actHelpAboutAs")); }

void TFHotel::actOperHotelRoomsRefreshExecute()
{
    if (timerInitRoomStatus->isActive()) {
        timerInitRoomStatus->stop();
    } else {
        timerInitRoomStatus->start();
        QCoreApplication::processEvents();
        RoomBoard->RefreshRoomBoard();  // switched on: right now, not a tick later
    }
}

void TFHotel::actOperChangeOperatorExecute()
{
    FrontDesk::LogEvent(QStringLiteral("operator"), Rights::CurrentOperator(), msgLogOperatorChange);
    LogInAgain();
}

void TFHotel::LockDesk(int minutes)
{
    FrontDesk::LogEvent(QStringLiteral("operator"), Rights::CurrentOperator(), msgLogDeskLocked.arg(minutes));
    LogInAgain();
}

void TFHotel::CheckIdle()
{
    const int minutes = TFNastroiki::IdleLockMinutes();
    // A dialog or message in front is answered first; the lock comes after it.
    if (minutes <= 0 || m_locking || QApplication::activeModalWidget() || Rights::CurrentPrivileges().isEmpty())
        return;
    if (m_lastInput.elapsed() >= qint64(minutes) * IdleMinuteMs)
        LockDesk(minutes);
}

void TFHotel::LogInAgain()
{
    m_locking = true;
    struct TUnlock {
        TFHotel *Window;
        ~TUnlock()
        {
            Window->m_locking = false;
            Window->m_lastInput.restart();
        }
    } unlock{this};
    // From here on nobody works in this window until someone logs in.
    Rights::ClearCurrent();
    hide();
    struct TShowAgain {
        TFHotel *Window;
        ~TShowAgain() { Window->show(); }
    } showAgain{this};
    for (;;) {
        auto login = std::make_unique<TFUserLogin>();
        if (login->InitializeWindow() && login->ShowModal() != mrCancel)
            break;
        // Cancelling ends the program, once the operator agrees to lose unsaved rows; keeping
        // them brings the login back, never the previous operator.
        if (IsTerminateRequested() || MayDiscardStagedRows()) {
            m_closingAfterCancel = true;
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
            return;
        }
    }
    if (StartWithNewOperator)
        RunCommand(QStringLiteral("actNomenOperators"));
    if (StartWithNewHotel)
        RunCommand(QStringLiteral("actNomenHotels"));
    InitializeWindow();
}

void TFHotel::ChangeOwnPassword()
{
    TFParola dialog(TFParola::pmOwn);
    if (dialog.InitializeWindow())
        dialog.ShowModal();
}

void TFHotel::actWinSortCascadeExecute() { MdiArea->cascadeSubWindows(); }

void TFHotel::actWinSortArrangeExecute()
{
    // Minimised windows line up along the bottom edge of the area.
    int left = 0;
    for (QMdiSubWindow *frame : MdiArea->subWindowList())
        if (frame->isMinimized()) {
            frame->move(left, MdiArea->viewport()->height() - frame->height());
            left += frame->width();
        }
}

void TFHotel::actWinSortTileExecute()
{
    const QList<QMdiSubWindow *> frames = MdiArea->subWindowList();
    if (frames.isEmpty())
        return;
    const int height = MdiArea->viewport()->height() / int(frames.size());
    for (int i = 0; i < frames.size(); ++i) {
        frames.at(i)->showNormal();
        frames.at(i)->setGeometry(0, i * height, MdiArea->viewport()->width(), height);
    }
}

void TFHotel::actWinCloseAllExecute()
{
    for (QMdiSubWindow *frame : MdiArea->subWindowList())
        frame->close();
}

void TFHotel::actCloseExecute() { close(); }

void TFHotel::ComboBox1Enter()
{
    std::unique_ptr<QStringList> names(GetFieldValues(QStringLiteral("HotelBuild"), QStringLiteral("q10")));
    const QString current = ComboBox1->currentText();
    const QSignalBlocker quiet(ComboBox1);
    ComboBox1->clear();
    if (names)
        ComboBox1->addItems(*names);
    ComboBox1->addItem(QStringLiteral("FILTAR OFF"));
    ComboBox1->setCurrentIndex(ComboBox1->findText(current));
}

void TFHotel::ComboBox1Select(const QString &text)
{
    QString id;
    LookupFieldValue(QStringLiteral("HotelBuild"), QStringLiteral("q10"), id, QStringLiteral("q1"), text);
    SelectedHotelID = id;
    FilterChanged();
}

void TFHotel::FilterChanged()
{
    // The operator asked for another day or hotel: the board answers now, not at the next tick.
    // A board switched off stays as it is.
    if (timerInitRoomStatus->isActive())
        RoomBoard->RefreshRoomBoard();
}
