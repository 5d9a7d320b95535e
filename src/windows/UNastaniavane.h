#pragma once
// Check-in: the reserved stays that arrive on the chosen day or earlier and have not left,
// the registration card's data of the chosen one, and a guest without a booking.

#include "framework/URegister.h"

#include "desk/UFrontDesk.h"

class QDateEdit;
class TStayGuestsPanel;
class QTableWidget;

class TFNastaniavane : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNastaniavane(QWidget *parent = nullptr);

    // The day whose arrivals are listed: the main window's filter date when opened from there.
    void SetDay(const QDate &day);
    QDate Day() const;
    bool InitializeWindow() override;
    int SelectedStay() const;
    void SelectStay(int stay);

    void acNastaniavaneCheckInExecute();
    void acNastaniavaneWalkInExecute();
    void acNastaniavaneFolioExecute();

    QAction *acNastaniavaneCheckIn, *acNastaniavaneWalkIn, *acNastaniavaneFolio, *acClose;
    TTabSheet *tsNastaniavaneCard, *tsNastaniavaneGuests, *tsNastaniavaneWalkIn, *tsNastaniavaneOverdue;
    // Everyone in the room of the chosen arrival.
    TStayGuestsPanel *pnNastaniavaneGuests;
    // Guests past their departure day who are still in house; a double click opens the folio.
    QTableWidget *tblNastaniavaneOverdue;
    QGroupBox *gbNastaniavaneDay, *gbNastaniavaneCard, *gbNastaniavaneWalkIn;
    QDateEdit *dtpNastaniavaneDay, *dtpNastaniavaneDeparture;
    QLineEdit *edNastaniavanePersonalNumber, *edNastaniavanePassport, *edNastaniavaneNationality,
        *edNastaniavaneAddress, *edNastaniavaneName;
    QComboBox *cbNastaniavaneHotel, *cbNastaniavaneRoom, *cbNastaniavaneTax;

signals:
    // The operator asked for the folio of a booking.
    void FolioRequested(int booking, int stay);

protected:
    QString ListSql() const override;
    QList<TParameter> ListParameters() const override;
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;

private:
    FrontDesk::TGuest Card() const;
    void ShowCardOf(int stay);
    int BookingOf(int stay) const;
    QStringList RoomNumbersOfChosenHotel();
    void FillOverdue();
    QList<FrontDesk::TStay> m_overdue;

    FrontDesk::TGuest m_shownCard;  // the card as last read, to keep what was typed since
    int m_shownStay = -1;
};
