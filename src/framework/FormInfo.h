#pragma once
// Remembers a window's size, position and maximised state per user, one registry group
// per form name, so every instance of a window shares one placement.

#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

class TFormInfo : public QObject
{
    Q_OBJECT
public:
    // Restores at once when autoLoad is true: the owner has just been built.
    TFormInfo(QWidget *owner, const QString &formName, bool autoLoad = true);

    QString FormName;
    bool AutoLoad;

    // Restores the stored placement; without one, a child window's frame takes the size that
    // holds the window at the size its layout was designed for.
    void Load();
    void Save();
    // True once a placement of this form name has been saved.
    bool HasStoredPlacement() const;
    // A frame not yet shown is maximised once it is: a frame maximised before it is shown
    // forgets the size it is to restore to.
    void ShowStoredState();
    // The size the owner was built at, before any placement was applied, and never less than
    // what its layout needs.
    QSize DesignedSize() const;
    void SetDesignedSize(const QSize &size) { m_designed = size; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *Target() const;
    static QRect FittedToArea(const class QMdiSubWindow *frame, const QRect &place);
    QString Key() const;
    void Follow(QWidget *target);
    QWidget *m_owner;
    QSize m_designed;
    QWidget *m_followed = nullptr;
    QRect m_normal;  // the last placement of the target in its normal state
    bool m_maximiseWhenShown = false;
};
