#include "UNastaniavane.h"

#include "UFrontDeskRun.h"
#include "UOperReservation.h"
#include "UStayGuestsPanel.h"
#include "desk/UTouristTax.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QHeaderView>
#include <QLayout>

using namespace FrontDesk;

TFNastaniavane::TFNastaniavane(QWidget *parent) : TRegisterWindow(QStringLiteral("FNastaniavane"), parent)
{
    resize(900, 560);
    Placement()->SetDesignedSize(size());
    acNastaniavaneCheckIn = AddCommand(QStringLiteral("acNastaniavaneCheckIn"), QStringLiteral("acNastaniavaneCheckIn"),
                                       QStringLiteral("Настани"), [this] { acNastaniavaneCheckInExecute(); });
    acNastaniavaneWalkIn = AddCommand(QStringLiteral("acNastaniavaneWalkIn"), QStringLiteral("acNastaniavaneWalkIn"),
                                      QStringLiteral("Настани без резервация"), [this] { acNastaniavaneWalkInExecute(); });
    acNastaniavaneFolio = AddCommand(QStringLiteral("acNastaniavaneFolio"), QStringLiteral("acNastaniavaneFolio"),
                                     QStringLiteral("Сметка"), [this] { acNastaniavaneFolioExecute(); });
    acClose = AddCommand(QStringLiteral("acClose"), QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    Pages()->setObjectName(QStringLiteral("pcNastaniavane"));

    tsNastaniavaneCard = AddSheet(QStringLiteral("tsNastaniavaneCard"), QStringLiteral("Пристигащи"));
    gbNastaniavaneDay = AddGroupBox(tsNastaniavaneCard, QStringLiteral("gbNastaniavaneDay"), QStringLiteral("Ден"));
    dtpNastaniavaneDay = AddDate(gbNastaniavaneDay, QStringLiteral("lInfoNastaniavaneDay"), QStringLiteral("Пристигащи до"),
                                 QStringLiteral("dtpNastaniavaneDay"), FrontDesk::Today());
    connect(dtpNastaniavaneDay, &QDateEdit::dateChanged, this, [this] { InitializeWindow(); });
    gbNastaniavaneCard = AddGroupBox(tsNastaniavaneCard, QStringLiteral("gbNastaniavaneCard"),
                                     QStringLiteral("Данни за адресна регистрация"));
    edNastaniavanePersonalNumber = AddEdit(gbNastaniavaneCard, QStringLiteral("lInfoNastaniavanePersonalNumber"),
                                           QStringLiteral("ЕГН"), QStringLiteral("edNastaniavanePersonalNumber"));
    edNastaniavanePassport = AddEdit(gbNastaniavaneCard, QStringLiteral("lInfoNastaniavanePassport"),
                                     QStringLiteral("Паспорт"), QStringLiteral("edNastaniavanePassport"));
    edNastaniavaneNationality = AddEdit(gbNastaniavaneCard, QStringLiteral("lInfoNastaniavaneNationality"),
                                        QStringLiteral("Националност"), QStringLiteral("edNastaniavaneNationality"));
    edNastaniavaneAddress = AddEdit(gbNastaniavaneCard, QStringLiteral("lInfoNastaniavaneAddress"),
                                    QStringLiteral("Адрес"), QStringLiteral("edNastaniavaneAddress"));
    // Due, or the ground of the exemption the guest shows (the first item: due).
    cbNastaniavaneTax = new QComboBox(gbNastaniavaneCard);
    cbNastaniavaneTax->setObjectName(QStringLiteral("cbNastaniavaneTax"));
    cbNastaniavaneTax->addItem(msgTaxDue);
    cbNastaniavaneTax->addItems(TouristTax::ExemptionReasons());
    PlaceRow(gbNastaniavaneCard, cbNastaniavaneTax,
             AddLabel(gbNastaniavaneCard, QStringLiteral("lInfoNastaniavaneTax"), lblTaxExemption));

    tsNastaniavaneGuests = AddSheet(QStringLiteral("tsNastaniavaneGuests"), QStringLiteral("Гости в стаята"));
    pnNastaniavaneGuests = new TStayGuestsPanel(tsNastaniavaneGuests);
    tsNastaniavaneGuests->layout()->addWidget(pnNastaniavaneGuests);

    tsNastaniavaneWalkIn = AddSheet(QStringLiteral("tsNastaniavaneWalkIn"), QStringLiteral("Гост без резервация"));
    gbNastaniavaneWalkIn = AddGroupBox(tsNastaniavaneWalkIn, QStringLiteral("gbNastaniavaneWalkIn"),
                                       QStringLiteral("Гост без резервация"));
    edNastaniavaneName = AddEdit(gbNastaniavaneWalkIn, QStringLiteral("lInfoNastaniavaneName"),
                                 QStringLiteral("Име и фамилия"), QStringLiteral("edNastaniavaneName"));
    cbNastaniavaneHotel = AddLookupBox(gbNastaniavaneWalkIn, QStringLiteral("lInfoNastaniavaneHotel"),
                                       QStringLiteral("Хотел"), QStringLiteral("cbNastaniavaneHotel"),
                                       QStringLiteral("HotelBuild"), QStringLiteral("q10"));
    cbNastaniavaneRoom = AddLookupBox(gbNastaniavaneWalkIn, QStringLiteral("lInfoNastaniavaneRoom"), QStringLiteral("Стая"),
                                      QStringLiteral("cbNastaniavaneRoom"), [this] { return RoomNumbersOfChosenHotel(); });
    dtpNastaniavaneDeparture = AddDate(gbNastaniavaneWalkIn, QStringLiteral("lInfoNastaniavaneDeparture"),
                                       QStringLiteral("Напускане"), QStringLiteral("dtpNastaniavaneDeparture"),
                                       FrontDesk::Today().addDays(1));

    tsNastaniavaneOverdue = AddSheet(QStringLiteral("tsNastaniavaneOverdue"), QStringLiteral("Просрочени"));
    tblNastaniavaneOverdue = new QTableWidget(0, 5, tsNastaniavaneOverdue);
    tblNastaniavaneOverdue->setObjectName(QStringLiteral("tblNastaniavaneOverdue"));
    tblNastaniavaneOverdue->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblNastaniavaneOverdue->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblNastaniavaneOverdue->setSelectionMode(QAbstractItemView::SingleSelection);
    tblNastaniavaneOverdue->verticalHeader()->hide();
    tblNastaniavaneOverdue->setHorizontalHeaderLabels(
        {colBookingNumber, colRoomNumber, colClientName, colDeparture, colNightsOverdue});
    tblNastaniavaneOverdue->horizontalHeader()->setStretchLastSection(true);
    tsNastaniavaneOverdue->layout()->addWidget(tblNastaniavaneOverdue);
    connect(tblNastaniavaneOverdue, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (row >= 0 && row < m_overdue.size())
            emit FolioRequested(m_overdue.at(row).Booking, m_overdue.at(row).Id);
    });

    Grid()->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid()->setSelectionMode(QAbstractItemView::SingleSelection);
    Pages()->setCurrentWidget(tsNastaniavaneCard);
}

QDate TFNastaniavane::Day() const
{
    return dtpNastaniavaneDay->date();
}

void TFNastaniavane::SetDay(const QDate &day)
{
    const QSignalBlocker quiet(dtpNastaniavaneDay);
    dtpNastaniavaneDay->setDate(day);
}

QString TFNastaniavane::ListSql() const
{
    return QStringLiteral("SELECT k.q123, k.q124, r.q44, k.q29, k.q34, k.q35, k.q71, k.q27 FROM Klients k "
                          "INNER JOIN Rooms r ON (r.q47 = k.q47) WHERE k.q125 = 0 AND k.q34 <= :dDay "
                          "AND k.q35 > :dDay2 ORDER BY k.q34, r.q44");
}

QList<TParameter> TFNastaniavane::ListParameters() const
{
    return {{QStringLiteral("dDay"), dtpNastaniavaneDay->date()}, {QStringLiteral("dDay2"), dtpNastaniavaneDay->date()}};
}

QList<TGridColumn> TFNastaniavane::GridColumns() const
{
    return {{"q124", colBookingNumber, 120},
            {"q44", colRoomNumber, 110},
            {"q29", colClientName, 200},
            {"q34", colArrival, 100},
            {"q35", colDeparture, 100},
            {"q71", colNights, 90, false, [](const TField &f) { return QString::number(qRound(f.AsFloat())); }},
            {"q27", colTotalSum, 110, false,
             [](const TField &f) { return TDecimal::FromVariant(f.Value()).ToFixed(2); }}};
}

void TFNastaniavane::LoadCaptions()
{
    LoadToolbarCaptions(Toolbar());
    LoadFormCaption(this);
    LoadTabSheetCaption(tsNastaniavaneCard);
    LoadTabSheetCaption(tsNastaniavaneGuests);
    LoadTabSheetCaption(tsNastaniavaneWalkIn);
    LoadTabSheetCaption(tsNastaniavaneOverdue);
    for (QGroupBox *box : {gbNastaniavaneDay, gbNastaniavaneCard, gbNastaniavaneWalkIn})
        LoadContainerCaptions(box);
}

void TFNastaniavane::FillOverdue()
{
    const QDate today = FrontDesk::Today();
    try {
        m_overdue = Overdue(today);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        m_overdue.clear();
        TExceptionLogs::Show(error.Message());
    }
    tblNastaniavaneOverdue->setRowCount(int(m_overdue.size()));
    for (int row = 0; row < m_overdue.size(); ++row) {
        const TStay &stay = m_overdue.at(row);
        const QStringList cells = {QString::number(stay.Booking), stay.RoomNumber, stay.Guest,
                                   stay.To.toString(QStringLiteral("dd.MM.yyyy")), QString::number(stay.To.daysTo(today))};
        for (int column = 0; column < cells.size(); ++column)
            tblNastaniavaneOverdue->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    tblNastaniavaneOverdue->resizeColumnsToContents();
    // The tab says how many there are, so that nobody has to open it to know.
    const int index = Pages()->indexOf(tsNastaniavaneOverdue);
    Pages()->setTabText(index, m_overdue.isEmpty() ? tsNastaniavaneOverdue->Caption()
                                                   : QStringLiteral("%1 (%2)").arg(tsNastaniavaneOverdue->Caption()).arg(m_overdue.size()));
}

bool TFNastaniavane::InitializeWindow()
{
    const int chosen = SelectedStay();
    TRegisterWindow::InitializeWindow();
    FillOverdue();  // after the captions, whose tab text it counts on
    // Each read of the list brings a new selection model.
    if (!Grid()->selectionModel()->property("CardWatched").toBool()) {
        connect(Grid()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this] { ShowCardOf(SelectedStay()); });
        Grid()->selectionModel()->setProperty("CardWatched", true);
    }
    SelectStay(chosen);
    acNastaniavaneCheckIn->setEnabled(ListDataSet() && ListDataSet()->RecordCount() > 0);
    acNastaniavaneFolio->setEnabled(acNastaniavaneCheckIn->isEnabled());
    return true;
}

int TFNastaniavane::SelectedStay() const
{
    TAdoDataSet *rows = ListDataSet();
    const QModelIndex current = Grid()->selectionModel() ? Grid()->selectionModel()->currentIndex() : QModelIndex();
    if (!rows || !current.isValid() || current.row() >= rows->RecordCount())
        return 0;
    return TField(QString(), rows->CellValue(current.row(), rows->FieldIndex(QStringLiteral("q123")))).AsInteger();
}

int TFNastaniavane::BookingOf(int stay) const
{
    TAdoDataSet *rows = ListDataSet();
    for (int i = 0; rows && i < rows->RecordCount(); ++i)
        if (TField(QString(), rows->CellValue(i, rows->FieldIndex(QStringLiteral("q123")))).AsInteger() == stay)
            return TField(QString(), rows->CellValue(i, rows->FieldIndex(QStringLiteral("q124")))).AsInteger();
    return 0;
}

void TFNastaniavane::SelectStay(int stay)
{
    TAdoDataSet *rows = ListDataSet();
    if (!rows || rows->RecordCount() == 0) {
        ShowCardOf(0);
        return;
    }
    int row = 0;
    for (int i = 0; i < rows->RecordCount(); ++i)
        if (TField(QString(), rows->CellValue(i, rows->FieldIndex(QStringLiteral("q123")))).AsInteger() == stay)
            row = i;
    Grid()->selectionModel()->setCurrentIndex(GridModel()->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ShowCardOf(SelectedStay());
}

void TFNastaniavane::ShowCardOf(int stay)
{
    const int booking = BookingOf(stay);
    std::optional<TFolio> folio;
    if (booking > 0) {
        try {
            folio = ReadFolio(booking);
        } catch (const Exception &error) {
            LocalConnection().RollbackIfOpen();
            TExceptionLogs::Show(error.Message());
        }
    }
    const TGuest guest = folio ? folio->Booking.Guest : TGuest();
    // Another guest's card replaces the fields; the same list read again keeps what was typed.
    const bool sameGuest = stay == m_shownStay;
    const QList<std::tuple<QLineEdit *, QString, QString>> card = {
        {edNastaniavanePersonalNumber, m_shownCard.PersonalNumber, guest.PersonalNumber},
        {edNastaniavanePassport, m_shownCard.Passport, guest.Passport},
        {edNastaniavaneNationality, m_shownCard.Nationality, guest.Nationality},
        {edNastaniavaneAddress, m_shownCard.Address, guest.Address}};
    for (const auto &[edit, shown, stored] : card)
        if (!sameGuest || edit->text() == shown)
            edit->setText(stored);
    if (!sameGuest)
        cbNastaniavaneTax->setCurrentIndex(0);  // every guest owes the tax until they show a ground
    m_shownCard = guest;
    m_shownStay = stay;
    if (pnNastaniavaneGuests->Stay() != stay)
        pnNastaniavaneGuests->SetStay(stay);
}

TGuest TFNastaniavane::Card() const
{
    TGuest guest;
    guest.Name = edNastaniavaneName->text();
    guest.PersonalNumber = edNastaniavanePersonalNumber->text();
    guest.Passport = edNastaniavanePassport->text();
    guest.Nationality = edNastaniavaneNationality->text();
    guest.Address = edNastaniavaneAddress->text();
    if (cbNastaniavaneTax->currentIndex() > 0)
        guest.TaxExemption = cbNastaniavaneTax->currentText();
    return guest;
}

void TFNastaniavane::acNastaniavaneCheckInExecute()
{
    const int stay = SelectedStay();
    if (stay == 0) {
        TSystemWinOS::ShowMessageBox(msgChooseRow, msgWarningTitle, 48);
        return;
    }
    const TGuest card = Card();
    const int booking = BookingOf(stay);
    const bool done = FrontDeskRun::Run([&](TConsent consent) { CheckIn(stay, card, consent); });
    InitializeWindow();
    if (done) {
        emit FrontDeskRun::Changes()->Changed();
        emit FolioRequested(booking, stay);
    }
}

QStringList TFNastaniavane::RoomNumbersOfChosenHotel()
{
    return SelectorValues(QStringLiteral("SELECT r.q44 FROM Rooms r INNER JOIN HotelBuild h ON (h.q1 = r.q1) "
                                         "WHERE h.q10 = :sHotelName ORDER BY r.q44"),
                          {{QStringLiteral("sHotelName"), cbNastaniavaneHotel->currentText()}});
}

void TFNastaniavane::acNastaniavaneWalkInExecute()
{
    std::optional<TFOperReservation::TRoom> room;
    try {
        room = TFOperReservation::FindRoom(cbNastaniavaneHotel->currentText(), cbNastaniavaneRoom->currentText().trimmed());
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
        return;
    }
    if (!room) {
        MarkControlFailed(cbNastaniavaneRoom);
        TSystemWinOS::ShowMessageBox(msgUnknownRoom, msgWarningTitle, 48);
        return;
    }
    const int id = room->Id;
    const QDate departure = dtpNastaniavaneDeparture->date();
    const TGuest card = Card();
    int booking = 0;
    const bool done =
        FrontDeskRun::Run([&](TConsent consent) { booking = WalkIn(id, departure, card, QVariant(), consent); });
    InitializeWindow();
    if (done) {
        edNastaniavaneName->clear();
        emit FrontDeskRun::Changes()->Changed();
        emit FolioRequested(booking, 0);
    }
}

void TFNastaniavane::acNastaniavaneFolioExecute()
{
    const int stay = SelectedStay();
    if (stay == 0) {
        TSystemWinOS::ShowMessageBox(msgChooseRow, msgWarningTitle, 48);
        return;
    }
    emit FolioRequested(BookingOf(stay), stay);
}
