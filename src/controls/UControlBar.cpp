#include "UControlBar.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

TControlBar::TControlBar(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground, false);
    setMinimumHeight(RowSize);
}

void TControlBar::AddPanel(QWidget *panel)
{
    panel->setParent(this);
    panel->installEventFilter(this);
    panel->setMouseTracking(true);
    m_panels.append(panel);
    m_places.insert(panel, panel->pos());
    panel->show();
}

void TControlBar::PlacePanel(QWidget *panel, const QRect &place)
{
    m_places.insert(panel, place.topLeft());
    panel->setGeometry(place);
}

void TControlBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, GradientStart);
    gradient.setColorAt(1, GradientEnd);
    painter.fillRect(rect(), gradient);
}

void TControlBar::AlignPanels()
{
    QList<QWidget *> order = m_panels;
    std::stable_sort(order.begin(), order.end(), [this](QWidget *a, QWidget *b) {
        const QPoint placeA = PanelPlace(a), placeB = PanelPlace(b);
        const int rowA = placeA.y() / RowSize, rowB = placeB.y() / RowSize;
        return rowA != rowB ? rowA < rowB : placeA.x() < placeB.x();
    });
    // A hidden bar has no width yet: rows only wrap once it is on the screen.
    const int limit = isVisible() ? qMax(width(), 200) : QWIDGETSIZE_MAX;
    m_laidOutWidth = width();
    int row = -1, next = 0;
    for (QWidget *panel : order) {
        const QPoint place = PanelPlace(panel);
        int panelRow = qMax(place.y() / RowSize, row);
        if (panelRow != row)
            next = 0;
        int left = qMax(place.x(), next);
        if (left > 0 && left + panel->width() > limit) {
            if (next + panel->width() <= limit) {
                left = next;  // closer to its neighbour: the row still holds it
            } else if (next > 0) {
                ++panelRow;  // no room left in this row
                left = 0;
            }
        }
        row = panelRow;
        panel->move(left, row * RowSize + 2);
        next = left + panel->width() + 2;
    }
    emit AlignPosition();
    FitHeight();
}

void TControlBar::FitHeight()
{
    if (!AutoSize)
        return;
    int bottom = RowSize;
    for (QWidget *panel : m_panels)
        bottom = qMax(bottom, (panel->y() / RowSize + 1) * RowSize);
    setFixedHeight(bottom);
}

bool TControlBar::OnRightEdge(QWidget *panel, const QPoint &local) const
{
    return local.x() >= panel->width() - EdgeWidth;
}

bool TControlBar::eventFilter(QObject *watched, QEvent *event)
{
    auto *panel = qobject_cast<QWidget *>(watched);
    if (!panel || !m_panels.contains(panel))
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        m_dragged = panel;
        m_grab = mouse->position().toPoint();
        m_drag = OnRightEdge(panel, m_grab) ? TDrag::Resize : TDrag::Move;
        panel->raise();
        return true;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint local = mouse->position().toPoint();
        if (m_drag == TDrag::None) {
            panel->setCursor(OnRightEdge(panel, local) ? Qt::SizeHorCursor : Qt::ArrowCursor);
            break;
        }
        if (m_drag == TDrag::Resize) {
            panel->resize(qMax(MinPanelWidth, local.x()), panel->height());
        } else {
            const QPoint target = panel->mapToParent(local) - m_grab;
            panel->move(qBound(0, target.x(), qMax(0, width() - 20)), qMax(0, target.y()));
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_drag != TDrag::None) {
            if (m_drag == TDrag::Move)
                m_places.insert(panel, panel->pos());  // where the user dropped it
            m_drag = TDrag::None;
            m_dragged = nullptr;
            AlignPanels();
            emit MouseUp();
            return true;
        }
        break;
    case QEvent::Leave:
        if (m_drag == TDrag::None)
            panel->setCursor(Qt::ArrowCursor);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TControlBar::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    emit MouseUp();
}

void TControlBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A new width lays the panels out again from their places, so none is left out of reach.
    if (isVisible() && width() != m_laidOutWidth)
        AlignPanels();
    update();
}
