#pragma once
// The documents of a booking: an invoice or proforma of its charges chosen line by line, an
// invoice of an advance payment, and credit and debit notes to an issued invoice. The grid
// lists the booking's documents; an issued one opens as it prints.

#include "framework/URegister.h"

#include "desk/UInvoices.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QTableWidget;

class TFFaktura : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFFaktura(QWidget *parent = nullptr);

    void SetBooking(int booking) { m_booking = booking; }
    int Booking() const { return m_booking; }
    bool InitializeWindow() override;

    // What the window issues next: a document of the booking, or a note to an invoice.
    enum TKindChoice { kcInvoice, kcProforma, kcAdvance };
    void acFakturaIssueExecute();
    void acFakturaShowExecute();
    void acFakturaCreditExecute();
    void acFakturaDebitExecute();
    void acFakturaNewExecute();

    QAction *acFakturaIssue, *acFakturaShow, *acFakturaCredit, *acFakturaDebit, *acFakturaNew, *acClose;
    TTabSheet *tsFakturaLines, *tsFakturaBuyer, *tsFakturaDocument;
    QGroupBox *gbFakturaLines, *gbFakturaBuyer, *gbFakturaDocument;
    QLabel *lblFakturaMode;
    QTableWidget *tblFakturaLines;
    QCheckBox *chkFakturaPerson;
    QComboBox *cbFakturaEik, *cbFakturaKind, *cbFakturaSeries, *cbFakturaMethod, *cbFakturaAdvanceRate;
    QLineEdit *edFakturaName, *edFakturaVat, *edFakturaAddress, *edFakturaMol, *edFakturaPersonal, *edFakturaAdvance;
    QDateEdit *dtpFakturaTaxEvent;

signals:
    // An issued document to be shown as it prints.
    void DocumentRequested(int document);

protected:
    QString ListSql() const override;
    QList<TParameter> ListParameters() const override;
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    void RowChosen(int row) override;

private:
    enum TColumn { colChosen, colText, colLeft, colAmount };
    void FillLines();
    void FillSeries();
    void FillBuyerOfEik();
    void FitToChoices();
    Invoices::TBuyer Buyer() const;
    QList<int> ChosenCharges() const;
    QList<Invoices::TNoteLine> ChosenNoteLines() const;
    int ChosenDocument() const;
    void StartNote(Invoices::TKind kind);
    void Issued(int document);

    int m_booking = 0;
    QVariant m_hotel;
    // A note being made: its kind and invoice; none while the window makes the booking's documents.
    Invoices::TKind m_noteKind = Invoices::dkInvoice;
    int m_noteTo = 0;
    QString m_noteToNumber;
};
