#include "UZatvaryaneDen.h"

#include "UFrontDeskRun.h"
#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "desk/URights.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "framework/UFormatSettings.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QBoxLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>

namespace {

QString dayText(const QDate &day) { return day.toString(QStringLiteral("dd.MM.yyyy")); }

QString kindText(DayClose::TItemKind kind)
{
    switch (kind) {
    case DayClose::ikArrival: return msgCloseKindArrival;
    case DayClose::ikDeparture: return msgCloseKindDeparture;
    case DayClose::ikBalance: return msgCloseKindBalance;
    case DayClose::ikDirtyRoom: return msgCloseKindRoom;
    case DayClose::ikCard: return msgCloseKindCard;
    case DayClose::ikReceipt: return msgCloseKindReceipt;
    }
    return QString();
}

} // namespace

TFZatvaryaneDen::TFZatvaryaneDen(QWidget *parent) : TRegisterWindow(QStringLiteral("FZatvaryaneDen"), parent)
{
    resize(940, 600);
    Placement()->SetDesignedSize(size());
    acZatvaryaneDenClose = AddCommand(QStringLiteral("acZatvaryaneDenClose"), QStringLiteral("acZatvaryaneDenClose"),
                                      QStringLiteral("Затвори деня"), [this] { acZatvaryaneDenCloseExecute(); });
    acZatvaryaneDenRefresh = AddCommand(QStringLiteral("acZatvaryaneDenRefresh"), QStringLiteral("acZatvaryaneDenRefresh"),
                                        QStringLiteral("Обнови"), [this] { InitializeWindow(); });
    acZatvaryaneDenReport = AddCommand(QStringLiteral("acZatvaryaneDenReport"), QStringLiteral("acZatvaryaneDenReport"),
                                       QStringLiteral("Дневен отчет"), [this] { acZatvaryaneDenReportExecute(); });
    acZatvaryaneDenSaveRules =
        AddCommand(QStringLiteral("acZatvaryaneDenSaveRules"), QStringLiteral("acZatvaryaneDenSaveRules"),
                   QStringLiteral("Запиши правилата"), [this] { acZatvaryaneDenSaveRulesExecute(); });
    acZatvaryaneDenReopen = AddCommand(QStringLiteral("acZatvaryaneDenReopen"), QStringLiteral("acZatvaryaneDenReopen"),
                                       QStringLiteral("Отвори отново"), [this] { acZatvaryaneDenReopenExecute(); });
    acClose = AddCommand(QStringLiteral("acClose"), QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    Pages()->setObjectName(QStringLiteral("pcZatvaryaneDen"));

    tsZatvaryaneDenOpen = AddSheet(QStringLiteral("tsZatvaryaneDenOpen"), QStringLiteral("Работен ден"));
    // The day and its open items take the page's whole width: the decisions stand at the right.
    gbZatvaryaneDenDay = new QGroupBox(QStringLiteral("Ден"), tsZatvaryaneDenOpen);
    gbZatvaryaneDenDay->setObjectName(QStringLiteral("gbZatvaryaneDenDay"));
    auto *dayLayout = new QVBoxLayout(gbZatvaryaneDenDay);
    lblZatvaryaneDenDay = new QLabel(gbZatvaryaneDenDay);
    lblZatvaryaneDenDay->setObjectName(QStringLiteral("lblZatvaryaneDenDay"));
    dayLayout->addWidget(lblZatvaryaneDenDay);
    tblZatvaryaneDenItems = new QTableWidget(0, 5, gbZatvaryaneDenDay);
    tblZatvaryaneDenItems->setObjectName(QStringLiteral("tblZatvaryaneDenItems"));
    tblZatvaryaneDenItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblZatvaryaneDenItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblZatvaryaneDenItems->setSelectionMode(QAbstractItemView::SingleSelection);
    tblZatvaryaneDenItems->verticalHeader()->hide();
    tblZatvaryaneDenItems->setWordWrap(true);
    tblZatvaryaneDenItems->setMinimumHeight(230);
    dayLayout->addWidget(tblZatvaryaneDenItems);
    tsZatvaryaneDenOpen->layout()->setAlignment(Qt::Alignment());
    tsZatvaryaneDenOpen->layout()->addWidget(gbZatvaryaneDenDay);

    tsZatvaryaneDenRules = AddSheet(QStringLiteral("tsZatvaryaneDenRules"), QStringLiteral("Правила"));
    gbZatvaryaneDenRules = AddGroupBox(tsZatvaryaneDenRules, QStringLiteral("gbZatvaryaneDenRules"),
                                       QStringLiteral("Правила на затварянето"));
    cbZatvaryaneDenHotel = AddLookupBox(gbZatvaryaneDenRules, QStringLiteral("lInfoZatvaryaneDenHotel"),
                                        QStringLiteral("Хотел"), QStringLiteral("cbZatvaryaneDenHotel"),
                                        QStringLiteral("HotelBuild"), QStringLiteral("q10"));
    connect(cbZatvaryaneDenHotel, &QComboBox::currentTextChanged, this, [this] { ShowRules(); });
    chkZatvaryaneDenAutoNoShow = new QCheckBox(QStringLiteral("Неявилите се се отбелязват автоматично"), gbZatvaryaneDenRules);
    chkZatvaryaneDenAutoNoShow->setObjectName(QStringLiteral("chkZatvaryaneDenAutoNoShow"));
    PlaceRow(gbZatvaryaneDenRules, chkZatvaryaneDenAutoNoShow);
    chkZatvaryaneDenChargeNoShow = new QCheckBox(QStringLiteral("Неявяване се таксува с първата нощувка"), gbZatvaryaneDenRules);
    chkZatvaryaneDenChargeNoShow->setObjectName(QStringLiteral("chkZatvaryaneDenChargeNoShow"));
    PlaceRow(gbZatvaryaneDenRules, chkZatvaryaneDenChargeNoShow);
    edZatvaryaneDenBalanceLimit = AddEdit(gbZatvaryaneDenRules, QStringLiteral("lInfoZatvaryaneDenBalanceLimit"),
                                          QStringLiteral("Лимит на салдото"), QStringLiteral("edZatvaryaneDenBalanceLimit"));
    edZatvaryaneDenRetention = AddEdit(gbZatvaryaneDenRules, QStringLiteral("lInfoZatvaryaneDenRetention"),
                                       QStringLiteral("Месеци пазене на данни на гости"), QStringLiteral("edZatvaryaneDenRetention"));

    tsZatvaryaneDenReopen = AddSheet(QStringLiteral("tsZatvaryaneDenReopen"), QStringLiteral("Повторно отваряне"));
    gbZatvaryaneDenReopen = AddGroupBox(tsZatvaryaneDenReopen, QStringLiteral("gbZatvaryaneDenReopen"),
                                        QStringLiteral("Последният затворен ден"));
    edZatvaryaneDenReason = AddEdit(gbZatvaryaneDenReopen, QStringLiteral("lInfoZatvaryaneDenReason"),
                                    QStringLiteral("Причина"), QStringLiteral("edZatvaryaneDenReason"));

    Grid()->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid()->setSelectionMode(QAbstractItemView::SingleSelection);
    Pages()->setCurrentWidget(tsZatvaryaneDenOpen);
}

QString TFZatvaryaneDen::ListSql() const
{
    return QStringLiteral("SELECT z.q234, z.q233, h.q10, z.q235, z.q236, z.q237, z.q238, z.q239, z.q240 + z.q241 + z.q242 "
                          "AS paid FROM ZatvoreniDni z LEFT JOIN HotelBuild h ON (h.q1 = z.q1) WHERE z.q246 IS NULL "
                          "ORDER BY z.q233 DESC, h.q10");
}

QList<TGridColumn> TFZatvaryaneDen::GridColumns() const
{
    const auto money = [](const TField &f) { return TDecimal::FromVariant(f.Value()).ToFixed(2); };
    return {{"q233", colDate, 100, false, [](const TField &f) { return dayText(f.AsDate()); }},
            {"q10", colHotel, 160},
            {"q235", colRoomsToSell, 90},
            {"q236", colNightsSoldShort, 90},
            {"q237", colRoomRevenueShort, 110, false, money},
            {"q238", colServicesShort, 110, false, money},
            {"q239", colTaxShort, 100, false, money},
            {"paid", colPaidShort, 110, false, money}};
}

void TFZatvaryaneDen::LoadCaptions()
{
    LoadToolbarCaptions(Toolbar());
    LoadFormCaption(this);
    for (TTabSheet *sheet : {tsZatvaryaneDenOpen, tsZatvaryaneDenRules, tsZatvaryaneDenReopen})
        LoadTabSheetCaption(sheet);
    for (QGroupBox *box : {gbZatvaryaneDenDay, gbZatvaryaneDenRules, gbZatvaryaneDenReopen})
        LoadContainerCaptions(box);
    tblZatvaryaneDenItems->setHorizontalHeaderLabels({colRoomNumber, colClientName, colCloseKind, colCloseWhat, colCloseDecision});
}

bool TFZatvaryaneDen::InitializeWindow()
{
    TRegisterWindow::InitializeWindow();
    FrontDesk::ForgetDay();
    m_day = FrontDesk::Today();
    lblZatvaryaneDenDay->setText(msgBusinessDayIs.arg(dayText(m_day)));
    FillItems();
    if (cbZatvaryaneDenHotel->currentText().isEmpty()) {
        const QStringList hotels = SelectorValues(QStringLiteral("SELECT q10 FROM HotelBuild ORDER BY q10"));
        if (!hotels.isEmpty())
            cbZatvaryaneDenHotel->setEditText(hotels.first());
    }
    ShowRules();
    acZatvaryaneDenClose->setEnabled(Rights::HasCommand(QStringLiteral("dayClose")));
    acZatvaryaneDenReopen->setEnabled(Rights::HasCommand(QStringLiteral("dayReopen")));
    acZatvaryaneDenSaveRules->setEnabled(Rights::HasCommand(QStringLiteral("dayRules")));
    return true;
}

void TFZatvaryaneDen::FillItems()
{
    try {
        m_items = DayClose::Review();
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        m_items.clear();
        TExceptionLogs::Show(error.Message());
    }
    m_buttons.clear();
    tblZatvaryaneDenItems->clearContents();
    tblZatvaryaneDenItems->setRowCount(int(m_items.size()));
    for (int row = 0; row < m_items.size(); ++row) {
        const DayClose::TItem &item = m_items.at(row);
        const QStringList cells = {item.RoomNumber, item.Guest, kindText(item.Kind), item.Text};
        for (int column = 0; column < cells.size(); ++column) {
            auto *cell = new QTableWidgetItem(cells.at(column));
            if (item.Blocks)
                cell->setForeground(QColor(170, 0, 0));
            tblZatvaryaneDenItems->setItem(row, column, cell);
        }
        tblZatvaryaneDenItems->setCellWidget(row, 4, DecisionsOf(item));
    }
    // The text of each item takes what the decisions leave; the decisions are never cut.
    QHeaderView *header = tblZatvaryaneDenItems->horizontalHeader();
    for (int column : {0, 1, 2})
        tblZatvaryaneDenItems->resizeColumnToContents(column);
    int decisions = header->sectionSizeHint(4);
    for (int row = 0; row < tblZatvaryaneDenItems->rowCount(); ++row)
        if (QWidget *cell = tblZatvaryaneDenItems->cellWidget(row, 4))
            decisions = qMax(decisions, cell->sizeHint().width());
    header->setSectionResizeMode(3, QHeaderView::Stretch);
    header->setSectionResizeMode(4, QHeaderView::Fixed);
    tblZatvaryaneDenItems->setColumnWidth(4, decisions);
    tblZatvaryaneDenItems->resizeRowsToContents();
}

QWidget *TFZatvaryaneDen::DecisionButton(int item, const QString &command) const
{
    return item >= 0 && item < m_buttons.size() ? m_buttons.at(item).value(command) : nullptr;
}

// Each item's decisions beside it, as buttons that run the desk's own operations.
QWidget *TFZatvaryaneDen::DecisionsOf(const DayClose::TItem &item)
{
    auto *box = new QWidget;
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(2, 0, 2, 0);
    QHash<QString, QWidget *> buttons;
    const auto add = [&](const QString &command, const QString &caption, const std::function<void()> &run) {
        auto *button = new QToolButton(box);
        button->setObjectName(command);
        button->setText(caption);
        button->setEnabled(Rights::HasCommand(command));
        connect(button, &QToolButton::clicked, this, run);
        layout->addWidget(button);
        buttons.insert(command, button);
    };
    const int stay = item.Stay, booking = item.Booking;
    const QDate tomorrow = m_day.addDays(1);
    switch (item.Kind) {
    case DayClose::ikArrival:
        add(QStringLiteral("dayCheckIn"), btnCloseCheckIn, [this, stay] { emit CheckInRequested(stay); });
        add(QStringLiteral("dayNoShow"), btnCloseNoShow, [this, stay] { Decide([stay] { FrontDesk::MarkNoShow(stay); }); });
        add(QStringLiteral("dayTomorrow"), btnCloseTomorrow,
            [this, stay, tomorrow] { Decide([stay, tomorrow] { FrontDesk::ChangeDates(stay, tomorrow); }); });
        break;
    case DayClose::ikDeparture:
        add(QStringLiteral("dayCheckOut"), btnCloseCheckOut, [this, stay] {
            if (FrontDeskRun::Run([stay](FrontDesk::TConsent consent) { FrontDesk::CheckOut(stay, consent); }))
                InitializeWindow();
        });
        add(QStringLiteral("dayExtend"), btnCloseExtend,
            [this, stay, tomorrow] { Decide([stay, tomorrow] { FrontDesk::Extend(stay, tomorrow); }); });
        break;
    default:
        break;
    }
    if (booking > 0)
        add(QStringLiteral("dayFolio"), btnCloseFolio, [this, booking, stay] { emit FolioRequested(booking, stay); });
    layout->addStretch();
    m_buttons.append(buttons);
    return box;
}

void TFZatvaryaneDen::Decide(const std::function<void()> &operation)
{
    if (FrontDeskRun::Run([&operation](FrontDesk::TConsent) { operation(); }))
        InitializeWindow();
}

void TFZatvaryaneDen::acZatvaryaneDenCloseExecute()
{
    InitializeWindow();
    const qsizetype blocking = std::count_if(m_items.cbegin(), m_items.cend(), [](const DayClose::TItem &i) { return i.Blocks; });
    if (blocking > 0) {
        TSystemWinOS::ShowMessageBox(msgDayCloseBlocked.arg(blocking), msgWarningTitle, 48);
        return;
    }
    if (TSystemWinOS::ShowMessageBox(msgDayCloseAsk.arg(dayText(m_day), dayText(m_day.addDays(1))), msgWarningTitle, 4 | 32) !=
        TSystemWinOS::IDYES)
        return;
    const QDate closed = m_day;
    if (FrontDeskRun::Run([closed](FrontDesk::TConsent) { DayClose::Close(closed); }))
        TSystemWinOS::ShowMessageBox(msgDayCloseDone.arg(dayText(closed), dayText(closed.addDays(1))), msgWarningTitle, 64);
    InitializeWindow();
}

void TFZatvaryaneDen::acZatvaryaneDenReportExecute()
{
    const QModelIndex current = Grid()->selectionModel() ? Grid()->selectionModel()->currentIndex() : QModelIndex();
    RowChosen(current.isValid() ? current.row() : -1);
}

void TFZatvaryaneDen::RowChosen(int row)
{
    const QVariant day = ListValue(row, QStringLiteral("q233"));
    const QDate chosen = day.isValid() && !day.isNull() ? TField(QString(), day).AsDate() : DayClose::LastClosed();
    if (chosen.isValid())
        emit ReportRequested(chosen);
    else
        TSystemWinOS::ShowMessageBox(msgNoClosedDay, msgWarningTitle, 64);
}

QVariant TFZatvaryaneDen::ChosenHotel() const
{
    const QStringList keys = SelectorValues(QStringLiteral("SELECT q1 FROM HotelBuild WHERE q10 = :sName"),
                                            {{QStringLiteral("sName"), cbZatvaryaneDenHotel->currentText().trimmed()}});
    return keys.isEmpty() ? QVariant() : QVariant(keys.first().toInt());
}

void TFZatvaryaneDen::ShowRules()
{
    const QVariant hotel = ChosenHotel();
    if (!hotel.isValid())
        return;
    try {
        const DayClose::TRules rules = DayClose::Rules(hotel);
        chkZatvaryaneDenAutoNoShow->setChecked(rules.AutoNoShow);
        chkZatvaryaneDenChargeNoShow->setChecked(rules.ChargeNoShow);
        edZatvaryaneDenBalanceLimit->setText(rules.BalanceLimit.IsZero() ? QString() : rules.BalanceLimit.ToFixed(2));
        edZatvaryaneDenRetention->setText(rules.RetentionMonths > 0 ? QString::number(rules.RetentionMonths) : QString());
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
}

void TFZatvaryaneDen::acZatvaryaneDenSaveRulesExecute()
{
    const QVariant hotel = ChosenHotel();
    if (!hotel.isValid()) {
        MarkControlFailed(cbZatvaryaneDenHotel);
        TSystemWinOS::ShowMessageBox(msgChooseHotel, msgWarningTitle, 48);
        return;
    }
    DayClose::TRules rules;
    rules.AutoNoShow = chkZatvaryaneDenAutoNoShow->isChecked();
    rules.ChargeNoShow = chkZatvaryaneDenChargeNoShow->isChecked();
    try {
        const QString limit = edZatvaryaneDenBalanceLimit->text().trimmed();
        rules.BalanceLimit = limit.isEmpty() ? TDecimal() : AmountFromText(limit);
    } catch (const Exception &) {
        MarkControlFailed(edZatvaryaneDenBalanceLimit);
        TSystemWinOS::ShowMessageBox(msgBalanceLimitInvalid, msgWarningTitle, 48);
        return;
    }
    const QString months = edZatvaryaneDenRetention->text().trimmed();
    bool whole = true;
    rules.RetentionMonths = months.isEmpty() ? 0 : months.toInt(&whole);
    if (!whole || rules.RetentionMonths < 0) {
        MarkControlFailed(edZatvaryaneDenRetention);
        TSystemWinOS::ShowMessageBox(msgRetentionInvalid, msgWarningTitle, 48);
        return;
    }
    if (FrontDeskRun::Run([&](FrontDesk::TConsent) { DayClose::SaveRules(hotel, rules); }))
        InitializeWindow();
}

void TFZatvaryaneDen::acZatvaryaneDenReopenExecute()
{
    const QString reason = edZatvaryaneDenReason->text().trimmed();
    if (reason.isEmpty()) {
        MarkControlFailed(edZatvaryaneDenReason);
        TSystemWinOS::ShowMessageBox(msgReopenNeedsReason, msgWarningTitle, 48);
        return;
    }
    if (FrontDeskRun::Run([&reason](FrontDesk::TConsent) { DayClose::Reopen(reason); })) {
        edZatvaryaneDenReason->clear();
        FrontDesk::ForgetDay();
        TSystemWinOS::ShowMessageBox(msgDayReopened.arg(dayText(FrontDesk::Today())), msgWarningTitle, 64);
    }
    InitializeWindow();
}
