#pragma once
// The room-status board of the main window: a button per placed room at its place on the
// plan, marked every refresh with a bed icon when a stay covers the filter date, and with the
// front desk's marks: free, arriving, in house, leaving, dirty, closed.

#include <QDate>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QToolButton>
#include <functional>

class QMenu;
class QTimer;

// What the board shows of a room on the filter date, beside the bed icon.
enum TRoomMark {
    rmFree = 1,      // no stay holds the night and the room is open
    rmArriving = 2,  // a reserved stay begins that day
    rmInHouse = 4,   // a guest in house sleeps there that night
    rmLeaving = 8,   // a stay ends that day
    rmDirty = 16,    // dirty: to be cleaned
    rmClosed = 32,   // out of service or locked for that night
    rmOverdue = 64,  // a guest still in house after the departure day
    rmCleaning = 128 // being cleaned now
};

// The pictures of the marks, drawn for this program; the legend shows them too.
namespace RoomMarks {
QPixmap Picture(TRoomMark mark);
QColor Tint(TRoomMark mark);
} // namespace RoomMarks

// A room's button: the glyph drawn under the caption, the marks beside it. It takes the focus
// by a click or from the board, not by Tab (a thousand rooms would be a thousand Tabs); the
// arrow keys go to the neighbouring room, Enter opens the folio, the menu key the room's menu.
class TRoomButton : public QToolButton
{
    Q_OBJECT
public:
    explicit TRoomButton(QWidget *parent = nullptr);
    void SetGlyph(const QPixmap &glyph);
    const QPixmap &Glyph() const { return m_glyph; }
    void SetMarks(int marks);
    int Marks() const { return m_marks; }
    // Which icon marks the room: 0 none, 1 a stay, 2 a guest leaving on the date.
    int Mark = 0;
    int RoomID = 0;  // the room's Rooms.q47
    QString Hint;    // the specified hint: the button counter
    QStringList Guests;  // whose names the tooltip shows now

signals:
    void DoubleClicked();
    void ArrowPressed(int key);
    void Focused();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPixmap m_glyph;
    int m_marks = 0;
};

class TRoomBoard : public QObject
{
    Q_OBJECT
public:
    // canvas: where the buttons stand; date and hotel: the main window's filter and selector.
    TRoomBoard(QWidget *canvas, QMenu *popup, std::function<QDate()> date, std::function<QString()> hotel,
               QObject *parent = nullptr);

    // Removes the buttons of an earlier build, then one button per placed room.
    bool BuildRoomBoard();
    void RefreshRoomBoard();
    void RoomButtonClick(TRoomButton *button);
    // The room whose context menu was opened last.
    int PopupRoom() const { return m_popupRoom; }

    // The buttons that show a room number (one per room of that number).
    QList<TRoomButton *> Buttons(const QString &caption) const;
    // The button of one room, by its identifier.
    TRoomButton *Button(int room) const { return m_byRoom.value(room); }
    const QList<QPointer<TRoomButton>> &AllButtons() const { return m_buttons; }
    int ButtonCounter() const { return m_counter; }

    // The pictures of the two icon files, or drawn ones when a file cannot be read.
    static QPixmap StayIcon();
    static QPixmap LeavingIcon();

    // Gives the keyboard to the room that had it last (or the first one); false without rooms.
    bool FocusBoard();
    // The room the arrow key points at from that one: the nearest in that direction.
    TRoomButton *Neighbour(const TRoomButton *from, int key) const;

signals:
    void RoomDoubleClicked(int room);
    void RoomFocused(TRoomButton *button);

private:
    struct TRoomShow {
        int Mark = 0, Marks = 0;
        QStringList Guests;
    };
    QHash<int, TRoomShow> ReadMarks(const QDate &date, const QString &hotelId, bool filtered);
    static void MarkStay(TRoomShow &show, bool leaving, bool arriving, const QVariant &status, const QString &guest);
    void Show(TRoomButton *button, const TRoomShow &show, const QPixmap &stay, const QPixmap &leaving);
    void ClearMarks();
    void ReportRefreshError(const QString &message);
    static QPixmap LoadIcon(const QString &file, bool leaving);

    QWidget *m_canvas;
    QMenu *m_popup;
    std::function<QDate()> m_date;
    std::function<QString()> m_hotel;
    QList<QPointer<TRoomButton>> m_buttons;
    QHash<int, TRoomButton *> m_byRoom;
    int m_counter = 0;
    int m_popupRoom = 0;
    QTimer *m_clickTimer;
    QPointer<TRoomButton> m_clicked;
    QPointer<TRoomButton> m_focused;
    bool m_refreshing = false;
    bool m_refreshErrorShown = false;
};
