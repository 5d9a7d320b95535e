#pragma once
// Registration cards of the guests in house on a day: one card per guest, two to a page, shown
// in a print preview, printed, or saved as PDF.

#include "framework/UPrintWindow.h"

#include "desk/UFrontDesk.h"
#include "desk/UGuests.h"

#include <QDate>
#include <memory>

class QAction;
class QDateEdit;
class QPrinter;
class QPrintPreviewWidget;
class TFormInfo;
class TKalvMenuControl;

class TFAdresniKarti : public TPrintWindow
{
    Q_OBJECT
public:
    explicit TFAdresniKarti(QWidget *parent = nullptr);
    ~TFAdresniKarti() override;

    void SetDay(const QDate &day);
    bool InitializeWindow() override;
    // One card a guest: what the cards show, read on the day chosen.
    // One card per guest in the room.
    struct TCard {
        QString Name, LatinName, Born, Identity, PersonalNumber, Document, Nationality, Address, Room, Hotel;
        bool Holder = true;
        QDate Arrival, Departure;
        int Booking = 0, Stay = 0;
    };
    const QList<TCard> &Cards() const { return m_cards; }
    int PageCount() const;
    void PaintCards(QPrinter *printer);

    void acAdresniKartiPrintExecute();
    void acAdresniKartiPdfExecute();

    TKalvMenuControl *smcAdresniKarti;
    QAction *acAdresniKartiPrint, *acAdresniKartiPdf, *acClose;
    QDateEdit *dtpAdresniKartiDay;
    QPrintPreviewWidget *ppAdresniKarti;
    TFormInfo *FormInfo1;

protected:
    void Paint(QPrinter *printer) override { PaintCards(printer); }
    QString SuggestedFileName() const override;
    // Each card printed is logged, so that the day's close knows whose card is still due.
    void Issued() override;

private:
    static TCard CardOf(TCard card, const Guests::TStayGuest &guest);
    void ReadCards();
    void PaintCard(class QPainter &painter, const QRectF &area, const TCard &card);

    QList<TCard> m_cards;
};
