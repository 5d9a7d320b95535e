#include "UFolio.h"
#include "framework/UFormatSettings.h"
#include "desk/UOperationPreview.h"
#include "framework/UShortcuts.h"

#include "desk/URights.h"
#include "desk/UFiscal.h"

#include "UFrontDeskRun.h"
#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

using namespace FrontDesk;

namespace {

QString dayText(const QDate &day) { return day.toString(QStringLiteral("dd.MM.yyyy")); }
QString moment(const QDateTime &when) { return when.toString(QStringLiteral("dd.MM.yyyy HH:mm")); }

QTableWidget *listTable(QWidget *sheet, const QString &name, const QStringList &titles)
{
    auto *table = new QTableWidget(0, int(titles.size()), sheet);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(titles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setMinimumSize(620, 150);
    static_cast<QBoxLayout *>(sheet->layout())->addWidget(table, 1);
    return table;
}

void addRow(QTableWidget *table, const QStringList &cells)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < cells.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
}

QLineEdit *readOnly(QLineEdit *edit)
{
    edit->setReadOnly(true);
    return edit;
}

} // namespace

TFFolio::TFFolio(QWidget *parent) : TRegisterWindow(QStringLiteral("FFolio"), parent)
{
    // Eleven commands side by side.
    resize(1260, 620);
    Placement()->SetDesignedSize(size());
    auto command = [this](const char *name, const char *caption, void (TFFolio::*handler)()) {
        return AddCommand(QLatin1String(name), QLatin1String(name), QString::fromUtf8(caption),
                          [this, handler] { (this->*handler)(); });
    };
    acFolioCheckIn = command("acFolioCheckIn", "Настаняване", &TFFolio::acFolioCheckInExecute);
    acFolioCheckOut = command("acFolioCheckOut", "Напускане", &TFFolio::acFolioCheckOutExecute);
    acFolioCheckOutAll = command("acFolioCheckOutAll", "Приключване", &TFFolio::acFolioCheckOutAllExecute);
    acFolioExtend = command("acFolioExtend", "Удължаване", &TFFolio::acFolioExtendExecute);
    acFolioMove = command("acFolioMove", "Преместване", &TFFolio::acFolioMoveExecute);
    acFolioCancel = command("acFolioCancel", "Отмяна на престой", &TFFolio::acFolioCancelExecute);
    acFolioCancelAll = command("acFolioCancelAll", "Отмяна на резервация", &TFFolio::acFolioCancelAllExecute);
    acFolioNoShow = command("acFolioNoShow", "Неявил се", &TFFolio::acFolioNoShowExecute);
    acFolioCharge = command("acFolioCharge", "Начисление", &TFFolio::acFolioChargeExecute);
    acFolioPayment = command("acFolioPayment", "Плащане", &TFFolio::acFolioPaymentExecute);
    acFolioInvoice = AddCommand(QStringLiteral("acFolioInvoice"), QStringLiteral("acFolioInvoice"), QStringLiteral("Фактура"),
                                [this] { emit InvoiceRequested(m_booking); });
    acClose = AddCommand(QStringLiteral("acClose"), QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    Pages()->setObjectName(QStringLiteral("pcFolio"));

    tsFolioGuest = AddSheet(QStringLiteral("tsFolioGuest"), QStringLiteral("Гост"));
    gbFolioBooking = AddGroupBox(tsFolioGuest, QStringLiteral("gbFolioBooking"), QStringLiteral("Резервация"));
    edFolioBooking = readOnly(AddEdit(gbFolioBooking, QStringLiteral("lInfoFolioBooking"), QStringLiteral("Номер"),
                                      QStringLiteral("edFolioBooking")));
    edFolioHotel = readOnly(AddEdit(gbFolioBooking, QStringLiteral("lInfoFolioHotel"), QStringLiteral("Хотел"),
                                    QStringLiteral("edFolioHotel")));
    edFolioGuest = readOnly(AddEdit(gbFolioBooking, QStringLiteral("lInfoFolioGuest"), QStringLiteral("Гост"),
                                    QStringLiteral("edFolioGuest")));
    edFolioEntered = readOnly(AddEdit(gbFolioBooking, QStringLiteral("lInfoFolioEntered"), QStringLiteral("Въведена"),
                                      QStringLiteral("edFolioEntered")));
    edFolioCurrency = readOnly(AddEdit(gbFolioBooking, QStringLiteral("lInfoFolioCurrency"), QStringLiteral("Валута"),
                                       QStringLiteral("edFolioCurrency")));
    gbFolioRegistration = AddGroupBox(tsFolioGuest, QStringLiteral("gbFolioRegistration"),
                                      QStringLiteral("Данни за адресна регистрация"));
    edFolioPersonalNumber = AddEdit(gbFolioRegistration, QStringLiteral("lInfoFolioPersonalNumber"),
                                    QStringLiteral("ЕГН"), QStringLiteral("edFolioPersonalNumber"));
    edFolioPassport = AddEdit(gbFolioRegistration, QStringLiteral("lInfoFolioPassport"), QStringLiteral("Паспорт"),
                              QStringLiteral("edFolioPassport"));
    edFolioNationality = AddEdit(gbFolioRegistration, QStringLiteral("lInfoFolioNationality"),
                                 QStringLiteral("Националност"), QStringLiteral("edFolioNationality"));
    edFolioAddress = AddEdit(gbFolioRegistration, QStringLiteral("lInfoFolioAddress"), QStringLiteral("Адрес"),
                             QStringLiteral("edFolioAddress"));

    tsFolioStay = AddSheet(QStringLiteral("tsFolioStay"), QStringLiteral("Престой"));
    gbFolioStay = AddGroupBox(tsFolioStay, QStringLiteral("gbFolioStay"), QStringLiteral("Промяна на избрания престой"));
    dtpFolioDeparture = AddDate(gbFolioStay, QStringLiteral("lInfoFolioDeparture"), QStringLiteral("Нов ден на напускане"),
                                QStringLiteral("dtpFolioDeparture"), FrontDesk::Today());
    cbFolioRoom = AddLookupBox(gbFolioStay, QStringLiteral("lInfoFolioRoom"), QStringLiteral("Нова стая"),
                               QStringLiteral("cbFolioRoom"), [this] { return RoomNumbersOfHotel(); });
    dtpFolioMoveDay = AddDate(gbFolioStay, QStringLiteral("lInfoFolioMoveDay"), QStringLiteral("Ден на преместване"),
                              QStringLiteral("dtpFolioMoveDay"), FrontDesk::Today());

    tsFolioCharge = AddSheet(QStringLiteral("tsFolioCharge"), QStringLiteral("Начисление"));
    gbFolioCharge = AddGroupBox(tsFolioCharge, QStringLiteral("gbFolioCharge"), QStringLiteral("Начисляване на услуга"));
    cbFolioService = AddLookupBox(gbFolioCharge, QStringLiteral("lInfoFolioService"), QStringLiteral("Услуга"),
                                  QStringLiteral("cbFolioService"), QStringLiteral("Uslugi"), QStringLiteral("q33"));
    edFolioQuantity = AddEdit(gbFolioCharge, QStringLiteral("lInfoFolioQuantity"), QStringLiteral("Количество"),
                              QStringLiteral("edFolioQuantity"));
    edFolioQuantity->setText(QStringLiteral("1"));
    dtpFolioChargeDate = AddDate(gbFolioCharge, QStringLiteral("lInfoFolioChargeDate"), QStringLiteral("Дата"),
                                 QStringLiteral("dtpFolioChargeDate"), FrontDesk::Today());
    // A negative quantity takes back what was charged, on the business day, for a reason given.
    edFolioChargeReason = AddEdit(gbFolioCharge, QStringLiteral("lInfoFolioChargeReason"),
                                  QStringLiteral("Причина на корекцията"), QStringLiteral("edFolioChargeReason"));

    tsFolioPayment = AddSheet(QStringLiteral("tsFolioPayment"), QStringLiteral("Плащане"));
    gbFolioPayment = AddGroupBox(tsFolioPayment, QStringLiteral("gbFolioPayment"), QStringLiteral("Плащане"));
    edFolioAmount = AddEdit(gbFolioPayment, QStringLiteral("lInfoFolioAmount"), QStringLiteral("Сума"),
                            QStringLiteral("edFolioAmount"));
    edFolioNote = AddEdit(gbFolioPayment, QStringLiteral("lInfoFolioNote"), QStringLiteral("Бележка"),
                          QStringLiteral("edFolioNote"));
    rgFolioPaymentKind = AddPageRadioGroup(tsFolioPayment, QStringLiteral("rgFolioPaymentKind"), QStringLiteral("Вид"),
                                    {QStringLiteral("Депозит"), QStringLiteral("Плащане"), QStringLiteral("Връщане")});
    rgFolioPaymentMethod =
        AddPageRadioGroup(tsFolioPayment, QStringLiteral("rgFolioPaymentMethod"), QStringLiteral("Начин на плащане"),
                   {QStringLiteral("В брой"), QStringLiteral("С карта"), QStringLiteral("Банков превод")});

    tsFolioAccount = AddSheet(QStringLiteral("tsFolioAccount"), QStringLiteral("Сметка"));
    tblFolioAccount = listTable(tsFolioAccount, QStringLiteral("tblFolioAccount"), {colDate, colItem, colAmount});
    tblFolioAccount->setColumnWidth(1, 380);
    gbFolioTotals = AddGroupBox(tsFolioAccount, QStringLiteral("gbFolioTotals"), QStringLiteral("Сметка"));
    edFolioOwed = readOnly(AddEdit(gbFolioTotals, QStringLiteral("lInfoFolioOwed"), QStringLiteral("Дължимо"),
                                   QStringLiteral("edFolioOwed")));
    edFolioPaid = readOnly(AddEdit(gbFolioTotals, QStringLiteral("lInfoFolioPaid"), QStringLiteral("Платено"),
                                   QStringLiteral("edFolioPaid")));
    edFolioBalance = readOnly(AddEdit(gbFolioTotals, QStringLiteral("lInfoFolioBalance"), QStringLiteral("Остатък"),
                                      QStringLiteral("edFolioBalance")));

    tsFolioHistory = AddSheet(QStringLiteral("tsFolioHistory"), QStringLiteral("История"));
    tblFolioHistory =
        listTable(tsFolioHistory, QStringLiteral("tblFolioHistory"), {colWhen, colOperator, colWorkstation, colChange});
    tblFolioHistory->setColumnWidth(0, 120);

    Grid()->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid()->setSelectionMode(QAbstractItemView::SingleSelection);
    Pages()->setCurrentWidget(tsFolioGuest);
    // Enter does what the page in front is for.
    Toolbar()->SetDefaultCommand([this]() -> QAction * {
        QWidget *page = Pages()->currentWidget();
        if (page == tsFolioGuest)
            return acFolioCheckIn;
        if (page == tsFolioCharge)
            return acFolioCharge;
        if (page == tsFolioPayment)
            return acFolioPayment;
        if (page == tsFolioAccount)
            return acFolioCheckOut;
        return nullptr;  // the stay's page has two changes: its buttons say which
    });
}

QString TFFolio::ListSql() const
{
    // The booking's number is the program's own integer, never typed text.
    return QStringLiteral("SELECT k.q123, r.q44, k.q29, k.q34, k.q35, k.q71, k.q70, k.q27, k.q125, k.q32 "
                          "FROM Klients k LEFT JOIN Rooms r ON (r.q47 = k.q47) WHERE k.q47 IS NOT NULL AND k.q124 = ") +
           QString::number(m_booking) + QStringLiteral(" ORDER BY k.q34, k.q123");
}

QList<TGridColumn> TFFolio::GridColumns() const
{
    const auto money = [](const TField &field) { return AmountText(TDecimal::FromVariant(field.Value())); };
    return {{"q44", colRoomNumber, 110},
            {"q29", colClientName, 200},
            {"q34", colArrival, 100},
            {"q35", colDeparture, 100},
            {"q71", colNights, 90, false, [](const TField &f) { return QString::number(qRound(f.AsFloat())); }},
            {"q70", colPrice, 90, false, money},
            {"q27", colTotalSum, 110, false, money},
            {"q125", colStayStatus, 110, false,
             [](const TField &f) { return StatusName(f.IsNull() ? ssReserved : f.AsInteger()); }},
            {"q32", colMoveToNewRoom, 190, false,
             [](const TField &f) { return f.AsBoolean() ? QStringLiteral("✓") : QString(); }}};
}

void TFFolio::LoadCaptions()
{
    LoadToolbarCaptions(Toolbar());
    LoadFormCaption(this);
    for (TTabSheet *sheet : {tsFolioGuest, tsFolioStay, tsFolioCharge, tsFolioPayment, tsFolioAccount, tsFolioHistory})
        LoadTabSheetCaption(sheet);
    for (QGroupBox *box : {gbFolioBooking, gbFolioRegistration, gbFolioStay, gbFolioCharge, gbFolioPayment, gbFolioTotals})
        LoadContainerCaptions(box);
    LoadRadioGroupCaptions(rgFolioPaymentKind);
    LoadRadioGroupCaptions(rgFolioPaymentMethod);
    m_totalsTitle = gbFolioTotals->title();
}

bool TFFolio::InitializeWindow()
{
    const int chosen = SelectedStay();
    TRegisterWindow::InitializeWindow();
    if (!Grid()->selectionModel()->property("FolioWatched").toBool()) {
        connect(Grid()->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
            SetDefaultsFor(ChosenStay());
            UpdateCommands();
        });
        Grid()->selectionModel()->setProperty("FolioWatched", true);
    }
    try {
        m_folio = ReadFolio(m_booking);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        m_folio.reset();
        TExceptionLogs::Show(error.Message());
    }
    ShowFolio();
    SelectStay(chosen);
    return true;
}

void TFFolio::ShowFolio()
{
    if (!m_folio) {
        for (QLineEdit *edit : {edFolioBooking, edFolioHotel, edFolioGuest, edFolioEntered, edFolioCurrency})
            edit->clear();
        tblFolioAccount->setRowCount(0);
        tblFolioHistory->setRowCount(0);
        UpdateCommands();
        return;
    }
    const TBooking &booking = m_folio->Booking;
    edFolioBooking->setText(QString::number(booking.Number) +
                            (booking.Status.isEmpty() ? QString() : QStringLiteral("  (") + booking.Status + QLatin1Char(')')));
    edFolioHotel->setText(booking.HotelName);
    edFolioGuest->setText(booking.Guest.Name + (booking.Guest.Category.isEmpty()
                                                    ? QString()
                                                    : QStringLiteral(", ") + booking.Guest.Category));
    edFolioEntered->setText(moment(booking.Entered) +
                            (booking.Operator.isEmpty() ? QString() : QStringLiteral(", ") + booking.Operator));
    edFolioCurrency->setText(booking.CurrencyName);
    // What the operator typed and has not stored yet stays; the rest shows what is stored.
    const QList<std::tuple<QLineEdit *, QString, QString>> card = {
        {edFolioPersonalNumber, m_shownGuest.PersonalNumber, booking.Guest.PersonalNumber},
        {edFolioPassport, m_shownGuest.Passport, booking.Guest.Passport},
        {edFolioNationality, m_shownGuest.Nationality, booking.Guest.Nationality},
        {edFolioAddress, m_shownGuest.Address, booking.Guest.Address}};
    for (const auto &[edit, shown, stored] : card)
        if (edit->text() == shown)
            edit->setText(stored);
    m_shownGuest = booking.Guest;
    setWindowTitle(windowTitle().section(QStringLiteral(" — "), 0, 0) + QStringLiteral(" — ") +
                   QString::number(booking.Number) + QStringLiteral(", ") + booking.Guest.Name);
    FillAccount();
    FillHistory();
    UpdateCommands();
}

void TFFolio::FillAccount()
{
    tblFolioAccount->setRowCount(0);
    for (const TStay &stay : m_folio->Stays)
        if (stay.HoldsNights())
            addRow(tblFolioAccount, {dayText(stay.From),
                                     msgAccountStay.arg(stay.RoomNumber, dayText(stay.From), dayText(stay.To))
                                         .arg(stay.Nights)
                                         .arg(AmountText(stay.Price)),
                                     AmountText(stay.Total)});
    for (const TCharge &charge : m_folio->Charges)
        addRow(tblFolioAccount, {dayText(charge.Date),
                                 msgAccountCharge.arg(charge.Service, charge.Quantity.ToString(), AmountText(charge.Price)),
                                 AmountText(charge.Total)});
    for (const TPayment &payment : m_folio->Payments) {
        const QString sign = payment.Kind == pkRefund ? QString() : QStringLiteral("-");
        addRow(tblFolioAccount,
               {dayText(payment.When.date()),
                PaymentKindName(payment.Kind) + QStringLiteral(", ") + PaymentMethodName(payment.Method) +
                    (payment.Note.isEmpty() ? QString() : QStringLiteral(", ") + payment.Note),
                sign + AmountText(payment.Amount)});
    }
    edFolioOwed->setText(AmountText(m_folio->Owed()));
    edFolioPaid->setText(AmountText(m_folio->Paid - m_folio->Refunded));
    edFolioBalance->setText(AmountText(m_folio->Balance()));
    // The booking's currency beside its amounts: the titles say it once for every figure.
    const QString currency = m_folio->Booking.CurrencyName.trimmed();
    gbFolioTotals->setTitle(currency.isEmpty() ? m_totalsTitle : QStringLiteral("%1 (%2)").arg(m_totalsTitle, currency));
    if (!currency.isEmpty()) {
        tblFolioAccount->setHorizontalHeaderItem(
            2, new QTableWidgetItem(QStringLiteral("%1 (%2)").arg(colAmount, currency)));
    }
}

void TFFolio::FillHistory()
{
    tblFolioHistory->setRowCount(0);
    for (const TLogEntry &entry : m_folio->History)
        addRow(tblFolioHistory, {moment(entry.When), entry.Operator, entry.Workstation, entry.Text});
}

void TFFolio::SelectStay(int stay)
{
    TAdoDataSet *rows = ListDataSet();
    if (!rows || rows->RecordCount() == 0)
        return;
    int row = 0;
    const int field = rows->FieldIndex(QStringLiteral("q123"));
    for (int i = 0; i < rows->RecordCount() && field >= 0; ++i)
        if (TField(QString(), rows->CellValue(i, field)).AsInteger() == stay)
            row = i;
    Grid()->selectionModel()->setCurrentIndex(GridModel()->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    SetDefaultsFor(ChosenStay());
    UpdateCommands();
}

int TFFolio::SelectedStay() const
{
    TAdoDataSet *rows = ListDataSet();
    const QModelIndex current = Grid()->selectionModel() ? Grid()->selectionModel()->currentIndex() : QModelIndex();
    if (!rows || !current.isValid() || current.row() >= rows->RecordCount())
        return 0;
    const int field = rows->FieldIndex(QStringLiteral("q123"));
    return field < 0 ? 0 : TField(QString(), rows->CellValue(current.row(), field)).AsInteger();
}

std::optional<TStay> TFFolio::ChosenStay() const
{
    const int id = SelectedStay();
    if (!m_folio || id == 0)
        return std::nullopt;
    for (const TStay &stay : m_folio->Stays)
        if (stay.Id == id)
            return stay;
    return std::nullopt;
}

void TFFolio::ShowPage(TPage page)
{
    const QList<QWidget *> pages = {tsFolioGuest, tsFolioStay, tsFolioCharge, tsFolioPayment, tsFolioAccount, tsFolioHistory};
    Pages()->setCurrentWidget(pages.value(page, tsFolioGuest));
}

void TFFolio::SetDefaultsFor(const std::optional<TStay> &stay)
{
    if (!stay)
        return;
    const QDate today = FrontDesk::Today();
    // The stay's departure as it stands (after an extension: the new one); the operator types another.
    dtpFolioDeparture->setDate(stay->To);
    dtpFolioMoveDay->setDate(stay->Status == ssInHouse ? today : std::max(today, stay->From));
}

void TFFolio::UpdateCommands()
{
    const std::optional<TStay> stay = ChosenStay();
    const QDate today = FrontDesk::Today();
    const int status = stay ? stay->Status : -1;
    const bool haveFolio = m_folio.has_value();
    acFolioCheckIn->setEnabled(status == ssReserved && stay->From <= today && today < stay->To);
    acFolioCheckOut->setEnabled(status == ssInHouse);
    acFolioCheckOutAll->setEnabled(haveFolio && m_folio->HasStatus(ssInHouse));
    acFolioExtend->setEnabled(status == ssReserved || status == ssInHouse);
    acFolioMove->setEnabled(status == ssReserved || status == ssInHouse);
    acFolioCancel->setEnabled(status == ssReserved);
    acFolioCancelAll->setEnabled(haveFolio && m_folio->HasStatus(ssReserved));
    acFolioNoShow->setEnabled(status == ssReserved && stay->From < today);
    acFolioCharge->setEnabled(haveFolio);
    acFolioPayment->setEnabled(haveFolio);
    acFolioInvoice->setEnabled(haveFolio);
    // What the stay allows, the operator may still not: greyed, saying why.
    const QList<QPair<QAction *, const char *>> commands = {
        {acFolioCheckIn, "folioCheckIn"},   {acFolioCheckOut, "folioCheckOut"},  {acFolioCheckOutAll, "folioCheckOut"},
        {acFolioExtend, "folioExtend"},     {acFolioMove, "folioMove"},          {acFolioCancel, "folioCancel"},
        {acFolioCancelAll, "folioCancel"},  {acFolioNoShow, "folioNoShow"},      {acFolioCharge, "folioCharge"},
        {acFolioPayment, "folioPayment"},   {acFolioInvoice, "folioInvoice"}};
    for (const auto &[action, command] : commands) {
        const bool allowed = Rights::HasCommand(QLatin1String(command));
        action->setToolTip(allowed ? Shortcuts::ToolTip(action) : Rights::RefusalText(Rights::RightOfCommand(QLatin1String(command))));
        if (!allowed)
            action->setEnabled(false);
    }
}

TGuest TFFolio::Registration() const
{
    TGuest guest;
    guest.PersonalNumber = edFolioPersonalNumber->text();
    guest.Passport = edFolioPassport->text();
    guest.Nationality = edFolioNationality->text();
    guest.Address = edFolioAddress->text();
    return guest;
}

QStringList TFFolio::RoomNumbersOfHotel()
{
    if (m_folio && !m_folio->Booking.Hotel.isNull())
        return SelectorValues(QStringLiteral("SELECT q44 FROM Rooms WHERE q1 = :iHotel ORDER BY q44"),
                              {{QStringLiteral("iHotel"), m_folio->Booking.Hotel}});
    return SelectorValues(QStringLiteral("SELECT q44 FROM Rooms ORDER BY q44"));
}

bool TFFolio::RunOnStay(const std::function<void(int, TConsent)> &operation)
{
    const int stay = SelectedStay();
    if (stay == 0) {
        TSystemWinOS::ShowMessageBox(msgChooseRow, msgWarningTitle, 48);
        return false;
    }
    const bool done = FrontDeskRun::Run([&](TConsent consent) { operation(stay, consent); });
    AfterOperation(stay);
    return done;
}

bool TFFolio::Confirm(const QString &preview)
{
    // MB_YESNO | MB_ICONQUESTION: Enter says yes, Esc no.
    return TSystemWinOS::ShowMessageBox(preview, msgPreviewTitle, 4 | 32) == TSystemWinOS::IDYES;
}

void TFFolio::AfterOperation(int stay)
{
    emit FrontDeskRun::Changes()->Changed();
    InitializeWindow();
    SelectStay(stay);
}

void TFFolio::acFolioCheckInExecute()
{
    const TGuest card = Registration();
    RunOnStay([&card](int stay, TConsent consent) { CheckIn(stay, card, consent); });
}

void TFFolio::acFolioCheckOutExecute()
{
    if (const auto stay = ChosenStay(); stay && m_folio && !Confirm(OperationPreview::CheckOut(*m_folio, *stay)))
        return;
    RunOnStay([](int stay, TConsent consent) { CheckOut(stay, consent); });
}

void TFFolio::acFolioCheckOutAllExecute()
{
    if (m_folio && m_folio->HasStatus(ssInHouse) && !Confirm(OperationPreview::CheckOutBooking(*m_folio)))
        return;
    const int booking = m_booking;
    FrontDeskRun::Run([booking](TConsent consent) { CheckOutBooking(booking, consent); });
    AfterOperation(SelectedStay());
}

void TFFolio::acFolioExtendExecute()
{
    const QDate departure = dtpFolioDeparture->date();
    // An unchanged or impossible date is refused by the rule itself, without a question first.
    if (const auto stay = ChosenStay(); stay && m_folio && departure > stay->From && departure != stay->To &&
                                        !Confirm(OperationPreview::Extension(*m_folio, *stay, departure)))
        return;
    RunOnStay([departure](int stay, TConsent) { Extend(stay, departure); });
}

void TFFolio::acFolioMoveExecute()
{
    const QString number = cbFolioRoom->currentText().trimmed();
    const QDate day = dtpFolioMoveDay->date();
    QVariantList room;
    try {
        room = m_folio && !m_folio->Booking.Hotel.isNull()
                   ? LookupFields(QStringLiteral("Rooms"), {QStringLiteral("q47")},
                                  {{QStringLiteral("q44"), number}, {QStringLiteral("q1"), m_folio->Booking.Hotel}})
                   : LookupFields(QStringLiteral("Rooms"), {QStringLiteral("q47")}, {{QStringLiteral("q44"), number}});
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
        return;
    }
    if (number.isEmpty() || room.isEmpty()) {
        MarkControlFailed(cbFolioRoom);
        TSystemWinOS::ShowMessageBox(msgUnknownRoom, msgWarningTitle, 48);
        return;
    }
    const int target = TField(QString(), room.first()).AsInteger();
    const auto chosen = ChosenStay();
    if (chosen && m_folio && chosen->Room != target && !Confirm(OperationPreview::Move(*m_folio, *chosen, number, day)))
        return;
    const TConsent reprice = chosen && chosen->Room != target ? FrontDeskRun::RepriceChoice(*chosen, number) : TConsent();
    int moved = 0;
    const bool done = FrontDeskRun::Run([&](TConsent consent) {
        const int stay = SelectedStay();
        if (stay == 0)
            throw EFrontDeskRefused(msgChooseRow);
        moved = Move(stay, target, day, consent);
    }, reprice);
    AfterOperation(done ? moved : SelectedStay());
}

void TFFolio::acFolioCancelExecute()
{
    RunOnStay([](int stay, TConsent) { Cancel(stay); });
}

void TFFolio::acFolioCancelAllExecute()
{
    const int booking = m_booking;
    FrontDeskRun::Run([booking](TConsent) { CancelBooking(booking); });
    AfterOperation(SelectedStay());
}

void TFFolio::acFolioNoShowExecute()
{
    RunOnStay([](int stay, TConsent) { MarkNoShow(stay); });
}

void TFFolio::acFolioChargeExecute()
{
    QVariantList service;
    try {
        service = LookupFields(QStringLiteral("Uslugi"), {QStringLiteral("q42"), QStringLiteral("q40")},
                               {{QStringLiteral("q33"), cbFolioService->currentText()}});
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
        return;
    }
    if (service.isEmpty()) {
        MarkControlFailed(cbFolioService);
        TSystemWinOS::ShowMessageBox(msgUnknownService, msgWarningTitle, 48);
        return;
    }
    TDecimal quantity;
    try {
        quantity = AmountFromText(edFolioQuantity->text());
    } catch (const Exception &) {
        MarkControlFailed(edFolioQuantity);
        TSystemWinOS::ShowMessageBox(msgQuantityInvalid, msgWarningTitle, 48);
        return;
    }
    const int booking = m_booking, item = TField(QString(), service.first()).AsInteger();
    const QDate date = dtpFolioChargeDate->date();
    const TDecimal price = TDecimal::FromVariant(service.value(1));
    if (m_folio && TDecimal() < quantity &&
        !Confirm(OperationPreview::Charge(*m_folio, cbFolioService->currentText(), price, quantity)))
        return;
    const QString reason = edFolioChargeReason->text().trimmed();
    if (FrontDeskRun::Run([&](TConsent consent) { Charge(booking, item, quantity, date, consent, reason); }))
        edFolioChargeReason->clear();
    AfterOperation(SelectedStay());
}

void TFFolio::acFolioPaymentExecute()
{
    TDecimal amount;
    try {
        amount = AmountFromText(edFolioAmount->text());
    } catch (const Exception &) {
        MarkControlFailed(edFolioAmount);
        TSystemWinOS::ShowMessageBox(msgAmountInvalid, msgWarningTitle, 48);
        return;
    }
    const int booking = m_booking;
    const auto kind = TPaymentKind(rgFolioPaymentKind->ItemIndex());
    const auto method = TPaymentMethod(rgFolioPaymentMethod->ItemIndex());
    const QString note = edFolioNote->text();
    if (m_folio && TDecimal() < amount && !Confirm(OperationPreview::Payment(*m_folio, kind, method, amount)))
        return;
    if (FrontDeskRun::Run([&](TConsent consent) { Fiscal::Pay(booking, kind, method, amount, note, consent); })) {
        edFolioAmount->clear();
        edFolioNote->clear();
    }
    AfterOperation(SelectedStay());
}
