#pragma once
// The room-status board of the main window: a button per placed room at its place on the
// plan, marked every refresh with a bed icon when a stay covers the filter date.

#include <QDate>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QToolButton>
#include <functional>

class QMenu;

// A room's button: no keyboard focus, the glyph drawn under the caption.
class TRoomButton : public QToolButton
{
    Q_OBJECT
public:
    explicit TRoomButton(QWidget *parent = nullptr);
    void SetGlyph(const QPixmap &glyph);
    const QPixmap &Glyph() const { return m_glyph; }
    // Which icon marks the room: 0 none, 1 a stay, 2 a guest leaving on the date.
    int Mark = 0;
    int RoomID = 0;  // the room's Rooms.q47

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_glyph;
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

    // The buttons that show a room number (one per room of that number).
    QList<TRoomButton *> Buttons(const QString &caption) const;
    // The button of one room, by its identifier.
    TRoomButton *Button(int room) const { return m_byRoom.value(room); }
    const QList<QPointer<TRoomButton>> &AllButtons() const { return m_buttons; }
    int ButtonCounter() const { return m_counter; }

    // The pictures of the two icon files, or drawn ones when a file cannot be read.
    static QPixmap StayIcon();
    static QPixmap LeavingIcon();

private:
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
    bool m_refreshing = false;
    bool m_refreshErrorShown = false;
};
