#include "MDITab.h"

#include "UImageList.h"
#include "errors/UErrors.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

QWidget *TMDITab::CheckedOwner(QWidget *owner)
{
    auto *form = qobject_cast<QMainWindow *>(owner);
    if (!form)
        throw Exception(QStringLiteral("MDITab can be put only on Form."));
    if (!form->findChild<QMdiArea *>())
        throw Exception(QStringLiteral("MDITab can be put only on MDIForm."));
    if (form->findChild<TMDITab *>())
        throw Exception(QStringLiteral("Only one MDITab can be put on MDIForm."));
    return owner;
}

TMDITab::TMDITab(QWidget *owner)
    : QTabBar(CheckedOwner(owner)), m_area(owner->findChild<QMdiArea *>())
{
    setObjectName(QStringLiteral("MDITabControl"));
    setFixedHeight(22);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(true);
    connect(this, &QTabBar::currentChanged, this, [this] { TabChange(); });
    // A click on the tab that is current already brings its window back from the task band.
    connect(this, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index == currentIndex())
            TabChange();
    });
    connect(m_area, &QMdiArea::subWindowActivated, this, &TMDITab::WindowActivated);
}

QMdiSubWindow *TMDITab::FrameOf(QWidget *window) const
{
    if (!window)
        return nullptr;
    if (auto *frame = qobject_cast<QMdiSubWindow *>(window))
        return frame;
    return qobject_cast<QMdiSubWindow *>(window->parentWidget());
}

int TMDITab::IndexOf(const QObject *window) const
{
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries.at(i).Key == window)
            return i;
    return -1;
}

void TMDITab::AddForm(QWidget *window, int imageIndex, const QString &hint)
{
    if (!window || IndexOf(window) >= 0)
        return;
    m_entries.append({window, window, imageIndex, hint});
    window->setProperty("Hint", hint);
    connect(window, &QObject::destroyed, this, &TMDITab::WindowDestroyed);
    const QSignalBlocker quiet(this);
    const int index = addTab(ImageList::Icon(imageIndex), window->windowTitle());
    setCurrentIndex(index);
    // The text follows the window's caption as later captions load.
    connect(window, &QWidget::windowTitleChanged, this, [this, window](const QString &title) {
        const int i = IndexOf(window);
        if (i >= 0)
            setTabText(i, title);
    });
    TabChange();
}

QWidget *TMDITab::TabWindow(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index).Window.data() : nullptr;
}

int TMDITab::ImageIndex(int index) const
{
    if (index < 0 || index >= m_entries.size())
        return -1;
    const int stored = m_entries.at(index).Image;
    return OnGetImageIndex ? OnGetImageIndex(index, stored) : stored;
}

QString TMDITab::TabHint(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index).Hint : QString();
}

void TMDITab::TabChange()
{
    QWidget *window = TabWindow(currentIndex());
    if (window) {
        QMdiSubWindow *frame = FrameOf(window);
        if (frame) {
            if (frame->isMinimized())
                frame->showNormal();
            m_area->setActiveSubWindow(frame);
            frame->raise();
        }
        window->setFocus();
        if (ShowOnChange)
            setVisible(true);
    }
    emit Change();
}

void TMDITab::WindowActivated(QMdiSubWindow *frame)
{
    if (!frame)
        return;
    for (int i = 0; i < m_entries.size(); ++i) {
        QWidget *window = m_entries.at(i).Window;
        if (window && FrameOf(window) == frame) {
            if (currentIndex() != i) {
                const QSignalBlocker quiet(this);
                setCurrentIndex(i);
            }
            TabChange();
            return;
        }
    }
}

void TMDITab::WindowDestroyed(QObject *window)
{
    const int index = IndexOf(window);
    if (index < 0)
        return;
    m_entries.removeAt(index);
    const QSignalBlocker quiet(this);
    removeTab(index);
}

void TMDITab::mouseMoveEvent(QMouseEvent *event)
{
    setToolTip(TabHint(tabAt(event->position().toPoint())));
    QTabBar::mouseMoveEvent(event);
}

void TMDITab::leaveEvent(QEvent *event)
{
    setToolTip(QString());
    QTabBar::leaveEvent(event);
}
