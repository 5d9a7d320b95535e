#pragma once
// The hotel plan: one movable, resizable button per room; saving stores each button's place
// and size in its room's row, which the main window's board then draws.

#include "framework/UMainLibraryClass.h"

class QAction;
class QMenu;
class QMenuBar;
class TFormInfo;
class TKALVDesignButton;
class TKalvMenuControl;

class TFSetHotelConstruct : public TMainLibraryClass
{
    Q_OBJECT
public:
    explicit TFSetHotelConstruct(QWidget *parent = nullptr);

    bool InitializeWindow() override;
    void LoadPlacedRooms();
    void acHotelConstructCreateNewRoomExecute();
    void acHotelConstrucEditRoomExecute();
    void acSaveExecute();
    void acCloseExecute();
    void PlanButtonClick(TKALVDesignButton *button);
    void UnplacedRoomClick(QAction *item);
    void AssignRoomToCurrentButton();

    // The plan buttons, first child first.
    QList<TKALVDesignButton *> PlanButtons() const;
    // The room a plan button stands for (Rooms.q47), 0 for a button that names none yet.
    static int RoomOf(const TKALVDesignButton *button);

    TKalvMenuControl *smcHotelConstruct;
    QAction *acHotelConstructCreateNewRoom, *acHotelConstrucEditRoom, *acSave, *acClose;
    QWidget *pHotelConstruct;
    QMenuBar *ammbHotelConstruct;
    QMenu *UnplacedRoomsMenu = nullptr;
    int NextPosition = 50;
    int CurrentButtonNumber = -1;
    TKALVDesignButton *CurrentButton = nullptr;
    bool EditMode = false;
    QString ChosenRoomName;
    int ChosenRoomID = 0;  // the Rooms.q47 of the last menu item chosen
    TFormInfo *FormInfo1;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    TKALVDesignButton *AddPlanButton(const QRect &place, const QString &roomNumber, int room);
    void ShowRoomOnButton(TKALVDesignButton *button, const QString &roomNumber, int room);
};
