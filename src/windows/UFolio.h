#pragma once
// The folio of a booking: the guest and booking data, the stays with their statuses, the
// charges, the payments, the totals and the balance, the history from the log, and the
// front desk's commands on them, each enabled only where its rule allows.

#include "framework/URegister.h"

#include "desk/UFrontDesk.h"

#include <optional>

class QDateEdit;
class QTableWidget;
class TRadioGroup;

class TFFolio : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFFolio(QWidget *parent = nullptr);

    // The booking shown; read again by every initialisation and after every operation.
    void SetBooking(int booking) { m_booking = booking; }
    int Booking() const { return m_booking; }
    const std::optional<FrontDesk::TFolio> &Folio() const { return m_folio; }
    bool InitializeWindow() override;
    // Makes a stay of the booking the chosen one of the list.
    void SelectStay(int stay);
    int SelectedStay() const;
    enum TPage { pgGuest, pgStay, pgCharge, pgPayment, pgAccount, pgHistory };
    void ShowPage(TPage page);

    void acFolioCheckInExecute();
    void acFolioCheckOutExecute();
    void acFolioCheckOutAllExecute();
    void acFolioExtendExecute();
    void acFolioMoveExecute();
    void acFolioCancelExecute();
    void acFolioCancelAllExecute();
    void acFolioNoShowExecute();
    void acFolioChargeExecute();
    void acFolioPaymentExecute();

    QAction *acFolioCheckIn, *acFolioCheckOut, *acFolioCheckOutAll, *acFolioExtend, *acFolioMove, *acFolioCancel,
        *acFolioCancelAll, *acFolioNoShow, *acFolioCharge, *acFolioPayment, *acFolioInvoice, *acClose;
    TTabSheet *tsFolioGuest, *tsFolioStay, *tsFolioCharge, *tsFolioPayment, *tsFolioAccount, *tsFolioHistory;
    QGroupBox *gbFolioBooking, *gbFolioRegistration, *gbFolioStay, *gbFolioCharge, *gbFolioPayment, *gbFolioTotals;
    QLineEdit *edFolioBooking, *edFolioHotel, *edFolioGuest, *edFolioEntered, *edFolioCurrency;
    QLineEdit *edFolioPersonalNumber, *edFolioPassport, *edFolioNationality, *edFolioAddress;
    QDateEdit *dtpFolioDeparture, *dtpFolioMoveDay, *dtpFolioChargeDate;
    QComboBox *cbFolioRoom, *cbFolioService;
    QLineEdit *edFolioQuantity, *edFolioChargeReason, *edFolioAmount, *edFolioNote;
    TRadioGroup *rgFolioPaymentKind, *rgFolioPaymentMethod;
    QLineEdit *edFolioOwed, *edFolioPaid, *edFolioBalance;
    QTableWidget *tblFolioAccount, *tblFolioHistory;

signals:
    // The booking's invoices and notes asked for.
    void InvoiceRequested(int booking);

protected:
    QString ListSql() const override;
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;

private:
    std::optional<FrontDesk::TStay> ChosenStay() const;
    FrontDesk::TGuest Registration() const;
    QStringList RoomNumbersOfHotel();
    void ShowFolio();
    void FillAccount();
    void FillHistory();
    void UpdateCommands();
    void SetDefaultsFor(const std::optional<FrontDesk::TStay> &stay);
    // Runs an operation on the chosen stay; false when none is chosen or it was not done.
    // Shows what an operation will do and asks; true: go ahead.
    static bool Confirm(const QString &preview);
    bool RunOnStay(const std::function<void(int stay, FrontDesk::TConsent consent)> &operation);
    void AfterOperation(int stay);

    int m_booking = 0;
    std::optional<FrontDesk::TFolio> m_folio;
    QString m_totalsTitle;  // the totals' caption, to which the booking's currency is added
    FrontDesk::TGuest m_shownGuest;  // the registration data as last read, to keep what was typed since
};
