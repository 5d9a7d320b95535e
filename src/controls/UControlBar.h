#pragma once
// A band container whose panels the user drags to new places and widens or narrows by their
// right edge; panels never overlap, and the bar grows to hold its rows.

#include <QHash>
#include <QWidget>

class TControlBar : public QWidget
{
    Q_OBJECT
public:
    explicit TControlBar(QWidget *parent = nullptr);

    int RowSize = 28;
    bool AutoSize = true;
    QColor GradientStart = QColor(0xC0, 0xC0, 0xC0);
    QColor GradientEnd = QColor(0xFF, 0xFB, 0xF0);

    // Panels are the bar's direct child widgets, placed at absolute positions.
    void AddPanel(QWidget *panel);
    // The place the user gave a panel (kept and saved as it is) and its width; a bar narrower
    // than the layout only wraps panels for display, never moves their places.
    void PlacePanel(QWidget *panel, const QRect &place);
    QPoint PanelPlace(QWidget *panel) const { return m_places.value(panel, panel->pos()); }
    const QList<QWidget *> &Panels() const { return m_panels; }
    // Keeps panels from overlapping: each row is packed left to right in the order of left.
    void AlignPanels();
    // The height that holds every panel (AutoSize), or the fixed one.
    void FitHeight();

    static constexpr int EdgeWidth = 5;   // the grip at a panel's right edge
    static constexpr int MinPanelWidth = 5;

signals:
    void MouseUp();
    void AlignPosition();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    enum class TDrag { None, Move, Resize };
    bool OnRightEdge(QWidget *panel, const QPoint &local) const;
    TDrag m_drag = TDrag::None;
    QWidget *m_dragged = nullptr;
    QPoint m_grab;
    QList<QWidget *> m_panels;
    QHash<QWidget *, QPoint> m_places;
    int m_laidOutWidth = -1;
};
