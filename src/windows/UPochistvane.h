#pragma once
// Room states: every room with its state, changed one by one or for many rooms at once; an
// out-of-service or locked room for a period, with its reason.

#include "framework/URegister.h"

class QCheckBox;
class QDateEdit;
class TRadioGroup;

class TFPochistvane : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFPochistvane(QWidget *parent = nullptr);

    bool InitializeWindow() override;
    // The rooms chosen in the list (Rooms.q47).
    QList<int> SelectedRooms() const;
    void SelectRooms(const QStringList &numbers);

    void acPochistvaneApplyExecute();
    void acPochistvaneCleanExecute();

    QAction *acPochistvaneApply, *acPochistvaneClean, *acClose;
    TTabSheet *tsPochistvaneState;
    TRadioGroup *rgPochistvaneState;
    QGroupBox *gbPochistvaneClosure;
    QLineEdit *edPochistvaneReason;
    QCheckBox *chkPochistvanePeriod;
    QDateEdit *dtpPochistvaneFrom, *dtpPochistvaneTo;

protected:
    QString ListSql() const override;
    QList<TParameter> ListParameters() const override;
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;

private:
    void Apply(int state);
};
