#include "UOperReservation.h"

#include "UGuestFinder.h"
#include "desk/UGuests.h"

#include "controls/KalvMenu.h"
#include "data/UADOComunicationControl.h"
#include "data/UDM.h"
#include "desk/URights.h"
#include "data/UDbEngine.h"
#include "desk/UFrontDesk.h"
#include "UFrontDeskRun.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "framework/UFormatSettings.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <algorithm>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

namespace {

const QString kStagingFailed = QStringLiteral("Внимание грешка при създаването на временна база клиенти необходимо е да "
                                              "се защити по уникално име.");


} // namespace

TFOperReservation::TFOperReservation(QWidget *parent) : TRegisterWindow(QStringLiteral("FOperReservation"), parent)
{
    // The guest's fields and the eleven guest kinds in three columns stand side by side.
    resize(930, 560);
    Placement()->SetDesignedSize(size());
    acOperReservationPrepareContragentForReserv =
        AddCommand(QStringLiteral("acOperReservationPrepareContragentForReserv"),
                   QStringLiteral("acOperReservationPrepareContragentForReserv"), QStringLiteral("Добави клиент за резервация"),
                   [this] { acOperReservationPrepareContragentForReservExecute(); });
    acOperReservationSave = AddCommand(QStringLiteral("acOperReservationSave"), QStringLiteral("acOperReservationSave"),
                                       QStringLiteral("Съхрани [Резервирай]"), [this] { acOperReservationSaveExecute(); });
    acClose = AddCommand(QStringLiteral("acClose"), QStringLiteral("acClose"), QStringLiteral("Изход"),
                         [this] { acCloseExecute(); });
    for (QAction *action : Toolbar()->actions())
        if (QWidget *button = Toolbar()->widgetForAction(action))
            button->setMinimumWidth(157);
    Pages()->setObjectName(QStringLiteral("PageControl1"));

    tsOperReservationContragentData =
        AddSheet(QStringLiteral("tsOperReservationContragentData"), QStringLiteral("Данни за клиент"));
    gbContragent = AddGroupBox(tsOperReservationContragentData, QStringLiteral("gbContragent"), QStringLiteral("Резервация"));
    edContragentName = AddEdit(gbContragent, QStringLiteral("lInfoContragentName"), QStringLiteral("Име и фамилия"),
                               QStringLiteral("edContragentName"));
    m_guestFinder = new TGuestFinder(edContragentName);
    connect(m_guestFinder, &TGuestFinder::GuestChosen, this, [this](int guest) { FillGuest(guest); });
    edContragentAddress = AddEdit(gbContragent, QStringLiteral("lInfoContragentAddress"),
                                  QStringLiteral("Адрес на клиент"), QStringLiteral("edContragentAddress"));
    edContragentID = AddEdit(gbContragent, QStringLiteral("lInfoContragentID"), QStringLiteral("ЕГН на клиент"),
                             QStringLiteral("edContragentID"));
    edContragenPassportID = AddEdit(gbContragent, QStringLiteral("lInfoContragenPassportID"), QStringLiteral("ИД паспорт"),
                                    QStringLiteral("edContragenPassportID"));
    cbTarife = AddLookupBox(gbContragent, QStringLiteral("lInfoTarife"), QStringLiteral("Тарифа"),
                            QStringLiteral("cbTarife"), QStringLiteral("Tarife"), QStringLiteral("q50"));
    cbCurrency = AddLookupBox(gbContragent, QStringLiteral("lInfoCurrency"), QStringLiteral("Тип валута"),
                              QStringLiteral("cbCurrency"), QStringLiteral("Valuta"), QStringLiteral("q56"));
    cbCenovPlan = AddLookupBox(gbContragent, QStringLiteral("lInfoCenovPlan"), QStringLiteral("Ценови план"),
                               QStringLiteral("cbCenovPlan"), [this] { return PlanNames(); });
    edAdults = AddEdit(gbContragent, QStringLiteral("lInfoAdults"), QStringLiteral("Възрастни"), QStringLiteral("edAdults"));
    edAdults->setText(QStringLiteral("2"));
    edChildAges = AddEdit(gbContragent, QStringLiteral("lInfoChildAges"), QStringLiteral("Възраст на децата"),
                          QStringLiteral("edChildAges"));
    rgContragentInformation = AddPageRadioGroup(
        tsOperReservationContragentData, QStringLiteral("rgContragentInformation"), QStringLiteral("Информация за клиент"),
        {QStringLiteral("Мъж"), QStringLiteral("Жена"), QStringLiteral("Дете под 7 год."), QStringLiteral("Дете над 7 год."),
         QStringLiteral("Чужденец"), QStringLiteral("Мъж над 70 год."), QStringLiteral("Жена над 70 год."),
         QStringLiteral("Инвалид мъж"), QStringLiteral("Инвалид жена"), QStringLiteral("Vip гост мъж"),
         QStringLiteral("Vip гост жена")});
    rgContragentInformation->SetColumns(3);

    tsOperReservationHotelData = AddSheet(QStringLiteral("tsOperReservationHotelData"), QStringLiteral("Данни за хотел"));
    gbHotel = AddGroupBox(tsOperReservationHotelData, QStringLiteral("gbHotel"),
                          QStringLiteral("Избор на хотел [комплекс, сграда, отдел]"));
    cbHotel = AddLookupBox(gbHotel, QStringLiteral("lInfoHotel"), QStringLiteral("Име на хотел"), QStringLiteral("cbHotel"),
                           QStringLiteral("HotelBuild"), QStringLiteral("q10"));

    tsOperReservationRoomData = AddSheet(QStringLiteral("tsOperReservationRoomData"), QStringLiteral("Данни за стаи"));
    gbRoom = AddGroupBox(tsOperReservationRoomData, QStringLiteral("gbRoom"), QStringLiteral("Избор на стая"));
    cbRoomNumber = AddLookupBox(gbRoom, QStringLiteral("lInfoRoomNumber"), QStringLiteral("Номер на помещение"),
                                QStringLiteral("cbRoomNumber"), [this] { return RoomNumbersOfChosenHotel(); });
    DateTimePicker1 = NewDatePicker(gbRoom, QStringLiteral("DateTimePicker1"), QDate::currentDate());
    PlaceRow(gbRoom, DateTimePicker1, AddLabel(gbRoom, QStringLiteral("lInfoDateFrom"), QStringLiteral("Настаняване от")));
    DateTimePicker2 = NewDatePicker(gbRoom, QStringLiteral("DateTimePicker2"), QDate::currentDate());
    PlaceRow(gbRoom, DateTimePicker2, AddLabel(gbRoom, QStringLiteral("lInfoDateTo"), QStringLiteral("Настаняване до")));
    QLabel *description = AddLabel(gbRoom, QStringLiteral("lInfoRoomDescription"), QStringLiteral("Описание на избраната стая:"));
    labelCharacteristic = new QLabel(gbRoom);
    labelCharacteristic->setObjectName(QStringLiteral("labelCharacteristic"));
    labelCharacteristic->setWordWrap(true);
    labelCharacteristic->setMaximumWidth(300);
    PlaceRow(gbRoom, labelCharacteristic, description, 40);
    connect(cbRoomNumber, &QComboBox::textActivated, this, &TFOperReservation::cbRoomNumberSelect);
    labelNightPrices = new QLabel(gbRoom);
    labelNightPrices->setObjectName(QStringLiteral("labelNightPrices"));
    labelNightPrices->setWordWrap(true);
    labelNightPrices->setMaximumWidth(420);
    PlaceRow(gbRoom, labelNightPrices, AddLabel(gbRoom, QStringLiteral("lInfoNightPrices"), QStringLiteral("Цени по нощувки:")), 90);
    // The nights' prices follow every field they depend on.
    for (QDateEdit *date : {DateTimePicker1, DateTimePicker2})
        connect(date, &QDateEdit::dateChanged, this, &TFOperReservation::ShowNightPrices);
    connect(cbCenovPlan, &QComboBox::currentTextChanged, this, &TFOperReservation::ShowNightPrices);
    connect(cbRoomNumber, &QComboBox::currentTextChanged, this, &TFOperReservation::ShowNightPrices);
    for (QLineEdit *edit : {edAdults, edChildAges})
        connect(edit, &QLineEdit::textChanged, this, &TFOperReservation::ShowNightPrices);

    tsOperReservationPaymentType = AddSheet(QStringLiteral("tsOperReservationPaymentType"), QStringLiteral("Заплащане"));
    gbPayment = AddGroupBox(tsOperReservationPaymentType, QStringLiteral("gbPayment"),
                            QStringLiteral("Начисление на застраховки, такси и служебни суми"));
    cbService = AddLookupBox(gbPayment, QStringLiteral("lInfoService"), QStringLiteral("Избор на услуга"),
                             QStringLiteral("cbService"), QStringLiteral("Uslugi"), QStringLiteral("q33"));
    edQuantity = AddEdit(gbPayment, QStringLiteral("lInfoQuantity"), QStringLiteral("Количество"), QStringLiteral("edQuantity"));
    connect(cbService, &QComboBox::textActivated, this, &TFOperReservation::cbServiceSelect);
    // A row is a room or a service: choosing one greys the other, emptying it gives the other back.
    connect(cbService, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (text.trimmed().isEmpty())
            EnableRoomFields(true);
    });
    connect(cbRoomNumber, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (text.trimmed().isEmpty())
            EnableServiceFields(true);
    });

    tsOperReservationRoomStatus = AddSheet(QStringLiteral("tsOperReservationRoomStatus"), QStringLiteral("Статус"));
    rgOperReservationReservationStatus = AddPageRadioGroup(
        tsOperReservationRoomStatus, QStringLiteral("rgOperReservationReservationStatus"),
        QStringLiteral("Статус на резервацията"),
        {QStringLiteral("Резервира"), QStringLiteral("Заета"), QStringLiteral("Свободна"), QStringLiteral("Частично заета"),
         QStringLiteral("В процес на хигиенизиране"), QStringLiteral("Служебна"), QStringLiteral("Заключена")});
    StagingQuery = new TADOQuery(nullptr, this);
    StagingQuery->setObjectName(QStringLiteral("StagingQuery"));
    Pages()->setCurrentWidget(tsOperReservationContragentData);
}

TFOperReservation::~TFOperReservation() = default;

QString TFOperReservation::ListSql() const { return QStringLiteral("  SELECT * FROM [") + StagingTableName + QLatin1Char(']'); }

QList<TGridColumn> TFOperReservation::GridColumns() const
{
    return {{"q1", colHotelID, 100},          {"q28", colClientID, 100},
            {"q29", colClientName, 100},      {"q27", colTotalSum, 100},
            {"q72", colRoundTotalSum, 100},   {"q78", colTotalAfterRevaluation, 100},
            {"q30", colYear, 100},            {"q31", colSex, 100},
            {"q32", colMoveToNewRoom, 100},   {"q42", colServiceID, 100},
            {"q39", colDateServiceDeficit, 100}, {"q33", colServiceName, 200},
            {"q34", colAccommodationData, 100}, {"q35", colDateOfDeparture, 100},
            {"q36", colReservationStatus, 100}, {"q37", colValidStayFrom, 100},
            {"q38", colValidStayTo, 100},     {"q70", colPrice, 100},
            {"q71", colDays, 100},            {"q51", colTariffID, 100},
            {"q47", colRoomNumber, 100},      {"q57", colCurrencyID, 100},
            {"q109", colDealData, 100},       {"q110", colInvoice, 100},
            {"q112", colRoundType, 100},      {"q113", colRate, 100},
            {"q111", colRoundingDigits, 100}, {"q115", colMainCurrencyRate, 100}};
}

void TFOperReservation::LoadCaptions()
{
    LoadToolbarCaptions(Toolbar());
    LoadFormCaption(this);
    const QList<QPair<TTabSheet *, QGroupBox *>> pages = {{tsOperReservationContragentData, gbContragent},
                                                          {tsOperReservationHotelData, gbHotel},
                                                          {tsOperReservationRoomData, gbRoom},
                                                          {tsOperReservationPaymentType, gbPayment},
                                                          {tsOperReservationRoomStatus, nullptr}};
    for (const auto &[sheet, box] : pages) {
        LoadTabSheetCaption(sheet);
        if (box)
            LoadContainerCaptions(box);
    }
    LoadRadioGroupCaptions(rgContragentInformation);
    LoadRadioGroupCaptions(rgOperReservationReservationStatus);
    // The room's description and the nights' prices have no caption of their own: they stay empty
    // until a room is chosen.
    labelCharacteristic->clear();
    ShowNightPrices();
}

bool TFOperReservation::InitializeWindow()
{
    DateTimePicker1->setDate(FrontDesk::Today());
    DateTimePicker2->setDate(FrontDesk::Today());
    TADOConnection &connection = LocalConnection();
    if (!m_stagingReady) {
        StagingTableName = connection.Engine().StagingTableName(TADOComunicationControl().NewTempTableName());
        try {
            if (!connection.InTransaction())
                connection.BeginTrans();
            connection.Engine().DropStaleStagingTables(connection);
            connection.Execute(connection.Engine().StagingTableStatement(StagingTableName));
            connection.CommitTrans();
            m_stagingReady = true;
        } catch (const Exception &error) {
            connection.RollbackIfOpen();
            LoadCaptions();
            TExceptionLogs::Show(error.Message() + kStagingFailed);
            return false;
        }
    }
    TRegisterWindow::InitializeWindow();
    return StagingQuery->Active();
}

bool TFOperReservation::eventFilter(QObject *watched, QEvent *event)
{
    const bool handled = TRegisterWindow::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        if (watched == cbRoomNumber && cbRoomNumber->currentText().isEmpty())
            EnableServiceFields(true);
        if (watched == cbService && cbService->currentText().isEmpty())
            EnableRoomFields(true);
    }
    return handled;
}

void TFOperReservation::EnableRoomFields(bool on)
{
    DateTimePicker1->setEnabled(on);
    DateTimePicker2->setEnabled(on);
    cbRoomNumber->setEnabled(on);
}

void TFOperReservation::EnableServiceFields(bool on)
{
    edQuantity->setEnabled(on);
    cbService->setEnabled(on);
}

std::optional<TFOperReservation::TRoom> TFOperReservation::FindRoom(const QString &hotelName, const QString &number)
{
    TADOConnection &connection = LocalConnection();
    TADOQuery query(&connection);
    query.SetSQLText(QStringLiteral("SELECT r.q47, r.q46, r.q48, r.q79 FROM Rooms r INNER JOIN HotelBuild h ON (h.q1 = r.q1) "
                                    "WHERE h.q10 = :sHotelName AND r.q44 = :sRoomNumber "));
    query.ParamByName(QStringLiteral("sHotelName")).Value = hotelName;
    query.ParamByName(QStringLiteral("sRoomNumber")).Value = number;
    TTransaction transaction(connection);
    query.Open();
    transaction.Commit();
    if (query.Eof())
        return std::nullopt;
    TRoom room;
    room.Id = query.FieldByName(QStringLiteral("q47")).AsInteger();
    room.Price = TDecimal::FromVariant(query.FieldByName(QStringLiteral("q46")).Value());
    room.Rooms = query.FieldByName(QStringLiteral("q48")).AsString();
    room.Beds = query.FieldByName(QStringLiteral("q79")).AsString();
    return room;
}

QStringList TFOperReservation::RoomNumbersOfChosenHotel()
{
    return SelectorValues(QStringLiteral("SELECT r.q44 FROM Rooms r INNER JOIN HotelBuild h ON (h.q1 = r.q1) "
                                         "WHERE h.q10 = :sHotelName "),
                          {{QStringLiteral("sHotelName"), cbHotel->currentText()}});
}

void TFOperReservation::cbRoomNumberSelect(const QString &room)
{
    EnableServiceFields(false);
    labelCharacteristic->clear();
    if (room.trimmed().isEmpty())
        return;
    try {
        if (const std::optional<TRoom> found = FindRoom(cbHotel->currentText(), room))
            labelCharacteristic->setText(msgRoomDescription.arg(found->Rooms, found->Beds));
    } catch (const Exception &error) {
        TExceptionLogs::Show(error.Message());
    }
}

void TFOperReservation::cbServiceSelect(const QString &) { EnableRoomFields(false); }

bool TFOperReservation::IsRoomChosen() const { return !cbRoomNumber->currentText().trimmed().isEmpty(); }

bool TFOperReservation::IsRoomRow() const
{
    // Decided once per row: a chosen room makes a room row; with neither a room nor a service
    // the row is a room row too, and the empty room selector refuses it.
    return IsRoomChosen() || cbService->currentText().trimmed().isEmpty();
}

int TFOperReservation::AgeFromPersonalNumber(const QString &personalNumber, const QDate &today)
{
    bool ok = personalNumber.size() >= 2 && personalNumber.at(0).isDigit() && personalNumber.at(1).isDigit();
    const int yy = ok ? personalNumber.left(2).toInt(&ok) : 0;
    if (!ok)
        throw EConvertError(QStringLiteral("ЕГН на клиент: '%1' does not start with two digits").arg(personalNumber));
    return today.year() - (yy < 20 ? 2000 + yy : 1900 + yy);
}

QString TFOperReservation::ConflictSql(const QString &table)
{
    return QStringLiteral(" SELECT  q34,q35,q47,q1 FROM ") + table +
           QStringLiteral("  WHERE  q34 < :pdDateToReserv  AND  q35 > :pdDateFromReserv  AND q47 = :piIDroom ") +
           QStringLiteral(" AND ") + FrontDesk::HoldsNights() + QLatin1Char(' ');
}

bool TFOperReservation::HasConflict(const QString &table, const QVariant &room, const QDate &from, const QDate &to)
{
    TADOQuery query(&LocalConnection());
    query.SetSQLText(ConflictSql(table));
    query.ParamByName(QStringLiteral("pdDateFromReserv")).Value = from;
    query.ParamByName(QStringLiteral("pdDateToReserv")).Value = to;
    query.ParamByName(QStringLiteral("piIDroom")).Value = room;
    query.Open();
    return query.RecordCount() > 0;
}

bool TFOperReservation::IsRoomFree(int room, const QDate &from, const QDate &to)
{
    TADOConnection &connection = LocalConnection();
    QString failure;
    try {
        // Klients first, as the server keeps it; then the stays staged in this window, which no
        // other workstation sees: two reads that need no transaction around them (the save
        // checks again under its locks).
        return !HasConflict(QStringLiteral("Klients"), room, from, to) &&
               !HasConflict(connection.Engine().QuoteIdentifier(StagingTableName), room, from, to);
    } catch (const Exception &error) {
        failure = error.Message();
    }
    connection.RollbackIfOpen();
    TExceptionLogs::Show(failure);
    return false;
}

bool TFOperReservation::AddStagedRow()
{
    TADOConnection &connection = LocalConnection();
    const bool roomRow = IsRoomRow();
    // Every value is worked out before the row is appended, so a failure leaves nothing pending.
    const QVariantList hotelRow = LookupFields(QStringLiteral("HotelBuild"), {QStringLiteral("q1")},
                                               {{QStringLiteral("q10"), cbHotel->currentText()}});
    const QVariant hotel = hotelRow.isEmpty() || hotelRow.first().isNull()
                               ? QVariant()
                               : QVariant(TField(QStringLiteral("q1"), hotelRow.first()).AsInteger());
    const bool planned = roomRow && IsPlanChosen();
    const QVariant tariff = planned && cbTarife->currentText().trimmed().isEmpty()
                                ? QVariant(QMetaType::fromType<int>())
                                : QVariant(LookupInteger(QStringLiteral("Тарифа"), QStringLiteral("Tarife"),
                                                         QStringLiteral("q50"), QStringLiteral("q51"), cbTarife->currentText()));
    const QString personal = edContragentID->text();
    const QVariant age = personal.isEmpty() ? QVariant() : QVariant(AgeFromPersonalNumber(personal));
    QList<QPair<QString, QVariant>> values = {
        {QStringLiteral("q28"), personal},
        {QStringLiteral("q1"), hotel},
        {QStringLiteral("q29"), edContragentName->text()},
        {QStringLiteral("q30"), age},
        {QStringLiteral("q31"), rgContragentInformation->Items().value(rgContragentInformation->ItemIndex())},
        {QStringLiteral("q39"), QDateTime::currentDateTime()},
        {QStringLiteral("q51"), tariff}};
    if (roomRow) {
        const std::optional<TRoom> room = FindRoom(cbHotel->currentText(), cbRoomNumber->currentText());
        if (!room)
            throw EConvertError(QStringLiteral("Номер на помещение: '%1' is not in the list").arg(cbRoomNumber->currentText()));
        const QDate from = DateTimePicker1->date(), to = DateTimePicker2->date();
        const qint64 days = from.daysTo(to);
        if (days <= 0) {
            TSystemWinOS::ShowMessage(QStringLiteral("Внимание! Не може почиващия да резервира нула дена престой."));
            return false;
        }
        // The nights before the business day belong to closed days.
        if (from < FrontDesk::Today()) {
            MarkControlFailed(DateTimePicker1);
            TSystemWinOS::ShowMessageBox(msgDayClosed.arg(from.toString(QStringLiteral("dd.MM.yyyy")),
                                                          FrontDesk::Today().toString(QStringLiteral("dd.MM.yyyy"))),
                                         msgWarningTitle, 48);
            return false;
        }
        if (!IsRoomFree(room->Id, from, to)) {
            TSystemWinOS::ShowMessageBox(msgRoomAlreadyBooked,
                                         msgReservationStatusTitle, 64);
            return false;
        }
        QString closed;
        if (!FrontDesk::RoomFree(room->Id, from, to, 0, &closed)) {
            TSystemWinOS::ShowMessageBox(closed, msgReservationStatusTitle, 64);
            return false;
        }
        TDecimal total = (room->Price * TDecimal(days)).Cents(), price = room->Price;
        if (planned) {
            QString why;
            const std::optional<TPlanQuote> quote = QuotePlan(room->Id, from, to, &why);
            if (!quote) {
                MarkControlFailed(cbCenovPlan);
                TSystemWinOS::ShowMessageBox(why, msgReservationStatusTitle, 64);
                return false;
            }
            if (!quote->Violations.isEmpty() && !AgreeToOverride(quote->Violations))
                return false;
            m_planned.append({room->Id, from, quote->Plan, quote->Occupancy, !quote->Violations.isEmpty()});
            total = RatePlans::Total(quote->Nights);
            price = Nights::AveragePerNight(total, int(days));
        }
        values += {{QStringLiteral("q27"), total.ToVariant()},
                   {QStringLiteral("q34"), from},
                   {QStringLiteral("q35"), to},
                   {QStringLiteral("q47"), room->Id},
                   {QStringLiteral("q70"), price.ToVariant()},
                   {QStringLiteral("q71"), days}};
    } else {
        const QVariantList service =
            LookupFields(QStringLiteral("Uslugi"), {QStringLiteral("q40"), QStringLiteral("q42")},
                         {{QStringLiteral("q33"), cbService->currentText()}});
        if (service.isEmpty())
            throw EConvertError(QStringLiteral("Избор на услуга: '%1' is not in the list").arg(cbService->currentText()));
        const TDecimal unitPrice = TDecimal::FromVariant(service.at(0));
        const TDecimal quantity = TDecimal::FromText(edQuantity->text());
        values += {{QStringLiteral("q70"), unitPrice.ToVariant()},
                   {QStringLiteral("q71"), quantity.ToVariant()},
                   {QStringLiteral("q27"), (quantity * unitPrice).Cents().ToVariant()},
                   {QStringLiteral("q42"), TField(QStringLiteral("q42"), service.at(1)).AsString()}};
    }
    try {
        TTransaction transaction(connection);
        StagingQuery->Append();
        for (const auto &[field, value] : values)
            StagingQuery->SetFieldValue(field, value);
        StagingQuery->Post();
        transaction.Commit();
        return true;
    } catch (const Exception &) {
        StagingQuery->Cancel();
        connection.RollbackIfOpen();
        // What the table holds now, not what was appended: a commit may fail after the row was posted.
        StagingQuery->Open();
        throw;
    }
}

QList<QWidget *> TFOperReservation::FailingControls(bool roomRow)
{
    // Every field is checked, so that a field put right loses its mark even when another fails.
    const QList<QWidget *> fields =
        roomRow ? QList<QWidget *>{edContragentName, edContragentID, cbTarife, cbCurrency, cbHotel, cbRoomNumber}
                : QList<QWidget *>{edQuantity, cbTarife};
    // A plan prices the room instead of the tariff.
    const bool tariffNeeded = !(roomRow && IsPlanChosen());
    QList<QWidget *> failing;
    for (QWidget *control : fields)
        if (control == cbTarife && !tariffNeeded)
            ResetControlMark(cbTarife);
        else if (QWidget *failed = CheckControl(control, control == edQuantity ? 2 : 3))
            failing.append(failed);
    return failing;
}

QWidget *TFOperReservation::FirstUnknownName(bool roomRow)
{
    auto unknown = [](const char *table, const char *column, const QString &name) {
        return LookupFields(QLatin1String(table), {QLatin1String(column)}, {{QLatin1String(column), name}}).isEmpty();
    };
    QWidget *failed = nullptr;
    const QString hotel = cbHotel->currentText();
    if (roomRow || !hotel.isEmpty()) {
        if (unknown("HotelBuild", "q10", hotel))
            failed = cbHotel;
        else if (roomRow && !FindRoom(hotel, cbRoomNumber->currentText()))
            failed = cbRoomNumber;
    }
    const bool planned = roomRow && IsPlanChosen();
    if (!failed && (!planned || !cbTarife->currentText().trimmed().isEmpty()) &&
        unknown("Tarife", "q50", cbTarife->currentText()))
        failed = cbTarife;
    if (!failed && planned && !PlanNames().contains(cbCenovPlan->currentText().trimmed()))
        failed = cbCenovPlan;
    if (!failed && roomRow && unknown("Valuta", "q56", cbCurrency->currentText()))
        failed = cbCurrency;
    if (!failed && !roomRow && unknown("Uslugi", "q33", cbService->currentText()))
        failed = cbService;
    MarkControlFailed(failed);
    return failed;
}

void TFOperReservation::acOperReservationPrepareContragentForReservExecute()
{
    try {
        const bool roomRow = IsRoomRow();
        ResetControlMark(cbService);
        QList<QWidget *> failing = FailingControls(roomRow);
        if (failing.isEmpty())
            if (QWidget *unknown = FirstUnknownName(roomRow))
                failing.append(unknown);
        if (!failing.isEmpty()) {
            // The message names the fields to put right; they are the ones marked.
            QStringList names;
            for (QWidget *field : failing)
                names.append(FieldCaption(field));
            TSystemWinOS::ShowMessageBox(msgFillControlsCorrectly + QLatin1Char('\n') +
                                             msgFieldsToFix.arg(names.join(QStringLiteral(", "))),
                                         msgWarningTitle, 64);
            failing.first()->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (!StagingQuery->Active()) {
            TSystemWinOS::ShowMessage(QStringLiteral("Внимание. Не е създадена таблицата за клиентите. Моля проверете за "
                                                     "коректна връзка към база данни или се свържете с Вашия администратор."));
            return;
        }
        if (AddStagedRow()) {
            EnableServiceFields(true);
            EnableRoomFields(true);
            cbRoomNumber->clear();
            cbRoomNumber->setEditText(QString());
            labelCharacteristic->clear();
            // Rooms chosen together on the chart come one after another, with the same nights.
            ChooseNextPendingRoom();
        }
        Pages()->setCurrentWidget(tsOperReservationContragentData);
        edContragentName->setFocus();
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(QStringLiteral("Class name: TFOperReservation\r\nFunction name: "
                                            "acOperReservationAddNachislenieToKlientExecute\r\nDescription Error: ") +
                             error.Message() + QStringLiteral("\r\n"));
    }
}

QDate TFOperReservation::StagedFirstNight()
{
    QDate first;
    for (StagingQuery->First(); !StagingQuery->Eof(); StagingQuery->Next()) {
        const TField from = StagingQuery->FieldByName(QStringLiteral("q34"));
        if (!from.IsNull() && !StagingQuery->FieldByName(QStringLiteral("q47")).IsNull() &&
            (!first.isValid() || from.AsDate() < first))
            first = from.AsDate();
    }
    return first;
}

QList<int> TFOperReservation::StagedRooms()
{
    QList<int> rooms;
    for (StagingQuery->First(); !StagingQuery->Eof(); StagingQuery->Next()) {
        const TField room = StagingQuery->FieldByName(QStringLiteral("q47"));
        if (!room.IsNull() && !rooms.contains(room.AsInteger()))
            rooms.append(room.AsInteger());
    }
    std::sort(rooms.begin(), rooms.end());
    return rooms;
}

bool TFOperReservation::CheckStagedRoomsAgainstKlients(QString &room, QString &closedRoom)
{
    for (StagingQuery->First(); !StagingQuery->Eof(); StagingQuery->Next()) {
        const TField stagedRoom = StagingQuery->FieldByName(QStringLiteral("q47"));
        if (stagedRoom.IsNull())
            continue;  // a service row
        if (HasConflict(QStringLiteral("Klients"), stagedRoom.Value(),
                        StagingQuery->FieldByName(QStringLiteral("q34")).AsDate(),
                        StagingQuery->FieldByName(QStringLiteral("q35")).AsDate())) {
            LookupFieldValue(QStringLiteral("Rooms"), QStringLiteral("q47"), room, QStringLiteral("q44"), stagedRoom.Value());
            if (room.isEmpty())
                room = stagedRoom.AsString();
            return false;
        }
        // A room closed since the row was staged takes it no more.
        if (!FrontDesk::RoomFree(stagedRoom.AsInteger(), StagingQuery->FieldByName(QStringLiteral("q34")).AsDate(),
                                 StagingQuery->FieldByName(QStringLiteral("q35")).AsDate(), 0, &closedRoom))
            return false;
    }
    return true;
}

FrontDesk::TGuest TFOperReservation::Guest() const
{
    FrontDesk::TGuest guest;
    guest.Name = edContragentName->text();
    guest.PersonalNumber = edContragentID->text();
    guest.Passport = edContragenPassportID->text();
    guest.Address = edContragentAddress->text();
    guest.Category = rgContragentInformation->Items().value(rgContragentInformation->ItemIndex());
    guest.RegisterId = m_guestFinder->Chosen();
    return guest;
}

bool TFOperReservation::IsPlanChosen() const { return !cbCenovPlan->currentText().trimmed().isEmpty(); }

// The plans of the chosen hotel and of every hotel.
QStringList TFOperReservation::PlanNames()
{
    QStringList names;
    TADOConnection &connection = LocalConnection();
    try {
        TTransaction transaction(connection);
        const QVariantList hotel = LookupFields(QStringLiteral("HotelBuild"), {QStringLiteral("q1")},
                                                {{QStringLiteral("q10"), cbHotel->currentText()}});
        for (const Nights::TPlanInfo &plan : Nights::PlansOf(connection, hotel.isEmpty() ? QVariant() : hotel.first()))
            names.append(plan.Name);
        transaction.Commit();
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
    return names;
}

std::optional<TFOperReservation::TPlanQuote> TFOperReservation::QuotePlan(int room, const QDate &from, const QDate &to,
                                                                          QString *why)
{
    TADOConnection &connection = LocalConnection();
    try {
        TTransaction transaction(connection);
        TPlanQuote quote;
        const QString name = cbCenovPlan->currentText().trimmed();
        const QVariantList key = LookupFields(QStringLiteral("CenoviPlanove"), {QStringLiteral("q276")},
                                              {{QStringLiteral("q277"), name}});
        const std::optional<Nights::TPlanInfo> plan =
            key.isEmpty() ? std::nullopt : Nights::Plan(connection, TField(QString(), key.first()).AsInteger());
        if (!plan)
            throw EFrontDeskRefused(msgFieldsToFix.arg(FieldCaption(cbCenovPlan)));
        const QVariantList currency = LookupFields(QStringLiteral("Valuta"), {QStringLiteral("q57")},
                                                   {{QStringLiteral("q56"), cbCurrency->currentText()}});
        if (!plan->Currency.isNull() && !currency.isEmpty() &&
            TField(QString(), currency.first()).AsInteger() != TField(QString(), plan->Currency).AsInteger()) {
            QString planCurrency;
            LookupFieldValue(QStringLiteral("Valuta"), QStringLiteral("q57"), planCurrency, QStringLiteral("q56"), plan->Currency);
            throw EFrontDeskRefused(msgRateCurrencyDiffers.arg(plan->Name, planCurrency, cbCurrency->currentText()));
        }
        quote.Plan = plan->Id;
        bool adultsOk = false;
        quote.Occupancy.Adults = edAdults->text().trimmed().toInt(&adultsOk);
        if (!adultsOk || quote.Occupancy.Adults < 1 || quote.Occupancy.Adults > 20)
            throw EFrontDeskRefused(msgFieldsToFix.arg(FieldCaption(edAdults)));
        quote.Occupancy.ChildAges = Nights::AgesOf(edChildAges->text());
        quote.Nights = Nights::Quote(connection, plan->Id, room, quote.Occupancy, from, to);
        quote.Violations = Nights::Violations(connection, plan->Id, from, to);
        transaction.Commit();
        return quote;
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        if (why)
            *why = error.Message();
    }
    return std::nullopt;
}

void TFOperReservation::ShowNightPrices()
{
    const std::optional<TRoom> room =
        IsPlanChosen() ? FindRoom(cbHotel->currentText(), cbRoomNumber->currentText()) : std::nullopt;
    const QDate from = DateTimePicker1->date(), to = DateTimePicker2->date();
    if (!room || from >= to) {
        labelNightPrices->clear();
        return;
    }
    QString why;
    const std::optional<TPlanQuote> quote = QuotePlan(room->Id, from, to, &why);
    if (!quote) {
        labelNightPrices->setText(why);
        return;
    }
    QStringList lines;
    for (const RatePlans::TNight &night : quote->Nights)
        lines.append(night.Night.toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(": ") + AmountText(night.Price));
    lines.append(msgNightPricesTotal.arg(AmountText(RatePlans::Total(quote->Nights))));
    lines += quote->Violations;
    labelNightPrices->setText(lines.join(QLatin1Char('\n')));
}

bool TFOperReservation::AgreeToOverride(const QStringList &violations)
{
    const QString said = violations.join(QLatin1Char('\n'));
    if (!Rights::Has(Rights::rOverrideRestrictions)) {
        TSystemWinOS::ShowMessageBox(said + QLatin1Char('\n') + msgRateNoOverrideRight, msgReservationStatusTitle, 64);
        return false;
    }
    return TSystemWinOS::ShowMessageBox(said + QLatin1Char('\n') + msgRateOverrideQuestion, msgUserChoiceTitle, 36) ==
           TSystemWinOS::IDYES;
}

// A guest of the register found by the name: their data fill the booking's fields.
void TFOperReservation::FillGuest(int id)
{
    std::optional<Guests::TGuest> guest;
    try {
        guest = Guests::Read(id);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
    if (!guest)
        return;
    edContragentName->setText(guest->Name);
    edContragentAddress->setText(guest->Address);
    edContragentID->setText(guest->PersonalNumber);
    edContragenPassportID->setText(guest->DocumentNumber);
}

int TFOperReservation::SaveBooking(TADOConnection &connection)
{
    int stays = 0, charges = 0;
    QVariant hotel;
    for (StagingQuery->First(); !StagingQuery->Eof(); StagingQuery->Next()) {
        ++(StagingQuery->FieldByName(QStringLiteral("q47")).IsNull() ? charges : stays);
        if (hotel.isNull() && !StagingQuery->FieldByName(QStringLiteral("q1")).IsNull())
            hotel = StagingQuery->FieldByName(QStringLiteral("q1")).AsInteger();
    }
    const QVariantList currency = LookupFields(QStringLiteral("Valuta"), {QStringLiteral("q57")},
                                               {{QStringLiteral("q56"), cbCurrency->currentText()}});
    const int booking = FrontDesk::InsertBooking(
        connection, hotel, Guest(),
        currency.isEmpty() ? QVariant() : QVariant(TField(QStringLiteral("q57"), currency.first()).AsInteger()),
        rgOperReservationReservationStatus->Items().value(rgOperReservationReservationStatus->ItemIndex()), stays,
        charges);
    // Every staged row belongs to the booking and is reserved when it reaches Klients.
    connection.Execute(QStringLiteral("UPDATE ") + connection.Engine().QuoteIdentifier(StagingTableName) +
                           QStringLiteral(" SET q124 = ?, q125 = ?, q128 = ?"),
                       {booking, int(FrontDesk::ssReserved),
                        Rights::CurrentOperator() > 0 ? QVariant(Rights::CurrentOperator())
                                                        : QVariant(QMetaType::fromType<int>())});
    return booking;
}

void TFOperReservation::Prefill(const QString &hotelName, const QString &roomNumber, const QDate &day)
{
    PrefillRooms(hotelName, {roomNumber}, day, day.addDays(1));
}

void TFOperReservation::PrefillRooms(const QString &hotelName, const QStringList &roomNumbers, const QDate &from,
                                     const QDate &to)
{
    cbHotel->setEditText(hotelName);
    cbHotel->setCurrentText(hotelName);
    DateTimePicker1->setDate(from);
    DateTimePicker2->setDate(to);
    m_pendingRooms = roomNumbers;
    ChooseNextPendingRoom();
    Pages()->setCurrentWidget(tsOperReservationContragentData);
    edContragentName->setFocus();
}

void TFOperReservation::ChooseNextPendingRoom()
{
    if (m_pendingRooms.isEmpty())
        return;
    const QString room = m_pendingRooms.takeFirst();
    cbRoomNumber->setEditText(room);
    cbRoomNumber->setCurrentText(room);
    cbRoomNumberSelect(room);
}

void TFOperReservation::acOperReservationSaveExecute()
{
    TADOConnection &connection = LocalConnection();
    QString failure, takenRoom, closedRoom;
    int booking = 0;
    if (!HasStagedRows()) {
        TSystemWinOS::ShowMessageBox(msgNothingToSave, msgInformationTitle, 64);
        return;
    }
    try {
        StagingQuery->Open();  // what is staged now
        TADOStoredProc copy(&connection);
        copy.ProcedureName = QStringLiteral("proc_CopyAllTablesValues");
        copy.RefreshParameters();
        copy.ParamByName(QStringLiteral("@tableNameToCopyValues")).Value = StagingTableName;
        copy.ParamByName(QStringLiteral("@tableNameToPasteValues")).Value = QStringLiteral("Klients");
        // The write lock comes before the re-check: another workstation that saves the same
        // room-night at this moment waits, then finds this stay and is refused.
        TTransaction transaction(connection, true);
        connection.Engine().LockRooms(connection, StagedRooms());
        // A day closed since the rows were staged takes no new nights.
        FrontDesk::LockDay(connection);
        FrontDesk::RefuseBeforeToday(StagedFirstNight());
        if (CheckStagedRoomsAgainstKlients(takenRoom, closedRoom)) {
            if (StagingQuery->RecordCount() > 0)
                booking = SaveBooking(connection);
            copy.ExecProc();
            if (booking > 0) {
                Guests::HoldBooking(connection, booking, m_guestFinder->Chosen());
                Nights::PriceBooking(connection, booking, m_planned);
            }
            transaction.Commit();
        } else {
            transaction.Rollback();
        }
    } catch (const EFrontDeskRefused &refusal) {
        closedRoom = refusal.Message();  // a rule of the plan's: said as the rules of the rooms are
    } catch (const Exception &error) {
        failure = error.Message();
    }
    // Nothing is left open while the operator reads the outcome.
    connection.RollbackIfOpen();
    if (!takenRoom.isEmpty()) {
        TSystemWinOS::ShowMessageBox(msgRoomAlreadyBooked +
                                         QStringLiteral(": ") + takenRoom,
                                     msgReservationStatusTitle, 64);
    } else if (!closedRoom.isEmpty()) {
        TSystemWinOS::ShowMessageBox(closedRoom, msgReservationStatusTitle, 64);
    } else if (!failure.isEmpty()) {
        TSystemWinOS::ShowMessage(msgOperationNotSucceeded);
        TExceptionLogs::Show(failure);
    } else if (booking > 0) {
        LastBooking = booking;
        m_planned.clear();
        emit FrontDeskRun::Changes()->Changed();
        TSystemWinOS::ShowMessage(msgBookingSaved.arg(booking));
    } else {
        TSystemWinOS::ShowMessage(msgOperationSucceeded);
    }
    // The grid shows what is still staged.
    try {
        StagingQuery->Open();
    } catch (const Exception &error) {
        TExceptionLogs::Show(error.Message());
    }
}

void TFOperReservation::acCloseExecute() { close(); }

void TFOperReservation::closeEvent(QCloseEvent *event)
{
    if (HasStagedRows() && !DiscardAgreed &&
        TSystemWinOS::ShowMessageBox(msgDiscardWindowRows, msgUserChoiceTitle, 36) != TSystemWinOS::IDYES) {
        event->ignore();
        return;
    }
    TRegisterWindow::closeEvent(event);
    if (event->isAccepted())
        DropStagingTable();
}

void TFOperReservation::DropStagingTable()
{
    if (!m_stagingReady)
        return;
    StagingQuery->Close();
    TADOConnection &connection = LocalConnection();
    try {
        TTransaction transaction(connection);
        connection.Engine().DropStagingTable(connection, StagingTableName);
        transaction.Commit();
        m_stagingReady = false;
    } catch (const Exception &) {
        // Left for a later window to drop as stale: the close itself has nothing to lose.
        connection.RollbackIfOpen();
    }
}
