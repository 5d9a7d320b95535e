#include "URoomBoard.h"

#include "data/UADOComunicationControl.h"
#include "data/UDM.h"
#include "desk/UFrontDesk.h"
#include "errors/UExceptionLogs.h"
#include "framework/UFormatSettings.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QSqlQuery>
#include <QStylePainter>

namespace {

const QString kRoomsSql = QStringLiteral("SELECT * FROM Rooms WHERE ([q83] IS NOT NULL) ");
// Everything a tick marks, in one statement (one round trip to a server), each part on its own
// index, the first column telling the part:
// 0: the stays that cover the day and hold their nights, whether each leaves or arrives that
//    day (the server compares the days: two small numbers travel instead of two dates), its
//    status and guest (the hotel's filter, when one is chosen, is put after this part);
const QString kStaysPart = QStringLiteral(
    "SELECT 0 AS part, k.q47, CASE WHEN k.q35 = :dLeaving THEN 1 ELSE 0 END, CASE WHEN k.q34 = :dArriving THEN 1 ELSE 0 END, "
    "k.q125, k.q29 FROM [dbo].[KLIENTS] k WHERE  k.q34 <=  :dDateToReserv  AND k.q35 >= :dDateToLive "
    " AND (k.q125 IS NULL OR k.q125 < 3)");
const QString kHotelFilter = QStringLiteral(" AND k.[q1] = :sHotelID");
const QString kOtherParts = QStringLiteral(
    // 1: guests in house past their departure: they still sleep in the room (few, if any);
    " UNION ALL SELECT 1, q47, NULL, NULL, NULL, q29 FROM Klients WHERE q125 = 1 AND q35 < :dDay AND q47 IS NOT NULL"
    // 2: the rooms that are not simply clean: few, whatever the size of the hotel;
    " UNION ALL SELECT 2, q47, NULL, NULL, q129, NULL FROM Rooms WHERE q129 IN (1, 2)"
    // 3: the closures that hold the night of the board's day.
    " UNION ALL SELECT 3, q47, NULL, NULL, NULL, NULL FROM Zatvoreni WHERE (q157 IS NULL OR q157 <= :dDay2) AND "
    "(q158 IS NULL OR q158 > :dDay3)"
    // 4: the other guests in the rooms of the stays that hold the night (few: one row per guest
    // beside the holder, found through the stays of the day).
    " UNION ALL SELECT 4, k.q47, NULL, NULL, NULL, g.q253 FROM Klients k INNER JOIN GostiPrestoi p ON (p.q123 = k.q123) "
    "INNER JOIN Gosti g ON (g.q252 = p.q252) WHERE k.q34 <= :dDay4 AND k.q35 > :dDay5 AND k.q47 IS NOT NULL AND "
    "(k.q125 IS NULL OR k.q125 < 2) AND p.q267 = 0");
const QString kGuestsOfRoom = QStringLiteral("k.q47 = :iRoomID ");
const QString kGuestsSql = QStringLiteral(
    " SELECT [q28]    ,[q29]    ,[q27]    ,[q30]    ,[q31]    ,[q32]    ,[q39]    ,[q33]    ,[q34]    ,[q35]    "
    ",[q36]    ,[q37]    ,[q38]    ,[q70]    ,[q71]    ,[q72]    ,[q78]    ,[q109]   ,[q57]    ,[q110]   ,[q111]   "
    ",[q112]   ,[q113]   ,[q115]   ,[q44]  as Rooms_q44    ,[q46]  as Rooms_q46    ,[q49]  as Rooms_q49    ,[q48]  "
    "as Rooms_q48    ,[q79]  as Rooms_q79    ,[q81]  as Rooms_q81    ,[q82]  as Rooms_q82    ,[q83]  as Rooms_q83    "
    ",[q84]  as Rooms_q84  FROM [Klients] k  INNER JOIN Rooms r ON(r.q47=k.q47) WHERE  k.q34 <=  :dDateToReserv  AND "
    "k.q35 >= :dDateToLive  AND (k.q125 IS NULL OR k.q125 < 3) AND ");

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


// Beside the marks while they are read: a stay holds the night.
constexpr int kNightHeld = 1 << 16;  // beyond every mark a button shows

// A mark's picture: 10 by 10 pixels, drawn here.
QPixmap drawnMark(TRoomMark mark)
{
    QPixmap picture(10, 10);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(RoomMarks::Tint(mark));
    switch (mark) {
    case rmFree:
        p.drawEllipse(QRectF(1, 1, 8, 8));
        break;
    case rmArriving:  // an arrow pointing in
        p.drawPolygon(QPolygonF({QPointF(1, 1), QPointF(9, 5), QPointF(1, 9)}));
        break;
    case rmInHouse:  // a person
        p.drawEllipse(QRectF(3, 0, 4, 4));
        p.drawRoundedRect(QRectF(1.5, 4.5, 7, 5.5), 2, 2);
        break;
    case rmLeaving:  // an arrow pointing out of a door
        p.drawRect(QRectF(0, 1, 2, 8));
        p.drawPolygon(QPolygonF({QPointF(3, 2), QPointF(10, 5), QPointF(3, 8)}));
        break;
    case rmDirty:  // a drop
        p.drawPolygon(QPolygonF({QPointF(5, 0), QPointF(8.5, 6), QPointF(1.5, 6)}));
        p.drawEllipse(QRectF(1.5, 3.5, 7, 6.5));
        break;
    case rmCleaning:  // a broom: a handle and its brush
        p.drawRect(QRectF(4.2, 0, 1.6, 5.5));
        p.drawPolygon(QPolygonF({QPointF(1, 10), QPointF(2.5, 5), QPointF(7.5, 5), QPointF(9, 10)}));
        break;
    case rmClosed:  // no entry
        p.drawEllipse(QRectF(0, 0, 10, 10));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2, 4, 6, 2));
        break;
    case rmOverdue:  // an exclamation mark on a disc: the guest should have left
        p.drawEllipse(QRectF(0, 0, 10, 10));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.2, 1.8, 1.6, 4.2));
        p.drawRect(QRectF(4.2, 7, 1.6, 1.6));
        break;
    }
    return picture;
}

} // namespace

QColor RoomMarks::Tint(TRoomMark mark)
{
    switch (mark) {
    case rmFree: return QColor(60, 160, 70);
    case rmArriving: return QColor(30, 120, 200);
    case rmInHouse: return QColor(40, 60, 150);
    case rmLeaving: return QColor(220, 120, 20);
    case rmDirty: return QColor(140, 90, 40);
    case rmCleaning: return QColor(0, 140, 150);
    case rmClosed: return QColor(200, 40, 40);
    case rmOverdue: return QColor(150, 30, 130);
    }
    return Qt::black;
}

QPixmap RoomMarks::Picture(TRoomMark mark)
{
    static QHash<int, QPixmap> pictures;
    auto found = pictures.find(mark);
    if (found == pictures.end())
        found = pictures.insert(mark, drawnMark(mark));
    return found.value();
}

TRoomButton::TRoomButton(QWidget *parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setAutoRaise(false);
}

void TRoomButton::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        emit ArrowPressed(event->key());
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit DoubleClicked();
        return;
    case Qt::Key_Menu:
        emit customContextMenuRequested(rect().center());
        return;
    case Qt::Key_F10:
        if (event->modifiers() & Qt::ShiftModifier) {
            emit customContextMenuRequested(rect().center());
            return;
        }
        break;
    default:
        break;
    }
    QToolButton::keyPressEvent(event);
}

void TRoomButton::focusInEvent(QFocusEvent *event)
{
    QToolButton::focusInEvent(event);
    emit Focused();
}

void TRoomButton::SetMarks(int marks)
{
    if (marks == m_marks)
        return;
    m_marks = marks;
    update();
}

void TRoomButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Not a second press: the click of the first press waits and is dropped.
    event->accept();
    emit DoubleClicked();
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
    // A free room is tinted green, a closed one grey; the other marks stand in the top corners.
    if (m_marks & (rmFree | rmClosed)) {
        QColor tint = m_marks & rmClosed ? QColor(120, 120, 120, 60) : QColor(60, 170, 80, 45);
        painter.fillRect(rect().adjusted(2, 2, -2, -2), tint);
    }
    int left = 3;
    for (TRoomMark mark : {rmArriving, rmInHouse, rmLeaving, rmOverdue})
        if (m_marks & mark) {
            painter.drawPixmap(left, 3, RoomMarks::Picture(mark));
            left += 11;
        }
    int right = width() - 13;
    for (TRoomMark mark : {rmClosed, rmDirty, rmCleaning})
        if (m_marks & mark) {
            painter.drawPixmap(right, 3, RoomMarks::Picture(mark));
            right -= 11;
        }
    const QString caption = text();
    const int glyphHeight = m_glyph.isNull() ? 0 : m_glyph.height() + 2;
    const int textHeight = fontMetrics().height();
    const int top = (height() - textHeight - glyphHeight) / 2;
    painter.drawText(QRect(0, top, width(), textHeight), Qt::AlignCenter, caption);
    if (!m_glyph.isNull())
        painter.drawPixmap((width() - m_glyph.width()) / 2, top + textHeight + 2, m_glyph);
    if (hasFocus()) {
        // The room the keys act on: a frame that shows on every tint.
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

TRoomBoard::TRoomBoard(QWidget *canvas, QMenu *popup, std::function<QDate()> date, std::function<QString()> hotel,
                       QObject *parent)
    : QObject(parent), m_canvas(canvas), m_popup(popup), m_date(std::move(date)), m_hotel(std::move(hotel)),
      m_clickTimer(new QTimer(this))
{
    // A click lists the room's guests once it is sure not to be the first half of a double click.
    m_clickTimer->setSingleShot(true);
    m_clickTimer->setInterval(QApplication::doubleClickInterval());
    connect(m_clickTimer, &QTimer::timeout, this, [this] {
        if (m_clicked)
            RoomButtonClick(m_clicked);
    });
}

bool TRoomBoard::FocusBoard()
{
    TRoomButton *target = m_focused;
    if (!target) {
        // The first room in reading order: top row first, then from the left.
        for (const QPointer<TRoomButton> &button : m_buttons)
            if (button && (!target || std::make_pair(button->y(), button->x()) < std::make_pair(target->y(), target->x())))
                target = button;
    }
    if (!target)
        return false;
    target->setFocus(Qt::OtherFocusReason);
    return true;
}

TRoomButton *TRoomBoard::Neighbour(const TRoomButton *from, int key) const
{
    // The nearest room whose centre lies that way; a room far off the line counts as farther.
    const QPoint origin = from->geometry().center();
    TRoomButton *best = nullptr;
    qint64 bestScore = 0;
    for (const QPointer<TRoomButton> &button : m_buttons) {
        if (!button || button == from)
            continue;
        const QPoint d = button->geometry().center() - origin;
        int along = 0, across = 0;
        switch (key) {
        case Qt::Key_Left: along = -d.x(); across = d.y(); break;
        case Qt::Key_Right: along = d.x(); across = d.y(); break;
        case Qt::Key_Up: along = -d.y(); across = d.x(); break;
        case Qt::Key_Down: along = d.y(); across = d.x(); break;
        default: return nullptr;
        }
        if (along <= 0)
            continue;
        const qint64 score = qint64(along) + 3 * qint64(qAbs(across));
        if (!best || score < bestScore) {
            best = button;
            bestScore = score;
        }
    }
    return best;
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
            button->Hint = QString::number(++m_counter);
            button->setToolTip(button->Hint);
            button->setProperty("HotelID", query.FieldByName(QStringLiteral("q1")).AsInteger());
            button->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(button, &QWidget::customContextMenuRequested, this, [this, button](const QPoint &at) {
                m_popupRoom = button->RoomID;
                m_popup->popup(button->mapToGlobal(at));
            });
            connect(button, &QToolButton::clicked, this, [this, button] {
                // A click on another room first answers the one still waiting.
                if (m_clickTimer->isActive() && m_clicked && m_clicked != button) {
                    m_clickTimer->stop();
                    RoomButtonClick(m_clicked);
                }
                m_clicked = button;
                m_clickTimer->start();
            });
            connect(button, &TRoomButton::DoubleClicked, this, [this, button] {
                m_clickTimer->stop();
                emit RoomDoubleClicked(button->RoomID);
            });
            connect(button, &TRoomButton::ArrowPressed, this, [this, button](int key) {
                if (TRoomButton *next = Neighbour(button, key))
                    next->setFocus(Qt::OtherFocusReason);
            });
            connect(button, &TRoomButton::Focused, this, [this, button] {
                m_focused = button;
                emit RoomFocused(button);
            });
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

namespace {

// Runs a statement of the tick and hands over its rows as they come, none kept.
void eachRow(TADOConnection &connection, const QString &sql, const TNamedValues &values,
             const std::function<void(const QSqlQuery &)> &row)
{
    TADOQuery statement(&connection);
    statement.SetSQLText(sql);
    for (const auto &[name, value] : values)
        statement.ParamByName(name).Value = value;
    QSqlQuery rows(connection.Database());
    statement.OpenForward(rows);
    while (rows.next())
        row(rows);
}

} // namespace

QHash<int, TRoomBoard::TRoomShow> TRoomBoard::ReadMarks(const QDate &date, const QString &hotelId, bool filtered)
{
    QHash<int, TRoomShow> shows;
    TNamedValues values = {{QStringLiteral("dLeaving"), date},
                           {QStringLiteral("dArriving"), date},
                           {QStringLiteral("dDateToReserv"), date},
                           {QStringLiteral("dDateToLive"), date}};
    if (filtered)
        values.append({QStringLiteral("sHotelID"), hotelId.toInt()});
    values += {{QStringLiteral("dDay"), date}, {QStringLiteral("dDay2"), date}, {QStringLiteral("dDay3"), date},
               {QStringLiteral("dDay4"), date}, {QStringLiteral("dDay5"), date}};
    const QString sql = (filtered ? kStaysPart + kHotelFilter : kStaysPart) + kOtherParts;
    eachRow(LocalConnection(), sql, values, [&](const QSqlQuery &rows) {
        const QVariant room = rows.value(1);
        if (room.isNull())
            return;  // a charge, or a stay with no room
        TRoomShow &show = shows[room.toInt()];
        switch (rows.value(0).toInt()) {
        case 0:
            MarkStay(show, rows.value(2).toInt() == 1, rows.value(3).toInt() == 1, rows.value(4), rows.value(5).toString());
            break;
        case 1:
            show.Marks |= rmOverdue | rmInHouse | kNightHeld;
            show.Mark = show.Mark ? show.Mark : 1;
            show.Guests.append(rows.value(5).toString());
            break;
        case 2:
            show.Marks |= rows.value(4).toInt() == FrontDesk::rsCleaning ? rmCleaning : rmDirty;
            break;
        case 4:
            show.Guests.append(rows.value(5).toString());
            break;
        default:
            show.Marks |= rmClosed;
            break;
        }
    });
    return shows;
}

// A stay that covers the day: its icon, whether it holds the night (it does unless it leaves
// that day), arrives or leaves.
void TRoomBoard::MarkStay(TRoomShow &show, bool leaving, bool arriving, const QVariant &status, const QString &guest)
{
    const int state = status.isNull() ? FrontDesk::ssReserved : status.toInt();
    show.Mark = leaving ? 2 : 1;  // the icon of the row returned last
    if (!leaving) {
        show.Marks |= state == FrontDesk::ssInHouse ? rmInHouse : 0;
        show.Guests.append(guest);
        show.Marks |= kNightHeld;
    }
    if (arriving && state == FrontDesk::ssReserved)
        show.Marks |= rmArriving;
    if (leaving) {
        show.Marks |= rmLeaving;
        show.Guests.append(guest);
    }
}

void TRoomBoard::Show(TRoomButton *button, const TRoomShow &show, const QPixmap &stay, const QPixmap &leaving)
{
    if (show.Mark != button->Mark) {
        button->Mark = show.Mark;
        button->SetGlyph(show.Mark == 0 ? QPixmap() : show.Mark == 2 ? leaving : stay);
    }
    int marks = show.Marks & ~kNightHeld;
    if (!(show.Marks & (kNightHeld | rmClosed)))
        marks |= rmFree;
    button->SetMarks(marks);
    // Most rooms show the same guests tick after tick: their tooltip is left as it is.
    if (show.Guests == button->Guests)
        return;
    button->Guests = show.Guests;
    QStringList guests = show.Guests;
    guests.removeDuplicates();
    if (guests.size() > 1)
        guests.prepend(msgBoardGuestsCount.arg(guests.size()));
    button->setToolTip(guests.isEmpty() ? button->Hint : guests.join(QLatin1Char('\n')));
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
    // A transaction of another window is that window's to end: this tick is left out. A
    // connection the server dropped is tried again by the tick, so an idle desk comes back too.
    if (m_refreshing || (!connection.Connected() && !connection.ConnectionLost()) || connection.InTransaction())
        return;
    m_refreshing = true;
    QString failure;
    try {
        const QDate date = m_date();
        const QString hotel = m_hotel();
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
        QHash<int, TRoomShow> shows;
        if (!filtered || !hotelId.isEmpty())
            shows = ReadMarks(date, hotelId, filtered);
        transaction.Commit();
        const QPixmap stay = shows.isEmpty() ? QPixmap() : StayIcon();
        const QPixmap leavingIcon = shows.isEmpty() ? QPixmap() : LeavingIcon();
        const TRoomShow none;
        for (const QPointer<TRoomButton> &button : m_buttons) {
            if (!button)
                continue;
            // With a hotel chosen, the rooms of the others show nothing.
            const bool shown = !filtered || button->property("HotelID").toString() == hotelId;
            if (!shown) {
                Show(button, none, stay, leavingIcon);
                button->SetMarks(0);
                continue;
            }
            const auto found = shows.constFind(button->RoomID);
            Show(button, found == shows.constEnd() ? none : found.value(), stay, leavingIcon);
        }
        m_refreshErrorShown = false;
    } catch (const EDatabaseConnectionLost &) {
        // Said once by the connection's own notice; the board is greyed meanwhile.
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
