#include "UAdresniKarti.h"

#include "controls/KalvMenu.h"
#include "desk/UCountries.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QVBoxLayout>

using namespace FrontDesk;

namespace {

constexpr int kCardsPerPage = 2;

QString dayText(const QDate &day) { return day.toString(QStringLiteral("dd.MM.yyyy")); }

} // namespace

TFAdresniKarti::TFAdresniKarti(QWidget *parent) : TPrintWindow(QStringLiteral("AdresniKarti"), {}, parent)
{
    resize(820, 640);
    smcAdresniKarti = m_toolbar;
    acAdresniKartiPrint = m_print;
    acAdresniKartiPdf = m_pdf;
    acClose = m_close;
    ppAdresniKarti = m_preview;
    FormInfo1 = m_placement;
    auto *dayLabel = new QLabel(QStringLiteral("Гости в хотела на"), this);
    dayLabel->setObjectName(QStringLiteral("lInfoAdresniKartiDay"));
    dtpAdresniKartiDay = NewDatePicker(this, QStringLiteral("dtpAdresniKartiDay"), QDate::currentDate());
    TopRow()->addWidget(dayLabel);
    TopRow()->addWidget(dtpAdresniKartiDay);
    TopRow()->addStretch(1);
    connect(dtpAdresniKartiDay, &QDateEdit::dateChanged, this, [this] { InitializeWindow(); });
    FormInfo1->SetDesignedSize(size());
}

TFAdresniKarti::~TFAdresniKarti() = default;

void TFAdresniKarti::SetDay(const QDate &day)
{
    const QSignalBlocker quiet(dtpAdresniKartiDay);
    dtpAdresniKartiDay->setDate(day);
}

bool TFAdresniKarti::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadToolbarCaptions(smcAdresniKarti);
    LoadComponentCaptions(findChild<QLabel *>(QStringLiteral("lInfoAdresniKartiDay")));
    ReadCards();
    ppAdresniKarti->updatePreview();
    return true;
}

void TFAdresniKarti::ReadCards()
{
    m_cards.clear();
    try {
        const QDate day = dtpAdresniKartiDay->date();
        QHash<int, TFolio> folios;
        for (const TStay &stay : InHouse(day)) {
            if (!folios.contains(stay.Booking))
                if (const std::optional<TFolio> folio = ReadFolio(stay.Booking))
                    folios.insert(stay.Booking, *folio);
            const TBooking booking = folios.value(stay.Booking).Booking;
            TCard card;
            card.Name = stay.Guest.isEmpty() ? booking.Guest.Name : stay.Guest;
            const QStringList identity = {booking.Guest.PersonalNumber, booking.Guest.Passport};
            card.Identity = QStringList(identity).filter(QRegularExpression(QStringLiteral("\\S"))).join(QStringLiteral(" / "));
            card.Nationality = booking.Guest.Nationality;
            card.Address = booking.Guest.Address;
            card.Room = stay.RoomNumber;
            card.Hotel = booking.HotelName;
            card.Arrival = stay.From;
            card.Departure = stay.To;
            card.Booking = stay.Booking;
            card.Stay = stay.Id;
            card.PersonalNumber = booking.Guest.PersonalNumber;  // the holder's, where the register has none
            for (const Guests::TStayGuest &guest : Guests::OfStay(stay.Id))
                m_cards.append(guest.Guest > 0 ? CardOf(card, guest) : card);
        }
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
}

// The card of a guest of the register: every field the register keeps.
TFAdresniKarti::TCard TFAdresniKarti::CardOf(TCard card, const Guests::TStayGuest &guest)
{
    const std::optional<Guests::TGuest> person = Guests::Read(guest.Guest);
    if (!person)
        return card;
    const auto country = [](const QString &code) {
        const std::optional<Countries::TCountry> found = Countries::Find(code);
        return found ? found->Name() : code;
    };
    const QStringList sexes = {QString(), msgSexMale, msgSexFemale};
    card.Holder = guest.Holder;
    card.Name = person->Name;
    card.LatinName = person->LatinName;
    card.Born = QStringList({person->Born.isValid() ? dayText(person->Born) : QString(), sexes.value(person->Sex)})
                    .filter(QRegularExpression(QStringLiteral("\\S")))
                    .join(QStringLiteral(", "));
    if (!person->PersonalNumber.isEmpty() || !guest.Holder)
        card.PersonalNumber = person->PersonalNumber;
    const QStringList kinds = {msgDocumentIdentityCard, msgDocumentPassport, msgDocumentOther};
    QStringList document;
    if (!person->DocumentNumber.isEmpty())
        document << kinds.value(person->DocumentKind) + QLatin1Char(' ') + person->DocumentNumber;
    if (!person->DocumentSeries.isEmpty())
        document << msgCardSeries + QLatin1Char(' ') + person->DocumentSeries;
    if (!person->IssuedBy.isEmpty())
        document << msgCardIssuedBy + QLatin1Char(' ') + country(person->IssuedBy);
    if (person->ValidTo.isValid())
        document << msgCardValidTo + QLatin1Char(' ') + dayText(person->ValidTo);
    card.Document = document.join(QStringLiteral(", "));
    card.Identity.clear();
    card.Nationality = country(person->Citizenship);
    if (!person->Address.isEmpty())
        card.Address = person->Address;
    return card;
}

int TFAdresniKarti::PageCount() const { return std::max<int>(1, int((m_cards.size() + kCardsPerPage - 1) / kCardsPerPage)); }

void TFAdresniKarti::PaintCards(QPrinter *printer)
{
    QPainter painter(printer);
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    const QRectF area(0, 0, page.width(), page.height());
    if (m_cards.isEmpty()) {
        painter.setFont(QFont(QStringLiteral("Sans"), 14));
        painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop, msgNoGuestsInHouse.arg(dayText(dtpAdresniKartiDay->date())));
        return;
    }
    const qreal height = area.height() / kCardsPerPage;
    for (int i = 0; i < m_cards.size(); ++i) {
        if (i > 0 && i % kCardsPerPage == 0)
            printer->newPage();
        const QRectF slot(area.left(), area.top() + (i % kCardsPerPage) * height, area.width(), height);
        PaintCard(painter, slot.adjusted(0, 0, 0, -height * 0.06), m_cards.at(i));
    }
}

void TFAdresniKarti::PaintCard(QPainter &painter, const QRectF &area, const TCard &card)
{
    const qreal unit = area.height() / 22;  // one line of the card
    painter.save();
    painter.setPen(QPen(Qt::black, unit / 12));
    painter.drawRect(area);
    QFont title(QStringLiteral("Sans"));
    title.setPixelSize(int(unit * 1.1));
    title.setBold(true);
    painter.setFont(title);
    const QRectF inner = area.adjusted(unit, unit * 0.6, -unit, -unit);
    painter.drawText(QRectF(inner.left(), inner.top(), inner.width(), unit * 1.6), Qt::AlignLeft | Qt::AlignVCenter,
                     msgCardTitle);
    QFont small(title);
    small.setBold(false);
    small.setPixelSize(int(unit * 0.75));
    painter.setFont(small);
    painter.drawText(QRectF(inner.left(), inner.top(), inner.width(), unit * 1.6), Qt::AlignRight | Qt::AlignVCenter,
                     card.Hotel + QStringLiteral("   ") + msgCardBooking + QStringLiteral(" ") + QString::number(card.Booking));
    QList<QPair<QString, QString>> lines = {{msgCardName, card.Name},
                                            {msgCardLatinName, card.LatinName},
                                            {msgCardBorn, card.Born},
                                            {msgCardNationality, card.Nationality},
                                            {msgCardPersonalNumber, card.PersonalNumber},
                                            {msgCardDocument, card.Document},
                                            {msgCardIdentity, card.Identity},
                                            {msgCardAddress, card.Address},
                                            {msgCardRoom, card.Holder ? card.Room + QStringLiteral(" (") + msgCardHolder + QLatin1Char(')') : card.Room},
                                            {msgCardArrival, dayText(card.Arrival)},
                                            {msgCardDeparture, dayText(card.Departure)}};
    // A card of the register's guest has no combined identity line; one of before has no more.
    lines.removeIf([&card](const QPair<QString, QString> &line) {
        return line.first == msgCardIdentity && (!card.Document.isEmpty() || line.second.isEmpty());
    });
    const qreal step = std::min(unit * 2.3, (inner.height() - unit * 4.2) / lines.size());
    QFont value(small);
    value.setPixelSize(int(unit * 0.95));
    qreal top = inner.top() + unit * 2.6;
    const qreal labelWidth = inner.width() * 0.34;
    for (const auto &[label, text] : lines) {
        painter.setFont(small);
        painter.drawText(QRectF(inner.left(), top, labelWidth, unit * 1.6), Qt::AlignLeft | Qt::AlignBottom, label);
        painter.setFont(value);
        painter.drawText(QRectF(inner.left() + labelWidth, top, inner.width() - labelWidth, unit * 1.6),
                         Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, text);
        painter.setPen(QPen(Qt::gray, unit / 20));
        painter.drawLine(QPointF(inner.left() + labelWidth, top + unit * 1.7), QPointF(inner.right(), top + unit * 1.7));
        painter.setPen(QPen(Qt::black, unit / 12));
        top += step;
    }
    painter.setFont(small);
    const qreal sign = inner.bottom() - unit * 0.5;
    painter.drawLine(QPointF(inner.right() - inner.width() * 0.4, sign), QPointF(inner.right(), sign));
    painter.drawText(QRectF(inner.right() - inner.width() * 0.4, sign, inner.width() * 0.4, unit),
                     Qt::AlignHCenter | Qt::AlignTop, msgCardSignature);
    painter.restore();
}

QString TFAdresniKarti::SuggestedFileName() const
{
    return QStringLiteral("cards-%1.pdf").arg(dtpAdresniKartiDay->date().toString(Qt::ISODate));
}

void TFAdresniKarti::Issued()
{
    TADOConnection &connection = LocalConnection();
    try {
        TTransaction transaction(connection, true);
        for (const TCard &card : std::as_const(m_cards))
            WriteLog(connection, QStringLiteral("card"), card.Stay, card.Booking, msgLogCardPrinted.arg(card.Room));
        transaction.Commit();
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
}

void TFAdresniKarti::acAdresniKartiPrintExecute() { PrintExecute(); }

void TFAdresniKarti::acAdresniKartiPdfExecute() { PdfExecute(); }
