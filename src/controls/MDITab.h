#pragma once
// The strip of tabs of the main window's child windows: one tab per window, choosing a tab
// brings its window forward, activating a window selects its tab, closing removes it.

#include <QPointer>
#include <QTabBar>
#include <functional>

class QMdiArea;
class QMdiSubWindow;

class TMDITab : public QTabBar
{
    Q_OBJECT
public:
    // Raises Exception on an owner that is no window, no multiple-document window, or has a strip.
    explicit TMDITab(QWidget *owner);

    QString About() const { return QStringLiteral("KALV"); }
    void SetAbout(const QString &) {}
    QString Caption;
    bool ShowOnChange = true;

    void AddForm(QWidget *window, int imageIndex, const QString &hint);
    QWidget *TabWindow(int index) const;
    int ImageIndex(int index) const;
    QString TabHint(int index) const;
    // May replace the stored image number of a tab.
    std::function<int(int tab, int stored)> OnGetImageIndex;

    // The tab of a window, -1 when it has none.
    int IndexOf(const QObject *window) const;

signals:
    void Change();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    struct TEntry {
        QPointer<QWidget> Window;
        const QObject *Key = nullptr;  // still comparable while the window is being destroyed
        int Image = 0;
        QString Hint;
    };
    static QWidget *CheckedOwner(QWidget *owner);
    QMdiSubWindow *FrameOf(QWidget *window) const;
    void TabChange();
    void WindowActivated(QMdiSubWindow *frame);
    void WindowDestroyed(QObject *window);

    QMdiArea *m_area;
    QList<TEntry> m_entries;
};
