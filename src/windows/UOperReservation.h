#pragma once
// Booking: guests with a room for a period, or a service with a quantity, are staged in a
// private copy of Klients and moved into Klients by the save.

#include "framework/URegister.h"

#include <QDate>

class QDateEdit;
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
    // Free when neither Klients nor this window's staged rows hold a stay of the room that
    // conflicts with the period.
    bool IsRoomFree(int room, const QVariant &hotel, const QDate &from, const QDate &to);
    bool AddStagedRow();
    static int AgeFromPersonalNumber(const QString &personalNumber, const QDate &today = QDate::currentDate());
    // The conflict test on one table of stays, as the server runs it.
    static QString ConflictSql(const QString &table);

    QString StagingTableName;
    TADOQuery *StagingQuery;

    QAction *acOperReservationPrepareContragentForReserv, *acOperReservationSave, *acClose;
    TTabSheet *tsOperReservationContragentData, *tsOperReservationHotelData, *tsOperReservationRoomData,
        *tsOperReservationPaymentType, *tsOperReservationRoomStatus;
    QGroupBox *gbContragent, *gbHotel, *gbRoom, *gbPayment;
    QLineEdit *edContragentName, *edContragentAddress, *edContragentID, *edContragenPassportID, *edQuantity;
    QComboBox *cbTarife, *cbCurrency, *cbHotel, *cbRoomNumber, *cbService;
    QDateEdit *DateTimePicker1, *DateTimePicker2;
    QLabel *labelCharacteristic;
    TRadioGroup *rgContragentInformation, *rgOperReservationReservationStatus;

protected:
    QString ListSql() const override;
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    TAdoDataSet *OwnListDataSet() override { return StagingQuery; }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cbRoomNumberSelect(const QString &room);
    void cbServiceSelect(const QString &service);
    void EnableRoomFields(bool on);
    void EnableServiceFields(bool on);
    QWidget *FirstFailingControl();
    bool CheckStagedRoomsAgainstKlients(QString &room);
    static bool HasConflict(const QString &table, const QVariant &room, const QVariant &hotel, const QDate &from,
                            const QDate &to);
    bool m_stagingReady = false;
};
