#include "UShahmatka.h"

#include "UFolio.h"
#include "UFrontDeskRun.h"
#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "desk/UOperationPreview.h"
#include "desk/UReports.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QToolTip>
#include <cmath>

using namespace FrontDesk;
using Chart::TBar;

namespace {

constexpr int kRoomColumn = 130;  // the rooms' strip, in pixels
constexpr int kHeader = 40;       // the days' strip: the month over the days
constexpr int kMonthBand = 16;
constexpr double kEndGrip = 6;     // how near a bar's right end a press takes the end

QColor kindColour(Chart::TBarKind kind)
{
    switch (kind) {
    case Chart::bkInHouse:
        return QColor(0x4c, 0xa6, 0x4c);
    case Chart::bkLeavingToday:
        return QColor(0xe8, 0x8a, 0x2e);
    case Chart::bkDeparted:
        return QColor(0xa8, 0xa8, 0xa8);
    case Chart::bkNoShow:
        return QColor(0xd0, 0x5a, 0x5a);
    default:
        return QColor(0x4a, 0x86, 0xc8);
    }
}

QString dayText(const QDate &day) { return day.toString(QStringLiteral("dd.MM.yyyy")); }

// A small widget in the view's margin that the window paints.
class TStrip : public QWidget
{
public:
    explicit TStrip(QWidget *parent) : QWidget(parent) {}
    std::function<void(QPainter &)> Paint;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (Paint)
            Paint(painter);
    }
};

} // namespace

// One part of a stay: one item, drawn from the middle of its first day to the middle of its
// departure day.
class TChartBarItem : public QGraphicsItem
{
public:
    TBar Bar;
    QRectF Rect;
    Chart::TBarKind Kind = Chart::bkReserved;
    int Row = -1;

    QRectF boundingRect() const override { return Rect; }
    void SetRect(const QRectF &rect)
    {
        prepareGeometryChange();
        Rect = rect;
    }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        const QColor colour = kindColour(Kind);
        painter->setPen(QPen(colour.darker(140), 1));
        painter->setBrush(colour);
        painter->drawRoundedRect(Rect.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        if (Bar.OpenBalance()) {
            // An open balance: a red corner.
            const QPointF corner = Rect.topRight();
            const QPolygonF mark({corner, corner + QPointF(-9, 0), corner + QPointF(0, 9)});
            painter->setPen(Qt::NoPen);
            painter->setBrush(QColor(0xc0, 0x00, 0x00));
            painter->drawPolygon(mark);
        }
        if (Rect.width() > 16) {
            painter->setPen(Kind == Chart::bkDeparted ? Qt::black : Qt::white);
            QFont font = painter->font();
            font.setPointSizeF(8);
            painter->setFont(font);
            const QRectF text = Rect.adjusted(5, 0, -6, 0);
            const QString label = QStringLiteral("%1 (%2)").arg(Bar.Guest).arg(Bar.Nights);
            painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                              painter->fontMetrics().elidedText(label, Qt::ElideRight, int(text.width())));
        }
    }
};

// ---- the view

TChartView::TChartView(QWidget *parent) : QGraphicsView(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setViewportMargins(kRoomColumn, kHeader, 0, 0);
    setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    DayHeader = new TStrip(this);
    DayHeader->setObjectName(QStringLiteral("ShahmatkaDays"));
    RoomColumn = new TStrip(this);
    RoomColumn->setObjectName(QStringLiteral("ShahmatkaRooms"));
}

void TChartView::drawBackground(QPainter *painter, const QRectF &rect)
{
    if (Background)
        Background(painter, rect);
}

void TChartView::drawForeground(QPainter *painter, const QRectF &rect)
{
    if (Foreground)
        Foreground(painter, rect);
}

void TChartView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    const int frame = frameWidth();
    DayHeader->setGeometry(frame + kRoomColumn, frame, viewport()->width(), kHeader);
    RoomColumn->setGeometry(frame, frame + kHeader, kRoomColumn, viewport()->height());
}

void TChartView::scrollContentsBy(int dx, int dy)
{
    QGraphicsView::scrollContentsBy(dx, dy);
    if (dx)
        DayHeader->update();
    if (dy)
        RoomColumn->update();
}

// ---- the window

TFShahmatka::TFShahmatka(QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(QStringLiteral("FShahmatka"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Шахматка"));
    resize(1100, 640);
    m_from = Today();
    smcShahmatka = new TKalvMenuControl(this);
    smcShahmatka->setObjectName(QStringLiteral("smcShahmatka"));
    acShahmatkaPrev = smcShahmatka->AddCommand(QStringLiteral("acShahmatkaPrev"), QStringLiteral("Назад"),
                                               [this] { acShahmatkaPrevExecute(); });
    acShahmatkaToday = smcShahmatka->AddCommand(QStringLiteral("acShahmatkaToday"), QStringLiteral("Днес"),
                                                [this] { acShahmatkaTodayExecute(); });
    acShahmatkaNext = smcShahmatka->AddCommand(QStringLiteral("acShahmatkaNext"), QStringLiteral("Напред"),
                                               [this] { acShahmatkaNextExecute(); });
    acShahmatkaPrint = smcShahmatka->AddCommand(QStringLiteral("acShahmatkaPrint"), QStringLiteral("Печат"),
                                                [this] { acShahmatkaPrintExecute(); });
    acShahmatkaPdf = smcShahmatka->AddCommand(QStringLiteral("acShahmatkaPdf"), QStringLiteral("Запис като PDF"),
                                              [this] { acShahmatkaPdfExecute(); });
    acClose = smcShahmatka->AddCommand(QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });

    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *bar = new QHBoxLayout;
    auto label = [client](const char *name, const char *caption) {
        auto *result = new QLabel(QString::fromUtf8(caption), client);
        result->setObjectName(QLatin1String(name));
        return result;
    };
    lInfoShahmatkaFrom = label("lInfoShahmatkaFrom", "От");
    dtpShahmatkaFrom = NewDatePicker(client, QStringLiteral("dtpShahmatkaFrom"), m_from);
    lInfoShahmatkaSpan = label("lInfoShahmatkaSpan", "Период");
    cbShahmatkaSpan = new QComboBox(client);
    cbShahmatkaSpan->setObjectName(QStringLiteral("cbShahmatkaSpan"));
    lInfoShahmatkaHotel = label("lInfoShahmatkaHotel", "Хотел");
    cbShahmatkaHotel = new QComboBox(client);
    cbShahmatkaHotel->setObjectName(QStringLiteral("cbShahmatkaHotel"));
    cbShahmatkaHotel->setMinimumWidth(200);
    for (QWidget *widget : std::initializer_list<QWidget *>{lInfoShahmatkaFrom, dtpShahmatkaFrom, lInfoShahmatkaSpan,
                                                            cbShahmatkaSpan, lInfoShahmatkaHotel, cbShahmatkaHotel})
        bar->addWidget(widget);
    bar->addStretch(1);
    layout->addLayout(bar);
    View = new TChartView(client);
    View->setObjectName(QStringLiteral("ShahmatkaView"));
    View->setScene(new QGraphicsScene(View));
    // Bars move together when the days widen: a spatial index would be rebuilt for each; a
    // screen's worth of a month's thousands of bars is found faster by one pass.
    View->scene()->setItemIndexMethod(QGraphicsScene::NoIndex);
    View->Background = [this](QPainter *painter, const QRectF &rect) { PaintBackground(painter, rect); };
    View->Foreground = [this](QPainter *painter, const QRectF &rect) { PaintForeground(painter, rect); };
    static_cast<TStrip *>(View->DayHeader)->Paint = [this](QPainter &painter) {
        const QPointF origin = View->mapToScene(QPoint(0, 0));
        PaintDayHeader(painter, origin.x(), View->DayHeader->width(), kHeader);
    };
    static_cast<TStrip *>(View->RoomColumn)->Paint = [this](QPainter &painter) {
        const QPointF origin = View->mapToScene(QPoint(0, 0));
        PaintRoomColumn(painter, origin.y(), kRoomColumn, View->RoomColumn->height());
    };
    View->viewport()->installEventFilter(this);
    View->installEventFilter(this);
    layout->addWidget(View, 1);
    lblShahmatkaHint = new QLabel(client);
    lblShahmatkaHint->setObjectName(QStringLiteral("lblShahmatkaHint"));
    layout->addWidget(lblShahmatkaHint);
    setCentralWidget(client);

    pmShahmatka = new QMenu(this);
    pmShahmatka->setObjectName(QStringLiteral("pmShahmatka"));
    auto item = [this](const char *name, const char *caption) {
        QAction *action = pmShahmatka->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        return action;
    };
    pmShahmatkaMove = item("pmShahmatkaMove", "Преместване на гост ");
    pmShahmatkaExtend = item("pmShahmatkaExtend", "Удължаване на престой ");
    pmShahmatkaCheckIn = item("pmShahmatkaCheckIn", "Настаняване");
    pmShahmatkaCheckOut = item("pmShahmatkaCheckOut", "Напускане ");
    pmShahmatkaCancel = item("pmShahmatkaCancel", "Отмяна на резервация");
    pmShahmatkaFolio = item("pmShahmatkaFolio", "Сметка");
    connect(pmShahmatka, &QMenu::triggered, this, [this](QAction *action) { MenuCommand(action); });

    connect(FrontDeskRun::Changes(), &TFrontDeskChanges::Changed, this, [this] { Refresh(); });
    // A period, a span or a hotel chosen: read again.
    connect(cbShahmatkaSpan, &QComboBox::currentIndexChanged, this, [this] { ReadPeriod(); });
    connect(cbShahmatkaHotel, &QComboBox::currentIndexChanged, this, [this] { ReadPeriod(); });
    connect(dtpShahmatkaFrom, &QDateEdit::dateChanged, this, [this] { ReadPeriod(); });
    FormInfo1 = new TFormInfo(this, objectName());
    FormInfo1->SetDesignedSize(size());
}

TFShahmatka::~TFShahmatka() = default;

void TFShahmatka::SetDefaults(const QDate &day, const QString &hotelName)
{
    m_from = day.isValid() ? day : Today();
    m_defaultHotel = hotelName;
}

void TFShahmatka::SetSpan(TSpan span)
{
    m_span = span;
    if (cbShahmatkaSpan->count() > span)
        cbShahmatkaSpan->setCurrentIndex(span);
}

void TFShahmatka::LoadCaptions()
{
    LoadFormCaption(this);
    LoadToolbarCaptions(smcShahmatka);
    for (QLabel *label : {lInfoShahmatkaFrom, lInfoShahmatkaSpan, lInfoShahmatkaHotel})
        LoadComponentCaptions(label);
    for (QAction *action : pmShahmatka->actions())
        action->setText(SettingsCaption(action->objectName()));
}

bool TFShahmatka::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadCaptions();
    {
        const QSignalBlocker quiet(cbShahmatkaSpan);
        cbShahmatkaSpan->clear();
        cbShahmatkaSpan->addItems({msgChartWeek, msgChartTwoWeeks, msgChartFourWeeks, msgChartMonth});
        cbShahmatkaSpan->setCurrentIndex(m_span);
    }
    FillHotels();
    {
        const QSignalBlocker quiet(dtpShahmatkaFrom);
        dtpShahmatkaFrom->setDate(m_from);
    }
    ReadPeriod();
    View->setFocus();
    return true;
}

void TFShahmatka::FillHotels()
{
    const QSignalBlocker quiet(cbShahmatkaHotel);
    cbShahmatkaHotel->clear();
    cbShahmatkaHotel->addItem(rptAllHotels, QVariant());
    try {
        for (const auto &[name, id] : Reports::Hotels())
            cbShahmatkaHotel->addItem(name, id);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
    const int chosen = cbShahmatkaHotel->findText(m_defaultHotel);
    cbShahmatkaHotel->setCurrentIndex(chosen > 0 ? chosen : 0);
}

double TFShahmatka::FittingDayWidth() const
{
    // The period fits the window's width; a narrower day would not show its name.
    return std::max(24.0, double(std::max(View->viewport()->width(), 400)) / m_days);
}

void TFShahmatka::Zoom(double factor)
{
    m_zoomed = true;
    SetDayWidth(std::clamp(m_dayWidth * factor, 12.0, 240.0));
}

void TFShahmatka::SetDayWidth(double width)
{
    // The same bars, placed again: nothing is read or made anew.
    m_dayWidth = width;
    Layout();
    for (TChartBarItem *item : std::as_const(m_bars))
        PlaceBar(item);
    DrawClosures();
    DrawLinks();
    View->DayHeader->update();
    View->viewport()->update();
}

int TFShahmatka::DaysOfSpan() const
{
    switch (cbShahmatkaSpan->currentIndex()) {
    case spWeek:
        return 7;
    case spFourWeeks:
        return 28;
    case spMonth:
        return m_from.daysInMonth();
    default:
        return 14;
    }
}

void TFShahmatka::ReadPeriod()
{
    CancelDrag();
    m_from = dtpShahmatkaFrom->date();
    m_span = TSpan(std::max(0, cbShahmatkaSpan->currentIndex()));
    m_days = DaysOfSpan();
    m_zoomed = false;
    m_dayWidth = FittingDayWidth();
    if (!m_cursorDay.isValid() || m_cursorDay < m_from || m_cursorDay >= m_from.addDays(m_days))
        m_cursorDay = std::clamp(Today(), m_from, m_from.addDays(m_days - 1));
    try {
        m_snapshot = Chart::Read(cbShahmatkaHotel->currentData(), m_from, m_from.addDays(m_days));
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
        return;
    }
    Rebuild(true);
}

void TFShahmatka::Refresh()
{
    if (Dragging())
        return;  // the operator's gesture first; the next tick reads again
    Chart::TSnapshot fresh;
    try {
        fresh = Chart::Read(cbShahmatkaHotel->currentData(), m_from, m_from.addDays(m_days));
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        ShowHint(error.Message());
        return;
    }
    // The rows stay while the rooms do; a room's state shows in its strip only.
    bool sameRooms = fresh.Rooms.size() == m_snapshot.Rooms.size();
    for (int i = 0; sameRooms && i < fresh.Rooms.size(); ++i) {
        const Chart::TRoom &a = fresh.Rooms.at(i), &b = m_snapshot.Rooms.at(i);
        sameRooms = a.Id == b.Id && a.Number == b.Number && a.HotelName == b.HotelName;
    }
    m_snapshot = std::move(fresh);
    Rebuild(!sameRooms);
    View->RoomColumn->update();
}

void TFShahmatka::Layout()
{
    m_rows.clear();
    m_rowOfRoom.clear();
    double y = 0;
    QString lastHotel;
    int lastFloor = -1;
    for (int i = 0; i < m_snapshot.Rooms.size(); ++i) {
        const Chart::TRoom &room = m_snapshot.Rooms.at(i);
        if (i == 0 || room.HotelName != lastHotel || room.Floor != lastFloor) {
            const QString label = room.Floor > 0 ? msgChartFloor.arg(room.HotelName).arg(room.Floor) : room.HotelName;
            m_rows.append({-1, label, y, m_headingHeight});
            y += m_headingHeight;
            lastHotel = room.HotelName;
            lastFloor = room.Floor;
        }
        m_rowOfRoom.insert(room.Id, int(m_rows.size()));
        m_rows.append({i, room.Number, y, m_rowHeight});
        y += m_rowHeight;
    }
    View->scene()->setSceneRect(0, 0, m_days * m_dayWidth, std::max(y, 1.0));
    if (m_cursorRow < 0 || m_cursorRow >= m_rows.size() || m_rows.at(m_cursorRow).Room < 0)
        m_cursorRow = m_rows.size() > 1 ? 1 : -1;
}

void TFShahmatka::Rebuild(bool everything)
{
    QGraphicsScene *scene = View->scene();
    if (everything) {
        for (TChartBarItem *item : std::as_const(m_bars))
            delete item;
        m_bars.clear();
        Layout();
    }
    m_redrawn = 0;
    const QDate today = Today();
    QSet<int> seen;
    for (const TBar &bar : std::as_const(m_snapshot.Bars)) {
        seen.insert(bar.Stay);
        const int row = RowOfRoom(bar.Room);
        TChartBarItem *item = m_bars.value(bar.Stay);
        if (row < 0) {
            delete item;
            m_bars.remove(bar.Stay);
            continue;
        }
        const Chart::TBarKind kind = Chart::KindOf(bar, today);
        if (item && item->Row == row && item->Kind == kind && item->Bar.SameAs(bar))
            continue;
        if (!item) {
            item = new TChartBarItem;
            scene->addItem(item);
            m_bars.insert(bar.Stay, item);
        }
        item->Bar = bar;
        item->Row = row;
        item->Kind = kind;
        PlaceBar(item);
        item->update();
        ++m_redrawn;
    }
    for (auto it = m_bars.begin(); it != m_bars.end();) {
        if (seen.contains(it.key())) {
            ++it;
            continue;
        }
        delete it.value();
        it = m_bars.erase(it);
        ++m_redrawn;
    }
    DrawClosures();
    DrawLinks();
    View->DayHeader->update();
    View->RoomColumn->update();
    View->viewport()->update();
}

void TFShahmatka::PlaceBar(TChartBarItem *item) const
{
    const TRow &row = m_rows.at(item->Row);
    const double width = m_days * m_dayWidth;
    const double left = item->Bar.From < m_from ? 0 : DayX(item->Bar.From) + m_dayWidth / 2;
    const double right = std::min(width, DayX(item->Bar.To) + m_dayWidth / 2);
    item->SetRect(QRectF(left, row.Y + 3, std::max(2.0, right - left), row.H - 6));
}

void TFShahmatka::DrawClosures()
{
    qDeleteAll(m_closureItems);
    m_closureItems.clear();
    const QDate end = m_from.addDays(m_days);
    for (const Chart::TClosed &closed : std::as_const(m_snapshot.Closures)) {
        const int row = RowOfRoom(closed.Room);
        if (row < 0)
            continue;
        const QDate first = !closed.First.isValid() || closed.First < m_from ? m_from : closed.First;
        const QDate opens = !closed.Opens.isValid() || closed.Opens > end ? end : closed.Opens;
        if (first >= opens)
            continue;
        auto *item = View->scene()->addRect(QRectF(DayX(first), m_rows.at(row).Y + 1, first.daysTo(opens) * m_dayWidth,
                                                   m_rows.at(row).H - 2),
                                            QPen(QColor(0x80, 0x50, 0x50)),
                                            QBrush(QColor(0x90, 0x40, 0x40), Qt::BDiagPattern));
        item->setZValue(-1);
        // Its reason written on it, as far as it fits.
        auto *reason = new QGraphicsSimpleTextItem(RoomStateName(closed.Kind) +
                                                       (closed.Reason.isEmpty() ? QString() : QStringLiteral(": ") + closed.Reason),
                                                   item);
        QFont font = reason->font();
        font.setPointSizeF(8);
        reason->setFont(font);
        reason->setBrush(QColor(0x60, 0x20, 0x20));
        reason->setPos(DayX(first) + 4, m_rows.at(row).Y + (m_rows.at(row).H - reason->boundingRect().height()) / 2);
        item->setFlag(QGraphicsItem::ItemClipsChildrenToShape);
        item->setData(0, closed.Kind);
        item->setData(1, closed.Reason);
        item->setData(2, dayText(first) + QStringLiteral(" – ") + (closed.Opens.isValid() ? dayText(closed.Opens) : QString()));
        m_closureItems.append(item);
    }
}

void TFShahmatka::DrawLinks()
{
    qDeleteAll(m_linkItems);
    m_linkItems.clear();
    // The parts of a moved stay: the end of one joined to the start of the next.
    for (const TChartBarItem *item : std::as_const(m_bars)) {
        const TChartBarItem *before = item->Bar.Continues ? m_bars.value(item->Bar.Continues) : nullptr;
        if (!before)
            continue;
        const QPointF from(before->Rect.right(), before->Rect.center().y());
        const QPointF to(item->Rect.left(), item->Rect.center().y());
        auto *link = View->scene()->addLine(QLineF(from, to), QPen(QColor(0x30, 0x30, 0x30), 1.5, Qt::DashLine));
        link->setZValue(2);
        m_linkItems.append(link);
    }
}

double TFShahmatka::DayX(const QDate &day) const { return m_from.daysTo(day) * m_dayWidth; }

QDate TFShahmatka::DayAt(double x) const
{
    const int index = std::clamp(int(std::floor(x / m_dayWidth)), 0, m_days - 1);
    return m_from.addDays(index);
}

int TFShahmatka::RowAt(double y) const
{
    // The rows are in order of their tops: a binary search.
    auto it = std::upper_bound(m_rows.cbegin(), m_rows.cend(), y, [](double value, const TRow &row) { return value < row.Y; });
    if (it == m_rows.cbegin())
        return -1;
    const int index = int(std::distance(m_rows.cbegin(), it)) - 1;
    return y < m_rows.at(index).Y + m_rows.at(index).H ? index : -1;
}

const Chart::TRoom *TFShahmatka::RoomOfRow(int row) const
{
    if (row < 0 || row >= m_rows.size() || m_rows.at(row).Room < 0)
        return nullptr;
    return &m_snapshot.Rooms.at(m_rows.at(row).Room);
}

TChartBarItem *TFShahmatka::BarAt(const QPointF &scenePos) const
{
    for (QGraphicsItem *item : View->scene()->items(scenePos))
        if (auto *bar = dynamic_cast<TChartBarItem *>(item))
            return bar;
    return nullptr;
}

TChartBarItem *TFShahmatka::BarAtCell(int row, const QDate &day) const
{
    if (row < 0 || row >= m_rows.size())
        return nullptr;
    // The night of the day: its second half is where the stay that sleeps there stands.
    return BarAt(QPointF(DayX(day) + m_dayWidth * 0.75, m_rows.at(row).Y + m_rows.at(row).H / 2));
}

QString TFShahmatka::TipAt(const QPointF &scenePos) const
{
    if (const TChartBarItem *item = BarAt(scenePos)) {
        const TBar &bar = item->Bar;
        return msgChartTip.arg(bar.Booking)
            .arg(bar.Guest, dayText(bar.From), dayText(bar.To))
            .arg(bar.Nights)
            .arg(bar.Total.ToFixed(2), bar.Paid.ToFixed(2), (bar.Owed - bar.Paid).ToFixed(2), StatusName(bar.Status));
    }
    for (QGraphicsItem *item : View->scene()->items(scenePos))
        if (m_closureItems.contains(item))
            return RoomStateName(item->data(0).toInt()) + QStringLiteral(": ") + item->data(1).toString() +
                   QLatin1Char('\n') + item->data(2).toString();
    return QString();
}

// ---- painting

void TFShahmatka::PaintBackground(QPainter *painter, const QRectF &rect) const
{
    painter->fillRect(rect, Qt::white);
    if (m_rows.isEmpty())
        return;
    const QDate today = Today();
    const int first = std::max(0, int(std::floor(rect.left() / m_dayWidth)));
    const int last = std::min(m_days - 1, int(std::ceil(rect.right() / m_dayWidth)));
    for (int i = first; i <= last; ++i) {
        const QDate day = m_from.addDays(i);
        const QRectF column(i * m_dayWidth, rect.top(), m_dayWidth, rect.height());
        if (day == today)
            painter->fillRect(column, QColor(0xff, 0xf6, 0xc8));
        else if (day.dayOfWeek() >= 6)
            painter->fillRect(column, QColor(0xf1, 0xf1, 0xf6));
    }
    const int top = std::max(0, RowAt(rect.top()) - 1);
    painter->setPen(QColor(0xdd, 0xdd, 0xdd));
    for (int r = top; r < m_rows.size() && m_rows.at(r).Y <= rect.bottom(); ++r) {
        const TRow &row = m_rows.at(r);
        if (row.Room < 0) {
            // The hotel and floor in full at the start of the period; the rooms' strip keeps it.
            painter->fillRect(QRectF(rect.left(), row.Y, rect.width(), row.H), QColor(0xe6, 0xe9, 0xee));
            painter->setPen(QColor(0x40, 0x40, 0x50));
            painter->drawText(QRectF(6, row.Y, 600, row.H), Qt::AlignVCenter | Qt::AlignLeft, row.Label);
            painter->setPen(QColor(0xdd, 0xdd, 0xdd));
        }
        painter->drawLine(QPointF(rect.left(), row.Y + row.H - 0.5), QPointF(rect.right(), row.Y + row.H - 0.5));
    }
    for (int i = first; i <= last + 1; ++i)
        painter->drawLine(QPointF(i * m_dayWidth - 0.5, rect.top()), QPointF(i * m_dayWidth - 0.5, rect.bottom()));
}

void TFShahmatka::PaintForeground(QPainter *painter, const QRectF &) const
{
    // The keyboard's cursor: the cell of one room and one night.
    if (m_cursorRow < 0 || m_cursorRow >= m_rows.size() || !m_cursorDay.isValid())
        return;
    const TRow &row = m_rows.at(m_cursorRow);
    painter->setPen(QPen(View->hasFocus() ? QColor(0x10, 0x10, 0x10) : QColor(0x90, 0x90, 0x90), 2, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(DayX(m_cursorDay) + 1, row.Y + 1, m_dayWidth - 2, row.H - 2));
}

void TFShahmatka::PaintDayHeader(QPainter &painter, double sceneLeft, double width, double height) const
{
    painter.fillRect(QRectF(0, 0, width, height), QColor(0xf4, 0xf4, 0xf4));
    const QDate today = Today();
    const QLocale locale;
    const int first = std::max(0, int(std::floor(sceneLeft / m_dayWidth)));
    const int last = std::min(m_days - 1, int(std::ceil((sceneLeft + width) / m_dayWidth)));
    QFont font = painter.font();
    font.setPointSizeF(8);
    painter.setFont(font);
    for (int i = first; i <= last; ++i) {
        const QDate day = m_from.addDays(i);
        const double x = i * m_dayWidth - sceneLeft;
        const QRectF cell(x, kMonthBand, m_dayWidth, height - kMonthBand);
        if (day == today)
            painter.fillRect(cell, QColor(0xff, 0xe8, 0x80));
        else if (day.dayOfWeek() >= 6)
            painter.fillRect(cell, QColor(0xe2, 0xe2, 0xea));
        painter.setPen(QColor(0xb0, 0xb0, 0xb0));
        painter.drawLine(QPointF(x, kMonthBand), QPointF(x, height));
        painter.setPen(Qt::black);
        painter.drawText(cell, Qt::AlignCenter,
                         QString::number(day.day()) + QLatin1Char('\n') + locale.dayName(day.dayOfWeek(), QLocale::ShortFormat));
        if (i == first || day.day() == 1)
            painter.drawText(QRectF(std::max(0.0, x) + 3, 0, 200, kMonthBand), Qt::AlignVCenter | Qt::AlignLeft,
                             locale.standaloneMonthName(day.month()) + QLatin1Char(' ') + QString::number(day.year()));
    }
    painter.setPen(QColor(0xb0, 0xb0, 0xb0));
    painter.drawLine(QPointF(0, height - 0.5), QPointF(width, height - 0.5));
}

void TFShahmatka::PaintRoomColumn(QPainter &painter, double sceneTop, double width, double height) const
{
    painter.fillRect(QRectF(0, 0, width, height), QColor(0xf8, 0xf8, 0xf8));
    const int top = std::max(0, RowAt(sceneTop) - 1);
    for (int r = top; r < m_rows.size() && m_rows.at(r).Y <= sceneTop + height; ++r) {
        const TRow &row = m_rows.at(r);
        const QRectF cell(0, row.Y - sceneTop, width, row.H);
        QFont font = painter.font();
        font.setBold(row.Room < 0);
        painter.setFont(font);
        if (row.Room < 0) {
            painter.fillRect(cell, QColor(0xe6, 0xe9, 0xee));
            painter.setPen(Qt::black);
            painter.drawText(cell.adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                             painter.fontMetrics().elidedText(row.Label, Qt::ElideRight, int(width - 6)));
            continue;
        }
        const Chart::TRoom &room = m_snapshot.Rooms.at(row.Room);
        if (r == m_cursorRow)
            painter.fillRect(cell, QColor(0xdc, 0xe8, 0xf8));
        painter.setPen(Qt::black);
        painter.drawText(cell.adjusted(22, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, room.Number);
        if (room.State == rsDirty || room.State == rsCleaning) {
            // To be cleaned: a dot the board's legend uses too.
            painter.setPen(Qt::NoPen);
            painter.setBrush(room.State == rsDirty ? QColor(0xb0, 0x6a, 0x20) : QColor(0xe0, 0xc0, 0x30));
            painter.drawEllipse(QPointF(11, cell.center().y()), 5, 5);
            painter.setBrush(Qt::NoBrush);
        }
        painter.setPen(QColor(0xdd, 0xdd, 0xdd));
        painter.drawLine(QPointF(0, cell.bottom() - 0.5), QPointF(width, cell.bottom() - 0.5));
    }
    painter.setPen(QColor(0xb0, 0xb0, 0xb0));
    painter.drawLine(QPointF(width - 0.5, 0), QPointF(width - 0.5, height));
}

// ---- where things stand, for a person's pointer

QPoint TFShahmatka::CellCenter(int room, const QDate &day) const
{
    const int row = RowOfRoom(room);
    if (row < 0)
        return QPoint(-1, -1);
    return View->mapFromScene(QPointF(DayX(day) + m_dayWidth / 2, m_rows.at(row).Y + m_rows.at(row).H / 2));
}

QRect TFShahmatka::BarRect(int stay) const
{
    const TChartBarItem *item = m_bars.value(stay);
    return item ? View->mapFromScene(item->Rect).boundingRect() : QRect();
}

QPoint TFShahmatka::BarRightEnd(int stay) const
{
    const TChartBarItem *item = m_bars.value(stay);
    return item ? View->mapFromScene(QPointF(item->Rect.right() - 2, item->Rect.center().y())) : QPoint(-1, -1);
}

int TFShahmatka::CursorRoom() const
{
    const Chart::TRoom *room = RoomOfRow(m_cursorRow);
    return room ? room->Id : 0;
}

QDate TFShahmatka::CursorDay() const { return m_cursorDay; }

// ---- gestures

void TFShahmatka::StartDrag(TGesture gesture, const TBar &bar, int row, const QDate &day, bool keyboard)
{
    m_drag = TDrag();
    m_drag.Gesture = gesture;
    m_drag.Keyboard = keyboard;
    m_drag.Bar = bar;
    m_drag.StartRow = m_drag.Row = row;
    m_drag.StartDay = m_drag.Day = day;
    if (!m_ghost) {
        m_ghost = View->scene()->addRect(QRectF());
        m_ghost->setZValue(10);
    }
    Evaluate();
    ShowGhost();
}

void TFShahmatka::DragTo(int row, const QDate &day)
{
    if (!Dragging() || row < 0 || row >= m_rows.size() || m_rows.at(row).Room < 0 || !day.isValid())
        return;
    if (row == m_drag.Row && day == m_drag.Day)
        return;
    m_drag.Row = row;
    m_drag.Day = day;
    Evaluate();
    ShowGhost();
}

TFShahmatka::TDrop TFShahmatka::DropKind() const
{
    switch (m_drag.Gesture) {
    case gsCreate:
        return drCreate;
    case gsExtend:
        return m_drag.Day != m_drag.Bar.To ? drExtend : drNone;
    case gsBar:
        return m_drag.Row != m_drag.StartRow ? drMove : m_drag.Day != m_drag.StartDay ? drDates : drNone;
    default:
        return drNone;
    }
}

// Whether the drop would be taken, and if not why: the operation's own rules, read without
// locks (the operation checks again under its locks when the bar is let go).
void TFShahmatka::Evaluate()
{
    TDrag &drag = m_drag;
    const TBar &bar = drag.Bar;
    drag.Allowed = false;
    drag.Why.clear();
    const QDate today = Today();
    try {
        switch (DropKind()) {
        case drNone:
            return;
        case drCreate: {
            const QDate from = std::min(drag.StartDay, drag.Day), to = std::max(drag.StartDay, drag.Day).addDays(1);
            if (from < today) {
                drag.Why = msgDatesPast.arg(dayText(today));
                return;
            }
            QString hotel;
            for (int r = std::min(drag.StartRow, drag.Row); r <= std::max(drag.StartRow, drag.Row); ++r) {
                const Chart::TRoom *room = RoomOfRow(r);
                if (!room)
                    continue;
                if (!hotel.isNull() && room->HotelName != hotel) {
                    drag.Why = msgChartOneHotel;
                    return;
                }
                hotel = room->HotelName;
                if (!RoomFree(room->Id, from, to, 0, &drag.Why))
                    return;
            }
            break;
        }
        case drMove: {
            const Chart::TRoom *room = RoomOfRow(drag.Row);
            const bool inHouse = bar.Status == ssInHouse;
            const QDate day = inHouse ? today : bar.From;
            if (!room || day >= bar.To || (!inHouse && bar.Status != ssReserved)) {
                drag.Why = msgMoveDayInvalid;
                return;
            }
            if (!RoomFree(room->Id, day, bar.To, bar.Stay, &drag.Why))
                return;
            break;
        }
        case drDates: {
            const QDate from = bar.From.addDays(drag.StartDay.daysTo(drag.Day));
            if (bar.Status != ssReserved)
                drag.Why = msgChartInHouseDates;
            else if (bar.Continues != 0)
                drag.Why = msgDatesOfMovedStay;
            else if (from < today)
                drag.Why = msgDatesPast.arg(dayText(today));
            if (!drag.Why.isEmpty() ||
                !RoomFree(bar.Room, from, from.addDays(bar.From.daysTo(bar.To)), bar.Stay, &drag.Why))
                return;
            break;
        }
        case drExtend: {
            const QDate earliest = bar.Status == ssInHouse ? std::max(bar.From, today).addDays(1) : bar.From.addDays(1);
            if (drag.Day < earliest) {
                drag.Why = msgDepartureInvalid;
                return;
            }
            if (drag.Day > bar.To && !RoomFree(bar.Room, bar.To, drag.Day, bar.Stay, &drag.Why))
                return;
            break;
        }
        }
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        drag.Why = error.Message();
        return;
    }
    drag.Allowed = true;
}

void TFShahmatka::ShowGhost()
{
    if (!m_ghost)
        return;
    const TDrop kind = DropKind();
    if (kind == drNone || m_drag.Row < 0) {
        m_ghost->hide();
        ShowHint(QString());
        return;
    }
    const TRow &row = m_rows.at(m_drag.Row);
    QRectF rect;
    const TChartBarItem *item = m_bars.value(m_drag.Bar.Stay);
    if (kind == drCreate) {
        const TRow &start = m_rows.at(m_drag.StartRow);
        const QDate from = std::min(m_drag.StartDay, m_drag.Day), to = std::max(m_drag.StartDay, m_drag.Day).addDays(1);
        rect = QRectF(QPointF(DayX(from), std::min(start.Y, row.Y)),
                      QPointF(DayX(to), std::max(start.Y + start.H, row.Y + row.H)));
    } else if (item) {
        rect = item->Rect;
        if (kind == drMove)
            rect.moveTop(row.Y + 3);
        else if (kind == drDates)
            rect.translate(m_drag.StartDay.daysTo(m_drag.Day) * m_dayWidth, 0);
        else
            rect.setRight(DayX(m_drag.Day) + m_dayWidth / 2);
    }
    const QColor colour = m_drag.Allowed ? QColor(0x20, 0xa0, 0x20) : QColor(0xd0, 0x20, 0x20);
    m_ghost->setPen(QPen(colour, 2));
    m_ghost->setBrush(QColor(colour.red(), colour.green(), colour.blue(), 70));
    m_ghost->setRect(rect);
    m_ghost->show();
    ShowHint(m_drag.Allowed ? QString() : m_drag.Why);
}

void TFShahmatka::CancelDrag()
{
    m_drag = TDrag();
    if (m_ghost)
        m_ghost->hide();
}

void TFShahmatka::Drop()
{
    const TDrop kind = DropKind();
    const TDrag drag = m_drag;
    CancelDrag();
    if (kind == drNone)
        return;
    if (!drag.Allowed) {
        ShowHint(drag.Why);  // the bar stays where it was
        return;
    }
    if (kind == drCreate) {
        QStringList numbers;
        QString hotel;
        for (int r = std::min(drag.StartRow, drag.Row); r <= std::max(drag.StartRow, drag.Row); ++r)
            if (const Chart::TRoom *room = RoomOfRow(r)) {
                numbers.append(room->Number);
                hotel = room->HotelName;
            }
        emit ReservationRequested(hotel, numbers, std::min(drag.StartDay, drag.Day),
                                  std::max(drag.StartDay, drag.Day).addDays(1));
        return;
    }
    DropBar(kind, drag);
}

void TFShahmatka::DropBar(TDrop kind, const TDrag &drag)
{
    const TBar bar = drag.Bar;
    std::optional<TStay> stay;
    std::optional<TFolio> folio;
    try {
        stay = ReadStay(bar.Stay);
        folio = ReadFolio(bar.Booking);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
        return;
    }
    if (!stay || !folio)
        return;
    if (kind == drMove) {
        const Chart::TRoom room = *RoomOfRow(drag.Row);
        const QDate day = stay->Status == ssInHouse ? Today() : stay->From;
        RunOnStay(OperationPreview::Move(*folio, *stay, room.Number, day),
                  [&](TConsent consent) { Move(bar.Stay, room.Id, day, consent); },
                  [&] { return FrontDeskRun::RepriceChoice(*stay, room.Number); });
    } else if (kind == drExtend) {
        const QDate departure = drag.Day;
        RunOnStay(OperationPreview::Extension(*folio, *stay, departure), [&](TConsent) { Extend(bar.Stay, departure); });
    } else if (kind == drDates) {
        const QDate from = stay->From.addDays(drag.StartDay.daysTo(drag.Day));
        const QDate to = from.addDays(stay->From.daysTo(stay->To));
        RunOnStay(msgChartDatesQuestion.arg(stay->RoomNumber, dayText(stay->From), dayText(stay->To), dayText(from),
                                            dayText(to)),
                  [&](TConsent) { ChangeDates(bar.Stay, from); });
    }
}

void TFShahmatka::RunOnStay(const QString &preview, const std::function<void(TConsent)> &operation,
                            const std::function<TConsent()> &choose)
{
    // MB_YESNO | MB_ICONQUESTION: Enter says yes, Esc no.
    if (TSystemWinOS::ShowMessageBox(preview, msgPreviewTitle, 4 | 32) != TSystemWinOS::IDYES)
        return;
    if (FrontDeskRun::Run(operation, choose ? choose() : TConsent()))
        emit FrontDeskRun::Changes()->Changed();
    else
        Refresh();
}

// ---- the mouse

bool TFShahmatka::MousePress(QMouseEvent *event)
{
    const QPointF at = View->mapToScene(event->position().toPoint());
    const int row = RowAt(at.y());
    if (row < 0 || m_rows.at(row).Room < 0)
        return false;
    const QDate day = DayAt(at.x());
    SetCursor(row, day);
    View->setFocus();
    if (event->button() == Qt::RightButton) {
        ShowMenu(event->globalPosition().toPoint());
        return true;
    }
    if (event->button() != Qt::LeftButton)
        return false;
    if (const TChartBarItem *item = BarAt(at)) {
        const TBar &bar = item->Bar;
        if (bar.Status != ssReserved && bar.Status != ssInHouse)
            return true;
        if (at.x() >= item->Rect.right() - kEndGrip)
            StartDrag(gsExtend, bar, row, bar.To, false);
        else
            StartDrag(gsBar, bar, row, day, false);
        return true;
    }
    StartDrag(gsCreate, TBar(), row, day, false);
    return true;
}

bool TFShahmatka::MouseMove(QMouseEvent *event)
{
    if (!Dragging() || m_drag.Keyboard)
        return false;
    const QPointF at = View->mapToScene(event->position().toPoint());
    // Past the last row or day the nearest one stays the target.
    const int row = RowAt(std::clamp(at.y(), 0.0, View->scene()->sceneRect().bottom() - 1));
    DragTo(row, DayAt(at.x()));
    return true;
}

bool TFShahmatka::MouseRelease(QMouseEvent *event)
{
    if (!Dragging() || m_drag.Keyboard || event->button() != Qt::LeftButton)
        return false;
    Drop();
    return true;
}

bool TFShahmatka::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == View->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            return MousePress(static_cast<QMouseEvent *>(event));
        case QEvent::MouseMove:
            return MouseMove(static_cast<QMouseEvent *>(event));
        case QEvent::MouseButtonRelease:
            return MouseRelease(static_cast<QMouseEvent *>(event));
        case QEvent::MouseButtonDblClick: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (const TChartBarItem *item = BarAt(View->mapToScene(mouse->position().toPoint())))
                emit FolioRequested(item->Bar.Booking, item->Bar.Stay, TFFolio::pgStay);
            return true;
        }
        case QEvent::ToolTip: {
            const auto *help = static_cast<QHelpEvent *>(event);
            const QString tip = TipAt(View->mapToScene(help->pos()));
            if (tip.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), tip, View->viewport());
            return true;
        }
        case QEvent::Wheel: {
            const auto *wheel = static_cast<QWheelEvent *>(event);
            if (!(wheel->modifiers() & Qt::ControlModifier))
                return false;
            // Ctrl and the wheel: wider or narrower days, the day under the pointer kept.
            Zoom(wheel->angleDelta().y() > 0 ? 1.25 : 0.8);
            return true;
        }
        default:
            return false;
        }
    }
    if (watched == View && event->type() == QEvent::Resize && !m_zoomed && !m_rows.isEmpty() &&
        FittingDayWidth() != m_dayWidth)
        SetDayWidth(FittingDayWidth());
    if (watched == View && event->type() == QEvent::KeyPress)
        return KeyPress(static_cast<QKeyEvent *>(event));
    if (watched == View && event->type() == QEvent::ShortcutOverride) {
        // Enter is the chart's (open, book, let go), not the window's default command; Esc in
        // the middle of a gesture is the gesture's.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || (key == Qt::Key_Escape && Dragging())) {
            event->accept();
            return true;
        }
    }
    return TMainLibraryClass::eventFilter(watched, event);
}

// ---- the keys

bool TFShahmatka::KeyPress(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
    if (key == Qt::Key_Escape) {
        if (!Dragging())
            return false;
        CancelDrag();
        ShowHint(QString());
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (Dragging()) {
            Drop();
        } else if (const TChartBarItem *item = BarAtCell(m_cursorRow, m_cursorDay)) {
            emit FolioRequested(item->Bar.Booking, item->Bar.Stay, TFFolio::pgStay);
        } else if (const Chart::TRoom *room = RoomOfRow(m_cursorRow)) {
            emit ReservationRequested(room->HotelName, {room->Number}, m_cursorDay, m_cursorDay.addDays(1));
        }
        return true;
    }
    if (key == Qt::Key_Menu || (key == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        ShowMenu(View->viewport()->mapToGlobal(CellCenter(CursorRoom(), m_cursorDay)));
        return true;
    }
    if ((key == Qt::Key_Plus || key == Qt::Key_Minus) && mods == Qt::ControlModifier) {
        Zoom(key == Qt::Key_Plus ? 1.25 : 0.8);
        return true;
    }
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down;
    const bool horizontal = key == Qt::Key_Left || key == Qt::Key_Right;
    if (!vertical && !horizontal)
        return false;
    const int step = key == Qt::Key_Up || key == Qt::Key_Left ? -1 : 1;
    if (mods == Qt::NoModifier && !Dragging()) {
        MoveCursor(vertical ? step : 0, horizontal ? step : 0);
        return true;
    }
    if (mods != Qt::ShiftModifier && mods != Qt::AltModifier)
        return false;
    // Shift and the arrows carry the bar under the cursor (up and down: another room; left and
    // right: its departure); Alt and left or right: a reservation's days. On a free cell Shift
    // and the arrows choose nights to book.
    if (!Dragging()) {
        const TChartBarItem *item = BarAtCell(m_cursorRow, m_cursorDay);
        if (item && item->Bar.Status != ssReserved && item->Bar.Status != ssInHouse)
            return true;
        if (!item && mods == Qt::ShiftModifier)
            StartDrag(gsCreate, TBar(), m_cursorRow, m_cursorDay, true);
        else if (item && mods == Qt::ShiftModifier && horizontal)
            StartDrag(gsExtend, item->Bar, m_cursorRow, item->Bar.To, true);
        else if (item)
            StartDrag(gsBar, item->Bar, m_cursorRow, m_cursorDay, true);
        else
            return true;
    }
    if (!m_drag.Keyboard)
        return true;
    int row = m_drag.Row;
    if (vertical && m_drag.Gesture != gsExtend) {
        do
            row += step;
        while (row >= 0 && row < m_rows.size() && m_rows.at(row).Room < 0);
    }
    const QDate day = horizontal && (m_drag.Gesture != gsBar || mods == Qt::AltModifier) ? m_drag.Day.addDays(step)
                                                                                         : m_drag.Day;
    if (row >= 0 && row < m_rows.size() && day >= m_from && day <= m_from.addDays(m_days)) {
        DragTo(row, day);
        View->ensureVisible(QRectF(DayX(day), m_rows.at(row).Y, m_dayWidth, m_rows.at(row).H));
    }
    return true;
}

void TFShahmatka::MoveCursor(int rows, int days)
{
    int row = m_cursorRow;
    if (rows) {
        int next = row;
        do
            next += rows;
        while (next >= 0 && next < m_rows.size() && m_rows.at(next).Room < 0);
        if (next >= 0 && next < m_rows.size())
            row = next;
    }
    QDate day = m_cursorDay.addDays(days);
    if (day < m_from || day >= m_from.addDays(m_days))
        day = m_cursorDay;
    SetCursor(row, day);
}

void TFShahmatka::SetCursor(int row, const QDate &day)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_cursorRow = row;
    m_cursorDay = day;
    View->ensureVisible(QRectF(DayX(day), m_rows.at(row).Y, m_dayWidth, m_rows.at(row).H), 8, 8);
    View->viewport()->update();
    View->RoomColumn->update();
}

void TFShahmatka::ShowMenu(const QPoint &globalPos)
{
    const TChartBarItem *item = BarAtCell(m_cursorRow, m_cursorDay);
    const int status = item ? item->Bar.Status : -1;
    pmShahmatkaMove->setEnabled(status == ssReserved || status == ssInHouse);
    pmShahmatkaExtend->setEnabled(status == ssReserved || status == ssInHouse);
    pmShahmatkaCheckIn->setEnabled(status == ssReserved);
    pmShahmatkaCheckOut->setEnabled(status == ssInHouse);
    pmShahmatkaCancel->setEnabled(status == ssReserved);
    pmShahmatkaFolio->setEnabled(item != nullptr);
    pmShahmatka->popup(globalPos);
}

void TFShahmatka::MenuCommand(QAction *action)
{
    const TChartBarItem *item = BarAtCell(m_cursorRow, m_cursorDay);
    if (!item)
        return;
    const TBar bar = item->Bar;
    if (action == pmShahmatkaMove || action == pmShahmatkaExtend) {
        // Carried on by the arrow keys; Enter lets go, Esc puts it back.
        StartDrag(action == pmShahmatkaMove ? gsBar : gsExtend, bar, m_cursorRow,
                  action == pmShahmatkaMove ? m_cursorDay : bar.To, true);
        ShowHint(msgChartKeysHint);
        View->setFocus();
    } else if (action == pmShahmatkaCancel) {
        if (TSystemWinOS::ShowMessageBox(msgChartCancelQuestion.arg(bar.Guest, dayText(bar.From), dayText(bar.To)),
                                         msgPreviewTitle, 4 | 32) == TSystemWinOS::IDYES &&
            FrontDeskRun::Run([&bar](TConsent) { Cancel(bar.Stay); }))
            emit FrontDeskRun::Changes()->Changed();
    } else {
        const int page = action == pmShahmatkaCheckIn    ? TFFolio::pgGuest
                         : action == pmShahmatkaCheckOut ? TFFolio::pgAccount
                                                         : TFFolio::pgStay;
        emit FolioRequested(bar.Booking, bar.Stay, page);
    }
}

void TFShahmatka::ShowHint(const QString &text) { lblShahmatkaHint->setText(text); }

// ---- the period's commands

void TFShahmatka::acShahmatkaPrevExecute() { dtpShahmatkaFrom->setDate(m_from.addDays(-m_days)); }
void TFShahmatka::acShahmatkaNextExecute() { dtpShahmatkaFrom->setDate(m_from.addDays(m_days)); }
void TFShahmatka::acShahmatkaTodayExecute() { dtpShahmatkaFrom->setDate(Today()); }

void TFShahmatka::closeEvent(QCloseEvent *event)
{
    CancelDrag();
    FormInfo1->Save();
    TMainLibraryClass::closeEvent(event);
}

// ---- printing

void TFShahmatka::RenderPages(QPrinter &printer)
{
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter(&printer);
    // The screen's sizes, on paper: a pixel of the screen is a 96th of an inch.
    const double scale = printer.resolution() / 96.0;
    painter.scale(scale, scale);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double width = page.width() / scale, height = page.height() / scale;
    const int daysPerPage = std::max(1, int((width - kRoomColumn) / m_dayWidth));
    m_printedPages = 0;
    int firstRow = 0;
    while (firstRow < m_rows.size()) {
        int lastRow = firstRow;
        while (lastRow + 1 < m_rows.size() &&
               m_rows.at(lastRow + 1).Y + m_rows.at(lastRow + 1).H - m_rows.at(firstRow).Y <= height - kHeader)
            ++lastRow;
        const double top = m_rows.at(firstRow).Y, rowsHeight = m_rows.at(lastRow).Y + m_rows.at(lastRow).H - top;
        for (int firstDay = 0; firstDay < m_days; firstDay += daysPerPage) {
            if (m_printedPages++ > 0)
                printer.newPage();
            const double left = firstDay * m_dayWidth;
            const double daysWidth = std::min(daysPerPage, m_days - firstDay) * m_dayWidth;
            painter.save();
            painter.translate(kRoomColumn, 0);
            painter.setClipRect(QRectF(0, 0, daysWidth, kHeader));
            PaintDayHeader(painter, left, daysWidth, kHeader);
            painter.restore();
            painter.save();
            painter.translate(0, kHeader);
            painter.setClipRect(QRectF(0, 0, kRoomColumn, rowsHeight));
            PaintRoomColumn(painter, top, kRoomColumn, rowsHeight);
            painter.restore();
            const QRectF source(left, top, daysWidth, rowsHeight);
            painter.save();
            painter.setClipRect(QRectF(kRoomColumn, kHeader, daysWidth, rowsHeight));
            PaintBackground(&painter, source.translated(kRoomColumn - left, kHeader - top));
            painter.restore();
            View->scene()->render(&painter, QRectF(kRoomColumn, kHeader, daysWidth, rowsHeight), source);
        }
        firstRow = lastRow + 1;
    }
}

bool TFShahmatka::SaveAsPdf(const QString &fileName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printer.setDocName(windowTitle());
    RenderPages(printer);
    return QFile::exists(fileName);
}

void TFShahmatka::acShahmatkaPrintExecute()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        RenderPages(printer);
}

void TFShahmatka::acShahmatkaPdfExecute()
{
    const QString file = QFileDialog::getSaveFileName(
        this, windowTitle(), windowTitle() + QLatin1Char(' ') + m_from.toString(QStringLiteral("yyyy-MM-dd")) +
                                 QStringLiteral(".pdf"),
        QStringLiteral("PDF (*.pdf)"));
    if (!file.isEmpty() && !SaveAsPdf(file))
        TExceptionLogs::Show(file);
}
