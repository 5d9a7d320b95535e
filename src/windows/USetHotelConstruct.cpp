#include "USetHotelConstruct.h"

#include "controls/KALVDesignButton.h"
#include "controls/KalvMenu.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QHash>
#include <QSet>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

namespace {

const QString kRoomPrefix = QStringLiteral("Стая: ");

// A room number shown as it stands: "&" would otherwise mark a mnemonic.
QString literal(QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); }

const char *const kRoomID = "RoomID";
const char *const kRoomNumber = "RoomNumber";


} // namespace

TFSetHotelConstruct::TFSetHotelConstruct(QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(QStringLiteral("FSetHotelConstruct"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 600);
    smcHotelConstruct = new TKalvMenuControl(this);
    smcHotelConstruct->setObjectName(QStringLiteral("smcHotelConstruct"));
    auto command = [this](const char *button, const char *caption, void (TFSetHotelConstruct::*handler)()) {
        auto *action = new QAction(QString::fromUtf8(caption), this);
        action->setObjectName(QLatin1String(button));
        connect(action, &QAction::triggered, this, handler);
        return smcHotelConstruct->AddCommand(action);
    };
    acHotelConstructCreateNewRoom = command("tbHotelConstructCreateNewRoom", "Нова стая",
                                            &TFSetHotelConstruct::acHotelConstructCreateNewRoomExecute);
    acHotelConstrucEditRoom =
        command("tbHotelConstrucEditRoom", "Редакция", &TFSetHotelConstruct::acHotelConstrucEditRoomExecute);
    acSave = command("tbSave", "Съхрани", &TFSetHotelConstruct::acSaveExecute);
    acClose = command("tbClose", "Изход", &TFSetHotelConstruct::acCloseExecute);
    pHotelConstruct = new QWidget(this);
    pHotelConstruct->setObjectName(QStringLiteral("pHotelConstruct"));
    pHotelConstruct->setAutoFillBackground(true);
    QPalette plan = pHotelConstruct->palette();
    plan.setColor(QPalette::Window, QColor(0xF4, 0xF6, 0xF9));
    pHotelConstruct->setPalette(plan);
    ammbHotelConstruct = new QMenuBar(pHotelConstruct);
    ammbHotelConstruct->setObjectName(QStringLiteral("ammbHotelConstruct"));
    ammbHotelConstruct->setNativeMenuBar(false);
    ammbHotelConstruct->setGeometry(0, 0, 0, 0);
    setCentralWidget(pHotelConstruct);
    FormInfo1 = new TFormInfo(this, QStringLiteral("FSetHotelConstruct"));
}

TKALVDesignButton *TFSetHotelConstruct::AddPlanButton(const QRect &place, const QString &roomNumber, int room)
{
    auto *button = new TKALVDesignButton(pHotelConstruct);
    button->setGeometry(place);
    ShowRoomOnButton(button, roomNumber, room);
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this,
            [this, button](const QPoint &at) { UnplacedRoomsMenu->popup(button->mapToGlobal(at)); });
    connect(button, &TKALVDesignButton::OnClick, this, [this, button] { PlanButtonClick(button); });
    button->setToolTip(QString::number(++CurrentButtonNumber));
    button->show();
    CurrentButton = button;
    return button;
}

void TFSetHotelConstruct::ShowRoomOnButton(TKALVDesignButton *button, const QString &roomNumber, int room)
{
    button->SetCaption(literal(roomNumber));
    button->setProperty(kRoomID, room);
}

int TFSetHotelConstruct::RoomOf(const TKALVDesignButton *button) { return button->property(kRoomID).toInt(); }

QList<TKALVDesignButton *> TFSetHotelConstruct::PlanButtons() const
{
    return pHotelConstruct->findChildren<TKALVDesignButton *>(QString(), Qt::FindDirectChildrenOnly);
}

bool TFSetHotelConstruct::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadToolbarCaptions(smcHotelConstruct);
    NextPosition = 50;
    CurrentButtonNumber = -1;
    delete UnplacedRoomsMenu;
    UnplacedRoomsMenu = new QMenu(this);
    UnplacedRoomsMenu->setObjectName(QStringLiteral("UnplacedRoomsMenu"));
    TADOConnection &connection = LocalConnection();
    QString failure;
    try {
        TADOQuery unplaced(&connection);
        unplaced.SetSQLText(QStringLiteral("SELECT * FROM Rooms WHERE ([q83] IS NULL) "));
        TADOQuery hotels(&connection);
        hotels.SetSQLText(QStringLiteral("SELECT q1, q10 FROM HotelBuild "));
        TTransaction transaction(connection);
        unplaced.Open();
        hotels.Open();
        transaction.Commit();
        // Rooms of the same number in two hotels are told apart by their hotel's name.
        QHash<QString, int> numbers;
        for (unplaced.First(); !unplaced.Eof(); unplaced.Next())
            ++numbers[unplaced.FieldByName(QStringLiteral("q44")).AsString().toCaseFolded()];
        QHash<QString, QString> hotelNames;
        for (hotels.First(); !hotels.Eof(); hotels.Next())
            hotelNames.insert(hotels.FieldByName(QStringLiteral("q1")).AsString(),
                              hotels.FieldByName(QStringLiteral("q10")).AsString());
        for (unplaced.First(); !unplaced.Eof(); unplaced.Next()) {
            const QString number = unplaced.FieldByName(QStringLiteral("q44")).AsString();
            QString caption = kRoomPrefix + number;
            if (numbers.value(number.toCaseFolded()) > 1)
                caption += QStringLiteral(" (") + hotelNames.value(unplaced.FieldByName(QStringLiteral("q1")).AsString()) +
                           QLatin1Char(')');
            QAction *item = UnplacedRoomsMenu->addAction(literal(caption));
            item->setProperty(kRoomID, unplaced.FieldByName(QStringLiteral("q47")).AsInteger());
            item->setProperty(kRoomNumber, number);
            connect(item, &QAction::triggered, this, [this, item] { UnplacedRoomClick(item); });
        }
    } catch (const Exception &error) {
        failure = error.Message();
    }
    if (!failure.isEmpty()) {
        connection.RollbackIfOpen();
        TExceptionLogs::Show(failure);
        return false;
    }
    LoadPlacedRooms();
    return true;
}

void TFSetHotelConstruct::LoadPlacedRooms()
{
    TADOConnection &connection = LocalConnection();
    QString failure;
    try {
        TADOQuery placed(&connection);
        placed.SetSQLText(QStringLiteral("SELECT * FROM Rooms WHERE ([q83] IS NOT NULL) "));
        TTransaction transaction(connection);
        placed.Open();
        transaction.Commit();
        for (placed.First(); !placed.Eof(); placed.Next())
            AddPlanButton(QRect(placed.FieldByName(QStringLiteral("q84")).AsInteger(),
                                placed.FieldByName(QStringLiteral("q83")).AsInteger(),
                                placed.FieldByName(QStringLiteral("q81")).AsInteger(),
                                placed.FieldByName(QStringLiteral("q82")).AsInteger()),
                          placed.FieldByName(QStringLiteral("q44")).AsString(),
                          placed.FieldByName(QStringLiteral("q47")).AsInteger());
    } catch (const Exception &error) {
        failure = error.Message();
    }
    if (!failure.isEmpty()) {
        connection.RollbackIfOpen();
        TExceptionLogs::Show(failure);
    }
}

void TFSetHotelConstruct::acHotelConstructCreateNewRoomExecute()
{
    const int top = NextPosition;
    NextPosition += 20;
    AddPlanButton(QRect(NextPosition, top, 50, 50), QString(), 0);
    EditMode = false;
}

void TFSetHotelConstruct::acHotelConstrucEditRoomExecute() { EditMode = !EditMode; }

void TFSetHotelConstruct::UnplacedRoomClick(QAction *item)
{
    ChosenRoomName = item->property(kRoomNumber).toString().left(100);
    ChosenRoomID = item->property(kRoomID).toInt();
    item->setEnabled(false);
    AssignRoomToCurrentButton();
}

void TFSetHotelConstruct::AssignRoomToCurrentButton()
{
    if (!EditMode || !CurrentButton)
        return;
    CurrentButtonNumber = CurrentButton->toolTip().toInt();
    for (TKALVDesignButton *button : PlanButtons())
        if (button->toolTip().toInt() == CurrentButtonNumber)
            ShowRoomOnButton(button, ChosenRoomName, ChosenRoomID);
    EditMode = false;
}

void TFSetHotelConstruct::PlanButtonClick(TKALVDesignButton *button)
{
    if (button == CurrentButton)
        CurrentButtonNumber = button->toolTip().toInt();
    if (CurrentButton)
        CurrentButton->lower();
}

void TFSetHotelConstruct::acSaveExecute()
{
    TADOConnection &connection = LocalConnection();
    QString failure, missing;
    try {
        TADOQuery rooms(&connection);
        rooms.SetSQLText(QStringLiteral("SELECT q47 FROM Rooms "));
        {
            TTransaction transaction(connection);
            rooms.Open();
            transaction.Commit();
        }
        QSet<int> existing;
        for (rooms.First(); !rooms.Eof(); rooms.Next())
            existing.insert(rooms.FieldByName(QStringLiteral("q47")).AsInteger());
        // Every button must stand for a room before any is written; then all go in one transaction,
        // each to its own room.
        QList<TKALVDesignButton *> buttons = PlanButtons();
        std::reverse(buttons.begin(), buttons.end());
        for (TKALVDesignButton *button : buttons)
            if (!existing.contains(RoomOf(button))) {
                const QString name = button->Caption();
                missing = QStringLiteral("\r\nБутон %1 (%2)")
                              .arg(button->toolTip(), name.isEmpty() ? QStringLiteral("без име")
                                                                     : QLatin1Char('"') + name + QLatin1Char('"'));
                break;
            }
        if (missing.isEmpty()) {
            TTransaction transaction(connection, true);
            TADOQuery place(&connection);
            place.SetSQLText(QStringLiteral("UPDATE Rooms SET q83 = :q83, q84 = :q84, q81 = :q81, q82 = :q82 "
                                            "WHERE q47 = :q47"));
            for (TKALVDesignButton *button : buttons) {
                place.ParamByName(QStringLiteral("q83")).Value = button->y();
                place.ParamByName(QStringLiteral("q84")).Value = button->x();
                place.ParamByName(QStringLiteral("q81")).Value = button->width();
                place.ParamByName(QStringLiteral("q82")).Value = button->height();
                place.ParamByName(QStringLiteral("q47")).Value = RoomOf(button);
                place.ExecSQL();
            }
            transaction.Commit();
        }
    } catch (const Exception &error) {
        failure = error.Message();
    }
    connection.RollbackIfOpen();
    if (!missing.isEmpty())
        TSystemWinOS::ShowMessage(
            QStringLiteral("Внимание не може да бъде открита стая. Моля първо попълнето коректно номенклатура - СТАИ.") +
            missing);
    else if (!failure.isEmpty())
        TExceptionLogs::Show(failure);
}

void TFSetHotelConstruct::acCloseExecute() { close(); }

void TFSetHotelConstruct::closeEvent(QCloseEvent *event)
{
    FormInfo1->Save();
    TMainLibraryClass::closeEvent(event);
}
