#pragma once
// Booking: guests with a room for a period, or a service with a quantity, are staged in a
// private copy of Klients and moved into Klients by the save.

#include "framework/URegister.h"

#include "desk/UFrontDesk.h"
#include "desk/UNights.h"
#include "framework/UDecimal.h"

#include <QDate>
#include <optional>

class QDateEdit;
class TGuestFinder;
class TADOComunicationControl;
class TRadioGroup;

class TFOperReservation : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFOperReservation(QWidget *parent = nullptr);
    ~TFOperReservation() override;

    bool InitializeWindow() override;
    void acOperReservationPrepareContragentForReservExecute();
    void acOperReservationSaveExecute();
    void acCloseExecute();

    bool IsRoomChosen() const;
    // The board's "Резервация": the clicked room of its hotel from the filter date for one night.
    void Prefill(const QString &hotelName, const QString &roomNumber, const QDate &day);
    // Several rooms of one hotel for the same nights: the first chosen, each next one after the
    // row before it is added.
    void PrefillRooms(const QString &hotelName, const QStringList &roomNumbers, const QDate &from, const QDate &to);
    const QStringList &PendingRooms() const { return m_pendingRooms; }
    // The number of the booking the last save created; 0 before one.
    int LastBooking = 0;
    // Rows staged in this window and not yet saved.
    bool HasStagedRows() const { return StagingQuery->Active() && StagingQuery->RecordCount() > 0; }
    // The operator already agreed to lose the staged rows (the program is closing): no question.
    bool DiscardAgreed = false;
    // Free when neither Klients nor this window's staged rows hold a stay of the room (its
    // identifier alone) that shares a night with the period.
    bool IsRoomFree(int room, const QDate &from, const QDate &to);
    bool AddStagedRow();
    static int AgeFromPersonalNumber(const QString &personalNumber, const QDate &today = QDate::currentDate());
    // The one question of the availability check on a table of stays: does a stay of the room
    // share a night with the period? Two stays share one when each begins before the other leaves.
    static QString ConflictSql(const QString &table);

    // A room of a hotel, by the hotel's name and the room's number as the database matches them.
    struct TRoom {
        int Id = 0;
        TDecimal Price;
        QString Rooms, Beds;
    };
    static std::optional<TRoom> FindRoom(const QString &hotelName, const QString &number);

    QString StagingTableName;
    TADOQuery *StagingQuery;

    QAction *acOperReservationPrepareContragentForReserv, *acOperReservationSave, *acClose;
    TTabSheet *tsOperReservationContragentData, *tsOperReservationHotelData, *tsOperReservationRoomData,
        *tsOperReservationPaymentType, *tsOperReservationRoomStatus;
    QGroupBox *gbContragent, *gbHotel, *gbRoom, *gbPayment;
    QLineEdit *edContragentName, *edContragentAddress, *edContragentID, *edContragenPassportID, *edQuantity;
    QComboBox *cbTarife, *cbCurrency, *cbHotel, *cbRoomNumber, *cbService;
    // A rate plan instead of the tariff: who sleeps in the room, and each night's price shown.
    QComboBox *cbCenovPlan;
    QLineEdit *edAdults, *edChildAges;
    QLabel *labelNightPrices;
    QDateEdit *DateTimePicker1, *DateTimePicker2;
    QLabel *labelCharacteristic;
    TRadioGroup *rgContragentInformation, *rgOperReservationReservationStatus;

protected:
    QString ListSql() const override;
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    TAdoDataSet *OwnListDataSet() override { return StagingQuery; }
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Closed by any way (Esc, Ctrl+F4, the frame), staged rows are lost only after a question.
    void closeEvent(QCloseEvent *event) override;
    void DropStagingTable();
    void ChooseNextPendingRoom();
    QStringList m_pendingRooms;

private:
    // The chosen plan's prices of the room's nights; a message says why there are none.
    struct TPlanQuote {
        int Plan = 0;
        Nights::TOccupancy Occupancy;
        QList<RatePlans::TNight> Nights;
        QStringList Violations;
    };
    std::optional<TPlanQuote> QuotePlan(int room, const QDate &from, const QDate &to, QString *why);
    bool IsPlanChosen() const;
    QStringList PlanNames();
    void ShowNightPrices();
    // A stay against the plan's restrictions: refused, or booked after the yes of an operator
    // who holds the right to.
    bool AgreeToOverride(const QStringList &violations);
    QList<Nights::TPlannedStay> m_planned;  // the staged stays a plan prices, for the save
    void FillGuest(int guest);
    TGuestFinder *m_guestFinder = nullptr;
    void cbRoomNumberSelect(const QString &room);
    void cbServiceSelect(const QString &service);
    void EnableRoomFields(bool on);
    void EnableServiceFields(bool on);
    bool IsRoomRow() const;
    QList<QWidget *> FailingControls(bool roomRow);
    QWidget *FirstUnknownName(bool roomRow);
    QStringList RoomNumbersOfChosenHotel();
    // False with the room's number when a stay holds one of its nights, or with the reason when
    // the room is closed for one of them.
    bool CheckStagedRoomsAgainstKlients(QString &room, QString &closedRoom);
    FrontDesk::TGuest Guest() const;
    // The booking of the staged rows, which then carry its number, in the caller's transaction.
    int SaveBooking(TADOConnection &connection);
    QList<int> StagedRooms();
    QDate StagedFirstNight();
    static bool HasConflict(const QString &table, const QVariant &room, const QDate &from, const QDate &to);
    bool m_stagingReady = false;
};
