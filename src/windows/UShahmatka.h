#pragma once
// The reservation chart: rooms down the side (by hotel and floor), days across, each stay a bar
// from the middle of its first day to the middle of its departure day, so that a same-day
// turnover shows two half bars. Dragging across free nights books them; dragging a bar to
// another row moves the guest, its right end changes the departure, a reserved bar dragged
// sideways takes other days. The keyboard does the same. Follows the board's refresh.

#include "desk/UChart.h"
#include "framework/UMainLibraryClass.h"

#include <QGraphicsView>
#include <QHash>
#include <functional>

class QComboBox;
class QDateEdit;
class QGraphicsRectItem;
class QGraphicsLineItem;
class QLabel;
class QMenu;
class QPrinter;
class QTimer;
class TFormInfo;
class TKalvMenuControl;
class TChartBarItem;

// The drawing area; what it draws behind and over the bars is the window's.
class TChartView : public QGraphicsView
{
    Q_OBJECT
public:
    using TPaint = std::function<void(QPainter *, const QRectF &)>;
    explicit TChartView(QWidget *parent = nullptr);
    TPaint Background, Foreground;
    // The two strips in the margins: the days over the chart, the rooms beside it.
    QWidget *DayHeader, *RoomColumn;

protected:
    void drawBackground(QPainter *painter, const QRectF &rect) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
};

class TFShahmatka : public TMainLibraryClass
{
    Q_OBJECT
public:
    explicit TFShahmatka(QWidget *parent = nullptr);
    ~TFShahmatka() override;

    // The board's day and hotel (empty: every hotel).
    void SetDefaults(const QDate &day, const QString &hotelName);
    bool InitializeWindow() override;
    // Reads the period again; only bars that changed are drawn anew. The board's refresh calls it.
    void Refresh();

    enum TSpan { spWeek, spTwoWeeks, spFourWeeks, spMonth };
    void SetSpan(TSpan span);
    // Wider or narrower days (Ctrl and the wheel, Ctrl and + or -); the width then stays.
    void Zoom(double factor);
    QDate From() const { return m_from; }
    int Days() const { return m_days; }
    // Where things stand in the view's coordinates (for the keyboard and mouse of a person).
    QPoint CellCenter(int room, const QDate &day) const;
    QRect BarRect(int stay) const;
    QPoint BarRightEnd(int stay) const;
    const Chart::TSnapshot &Snapshot() const { return m_snapshot; }
    // How many bars were drawn anew by the last refresh.
    int RedrawnBars() const { return m_redrawn; }
    // The cell of the keyboard's cursor.
    int CursorRoom() const;
    QDate CursorDay() const;
    // What the pointer or keys now point at: allowed or not, and why not.
    bool DragAllowed() const { return m_drag.Allowed; }
    QString DragReason() const { return m_drag.Why; }
    bool Dragging() const { return m_drag.Gesture != gsNone; }
    // Pages across and down, the rooms' names repeated on each.
    bool SaveAsPdf(const QString &fileName);
    int PrintedPages() const { return m_printedPages; }

    void acShahmatkaPrevExecute();
    void acShahmatkaNextExecute();
    void acShahmatkaTodayExecute();
    void acShahmatkaPrintExecute();
    void acShahmatkaPdfExecute();

    TKalvMenuControl *smcShahmatka;
    QAction *acShahmatkaPrev, *acShahmatkaNext, *acShahmatkaToday, *acShahmatkaPrint, *acShahmatkaPdf, *acClose;
    QComboBox *cbShahmatkaSpan, *cbShahmatkaHotel;
    QDateEdit *dtpShahmatkaFrom;
    QLabel *lInfoShahmatkaFrom, *lInfoShahmatkaSpan, *lInfoShahmatkaHotel, *lblShahmatkaHint;
    TChartView *View;
    QMenu *pmShahmatka;
    QAction *pmShahmatkaMove, *pmShahmatkaExtend, *pmShahmatkaCheckIn, *pmShahmatkaCheckOut, *pmShahmatkaCancel,
        *pmShahmatkaFolio;

signals:
    // A period of free nights chosen for a booking: the rooms (numbers) of one hotel.
    void ReservationRequested(const QString &hotelName, const QStringList &rooms, const QDate &from, const QDate &to);
    // The folio of a booking, on one of its pages.
    void FolioRequested(int booking, int stay, int page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    enum TGesture { gsNone, gsCreate, gsBar, gsExtend };
    struct TRow {
        int Room = -1;  // index into the snapshot's rooms; -1: a hotel and floor heading
        QString Label;
        double Y = 0, H = 0;
    };
    struct TDrag {
        TGesture Gesture = gsNone;
        bool Keyboard = false;
        Chart::TBar Bar;
        int StartRow = -1, Row = -1;
        QDate StartDay, Day;
        bool Allowed = false;
        QString Why;
    };
    enum TDrop { drNone, drMove, drDates, drExtend, drCreate };

    void LoadCaptions();
    void FillHotels();
    void ReadPeriod();
    void Layout();
    void Rebuild(bool everything);
    void PlaceBar(TChartBarItem *item) const;
    void DrawClosures();
    void DrawLinks();
    int DaysOfSpan() const;
    double FittingDayWidth() const;
    void SetDayWidth(double width);
    double DayX(const QDate &day) const;
    QDate DayAt(double x) const;
    int RowAt(double y) const;
    int RowOfRoom(int room) const { return m_rowOfRoom.value(room, -1); }
    const Chart::TRoom *RoomOfRow(int row) const;
    TChartBarItem *BarAt(const QPointF &scenePos) const;
    TChartBarItem *BarAtCell(int row, const QDate &day) const;
    QString TipAt(const QPointF &scenePos) const;

    void PaintBackground(QPainter *painter, const QRectF &rect) const;
    void PaintForeground(QPainter *painter, const QRectF &rect) const;
    void PaintDayHeader(QPainter &painter, double sceneLeft, double width, double height) const;
    void PaintRoomColumn(QPainter &painter, double sceneTop, double width, double height) const;

    // Gestures, from the mouse or the keys.
    void StartDrag(TGesture gesture, const Chart::TBar &bar, int row, const QDate &day, bool keyboard);
    void DragTo(int row, const QDate &day);
    TDrop DropKind() const;
    void Evaluate();
    void ShowGhost();
    void CancelDrag();
    void Drop();
    void DropBar(TDrop kind, const TDrag &drag);
    // choose: what the operator decides after the preview, before the operation runs.
    void RunOnStay(const QString &preview, const std::function<void(FrontDesk::TConsent)> &operation,
                   const std::function<FrontDesk::TConsent()> &choose = {});
    bool MousePress(QMouseEvent *event);
    bool MouseMove(QMouseEvent *event);
    bool MouseRelease(QMouseEvent *event);
    bool KeyPress(QKeyEvent *event);
    void MoveCursor(int rows, int days);
    void SetCursor(int row, const QDate &day);
    void ShowMenu(const QPoint &globalPos);
    void MenuCommand(QAction *action);
    void ShowHint(const QString &text);
    void RenderPages(QPrinter &printer);

    QDate m_from;
    int m_days = 28;
    double m_dayWidth = 36, m_rowHeight = 24, m_headingHeight = 20;
    bool m_zoomed = false;
    TSpan m_span = spTwoWeeks;
    QString m_defaultHotel;
    Chart::TSnapshot m_snapshot;
    QList<TRow> m_rows;
    QHash<int, int> m_rowOfRoom;
    QHash<int, TChartBarItem *> m_bars;
    QList<QGraphicsItem *> m_closureItems, m_linkItems;
    QGraphicsRectItem *m_ghost = nullptr;
    TDrag m_drag;
    int m_cursorRow = -1;
    QDate m_cursorDay;
    int m_redrawn = 0, m_printedPages = 0;
    TFormInfo *FormInfo1;
};
