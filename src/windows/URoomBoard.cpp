#include "URoomBoard.h"

#include "data/UADOComunicationControl.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "framework/UFormatSettings.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace {

const QString kRoomsSql = QStringLiteral("SELECT * FROM Rooms WHERE ([q83] IS NOT NULL) ");
// The stays that cover the day, with the two columns a mark needs.
const QString kStaysSql = QStringLiteral("SELECT k.q47, k.q35 FROM [dbo].[KLIENTS] k "
                                         "WHERE  k.q34 <=  :dDateToReserv  AND k.q35 >= :dDateToLive ");
const QString kHotelFilter = QStringLiteral(" AND k.[q1] = :sHotelID");
const QString kGuestsOfRoom = QStringLiteral("k.q47 = :iRoomID ");
const QString kGuestsSql = QStringLiteral(
    " SELECT [q28]    ,[q29]    ,[q27]    ,[q30]    ,[q31]    ,[q32]    ,[q39]    ,[q33]    ,[q34]    ,[q35]    "
    ",[q36]    ,[q37]    ,[q38]    ,[q70]    ,[q71]    ,[q72]    ,[q78]    ,[q109]   ,[q57]    ,[q110]   ,[q111]   "
    ",[q112]   ,[q113]   ,[q115]   ,[q44]  as Rooms_q44    ,[q46]  as Rooms_q46    ,[q49]  as Rooms_q49    ,[q48]  "
    "as Rooms_q48    ,[q79]  as Rooms_q79    ,[q81]  as Rooms_q81    ,[q82]  as Rooms_q82    ,[q83]  as Rooms_q83    "
    ",[q84]  as Rooms_q84  FROM [Klients] k  INNER JOIN Rooms r ON(r.q47=k.q47) WHERE  k.q34 <=  :dDateToReserv  AND "
    "k.q35 >= :dDateToLive  AND ");

// A bed drawn here for a missing icon file; blue for a stay, orange for a guest leaving.
QPixmap drawnBed(bool leaving)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setPen(Qt::NoPen);
    p.setBrush(leaving ? QColor(230, 120, 20) : QColor(40, 90, 200));
    p.drawRect(1, 8, 14, 4);
    p.drawRect(1, 5, 2, 9);
    p.drawRect(13, 10, 2, 4);
    p.setBrush(Qt::white);
    p.drawRect(4, 6, 4, 2);
    return picture;
}


} // namespace

TRoomButton::TRoomButton(QWidget *parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(false);
}

void TRoomButton::SetGlyph(const QPixmap &glyph)
{
    m_glyph = glyph;
    update();
}

void TRoomButton::paintEvent(QPaintEvent *)
{
    // The button's frame from the style, without its text: changing the text here would ask
    // for another paint, and an idle board would never rest.
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
    const QString caption = text();
    const int glyphHeight = m_glyph.isNull() ? 0 : m_glyph.height() + 2;
    const int textHeight = fontMetrics().height();
    const int top = (height() - textHeight - glyphHeight) / 2;
    painter.drawText(QRect(0, top, width(), textHeight), Qt::AlignCenter, caption);
    if (!m_glyph.isNull())
        painter.drawPixmap((width() - m_glyph.width()) / 2, top + textHeight + 2, m_glyph);
}

TRoomBoard::TRoomBoard(QWidget *canvas, QMenu *popup, std::function<QDate()> date, std::function<QString()> hotel,
                       QObject *parent)
    : QObject(parent), m_canvas(canvas), m_popup(popup), m_date(std::move(date)), m_hotel(std::move(hotel))
{
}

QList<TRoomButton *> TRoomBoard::Buttons(const QString &caption) const
{
    QList<TRoomButton *> found;
    for (const QPointer<TRoomButton> &button : m_buttons)
        if (button && button->text() == caption)
            found.append(button);
    return found;
}

bool TRoomBoard::BuildRoomBoard()
{
    for (const QPointer<TRoomButton> &button : m_buttons)
        delete button.data();
    m_buttons.clear();
    m_byRoom.clear();
    TADOConnection &connection = LocalConnection();
    try {
        TADOQuery query(&connection);
        query.SetSQLText(kRoomsSql);
        TTransaction transaction(connection);
        query.Open();
        transaction.Commit();
        for (query.First(); !query.Eof(); query.Next()) {
            auto *button = new TRoomButton(m_canvas);
            button->RoomID = query.FieldByName(QStringLiteral("q47")).AsInteger();
            button->setText(query.FieldByName(QStringLiteral("q44")).AsString());
            button->setGeometry(query.FieldByName(QStringLiteral("q84")).AsInteger(),
                                query.FieldByName(QStringLiteral("q83")).AsInteger() + 80,
                                query.FieldByName(QStringLiteral("q81")).AsInteger(),
                                query.FieldByName(QStringLiteral("q82")).AsInteger());
            button->setToolTip(QString::number(++m_counter));
            button->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(button, &QWidget::customContextMenuRequested, this,
                    [this, button](const QPoint &at) { m_popup->popup(button->mapToGlobal(at)); });
            connect(button, &QToolButton::clicked, this, [this, button] { RoomButtonClick(button); });
            button->show();
            m_buttons.append(button);
            m_byRoom.insert(button->RoomID, button);
        }
        return true;
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
        return false;
    }
}

QPixmap TRoomBoard::LoadIcon(const QString &file, bool leaving)
{
    QPixmap picture;
    if (!picture.load(DataFolder + QStringLiteral("Icons/") + file))
        return drawnBed(leaving);
    return picture;
}

QPixmap TRoomBoard::StayIcon() { return LoadIcon(QStringLiteral("bed_reserve.bmp"), false); }
QPixmap TRoomBoard::LeavingIcon() { return LoadIcon(QStringLiteral("bed_live_today.bmp"), true); }

void TRoomBoard::ClearMarks()
{
    for (const QPointer<TRoomButton> &button : m_buttons)
        if (button && button->Mark != 0) {
            button->Mark = 0;
            button->SetGlyph(QPixmap());
        }
}

void TRoomBoard::ReportRefreshError(const QString &message)
{
    // Every tick would fail alike: the error is shown once until a refresh succeeds again.
    if (m_refreshErrorShown)
        return;
    m_refreshErrorShown = true;
    TExceptionLogs::Show(message);
}

void TRoomBoard::RefreshRoomBoard()
{
    TADOConnection &connection = LocalConnection();
    // A transaction of another window is that window's to end: this tick is left out.
    if (m_refreshing || !connection.Connected() || connection.InTransaction())
        return;
    m_refreshing = true;
    QString failure;
    try {
        const QDate date = m_date();
        const QString hotel = m_hotel();
        QHash<int, int> marks;  // room -> icon of the row returned last
        TTransaction transaction(connection);
        QString hotelId;
        const bool filtered = !hotel.isEmpty() && hotel != QLatin1String("FILTAR OFF");
        if (filtered) {
            // The same lookup as the hotel selector's, but its failure is this refresh's error.
            TADOQuery lookup(&connection);
            lookup.SetSQLText(QStringLiteral("SELECT q1 FROM HotelBuild WHERE q10 = :sHotelName"));
            lookup.ParamByName(QStringLiteral("sHotelName")).Value = hotel;
            lookup.Open();
            if (!lookup.Eof())
                hotelId = lookup.FieldByName(QStringLiteral("q1")).AsString();
        }
        if (!filtered || !hotelId.isEmpty()) {
            TADOQuery query(&connection);
            query.SetSQLText(filtered ? kStaysSql + kHotelFilter : kStaysSql);
            query.ParamByName(QStringLiteral("dDateToReserv")).Value = date;
            query.ParamByName(QStringLiteral("dDateToLive")).Value = date;
            if (filtered)
                query.ParamByName(QStringLiteral("sHotelID")).Value = hotelId.toInt();
            query.Open();
            for (int row = 0; row < query.RecordCount(); ++row) {
                const TField room(QString(), query.CellValue(row, 0));  // the stay's own room
                if (room.IsNull())
                    continue;  // a charge, or a stay with no room
                marks[room.AsInteger()] = TField(QString(), query.CellValue(row, 1)).AsDate() == date ? 2 : 1;
            }
        }
        transaction.Commit();
        const QPixmap stay = marks.isEmpty() ? QPixmap() : StayIcon();
        const QPixmap leavingIcon = marks.isEmpty() ? QPixmap() : LeavingIcon();
        for (const QPointer<TRoomButton> &button : m_buttons) {
            if (!button)
                continue;
            const int mark = marks.value(button->RoomID, 0);
            if (mark == button->Mark)
                continue;
            button->Mark = mark;
            button->SetGlyph(mark == 0 ? QPixmap() : mark == 2 ? leavingIcon : stay);
        }
        m_refreshErrorShown = false;
    } catch (const Exception &error) {
        failure = error.Message();  // the transaction of this tick is rolled back by now
    }
    m_refreshing = false;
    if (!failure.isEmpty())
        ReportRefreshError(failure);
}

void TRoomBoard::RoomButtonClick(TRoomButton *button)
{
    TADOComunicationControl control;
    TADOConnection &connection = LocalConnection();
    QString text, failure;
    try {
        const QDate date = m_date();
        TAdoParametarsTypeElements &parameters = control.ParameterList();
        parameters.AddParameter(QStringLiteral("dDateToReserv"), date, 1, 1);
        parameters.AddParameter(QStringLiteral("dDateToLive"), date, 1, 1);
        parameters.AddParameter(QStringLiteral("iRoomID"), button->RoomID, 1, 1);
        const bool ownTransaction = !connection.InTransaction();
        TADOQuery *query = control.OpenQuery(kGuestsSql + kGuestsOfRoom, parameters);
        if (!query)
            return;
        for (query->First(); !query->Eof(); query->Next()) {
            for (const char *field : {"q29", "q34", "q35"})
                text += query->FieldByName(QLatin1String(field)).AsString() + QStringLiteral("\r\n");
            text += QStringLiteral("\r\n");
        }
        if (ownTransaction)
            connection.CommitIfOpen();
    } catch (const Exception &error) {
        failure = error.Message();
        connection.RollbackIfOpen();
    }
    if (!failure.isEmpty())
        TExceptionLogs::Show(failure);
    else if (!text.isEmpty())
        TSystemWinOS::ShowMessage(text);
}
