#pragma once
// Remembers a window's size, position and maximised state per user, one registry group
// per form name, so every instance of a window shares one placement.

#include <QObject>
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

    void Load();
    void Save();
    // True once a placement of this form name has been saved.
    bool HasStoredPlacement() const;

private:
    QWidget *Target() const;
    QString Key() const;
    QWidget *m_owner;
};
