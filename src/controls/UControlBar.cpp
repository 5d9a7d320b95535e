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
    panel->show();
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
        const int rowA = a->y() / RowSize, rowB = b->y() / RowSize;
        return rowA != rowB ? rowA < rowB : a->x() < b->x();
    });
    // A hidden bar has no width yet: rows only wrap once it is on the screen.
    const int limit = isVisible() ? qMax(width(), 200) : QWIDGETSIZE_MAX;
    int row = -1, next = 0;
    for (QWidget *panel : order) {
        int panelRow = qMax(panel->y() / RowSize, row);
        if (panelRow != row)
            next = 0;
        int left = qMax(panel->x(), next);
        if (left > 0 && left + panel->width() > limit && next > 0) {
            ++panelRow;  // no room left in this row
            left = 0;
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
    update();
}
