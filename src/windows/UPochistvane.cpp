#include "UPochistvane.h"

#include "UFrontDeskRun.h"
#include "desk/UFrontDesk.h"
#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

using namespace FrontDesk;

TFPochistvane::TFPochistvane(QWidget *parent) : TRegisterWindow(QStringLiteral("FPochistvane"), parent)
{
    resize(860, 560);
    Placement()->SetDesignedSize(size());
    acPochistvaneApply = AddCommand(QStringLiteral("acPochistvaneApply"), QStringLiteral("acPochistvaneApply"),
                                    QStringLiteral("Промени състоянието"), [this] { acPochistvaneApplyExecute(); });
    acPochistvaneClean = AddCommand(QStringLiteral("acPochistvaneClean"), QStringLiteral("acPochistvaneClean"),
                                    QStringLiteral("Почистена"), [this] { acPochistvaneCleanExecute(); });
    acClose = AddCommand(QStringLiteral("acClose"), QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    Pages()->setObjectName(QStringLiteral("pcPochistvane"));
    tsPochistvaneState = AddSheet(QStringLiteral("tsPochistvaneState"), QStringLiteral("Състояние на стаите"));
    rgPochistvaneState = new TRadioGroup(tsPochistvaneState);
    rgPochistvaneState->setObjectName(QStringLiteral("rgPochistvaneState"));
    rgPochistvaneState->setTitle(QStringLiteral("Ново състояние"));
    rgPochistvaneState->SetItems({QStringLiteral("Почистена"), QStringLiteral("Непочистена"),
                                  QStringLiteral("В процес на хигиенизиране"), QStringLiteral("Служебна"),
                                  QStringLiteral("Заключена")});
    rgPochistvaneState->SetItemIndex(0);
    static_cast<QBoxLayout *>(tsPochistvaneState->layout())->addWidget(rgPochistvaneState, 0, Qt::AlignTop);
    gbPochistvaneClosure = AddGroupBox(tsPochistvaneState, QStringLiteral("gbPochistvaneClosure"),
                                       QStringLiteral("Затваряне на стая"));
    edPochistvaneReason = AddEdit(gbPochistvaneClosure, QStringLiteral("lInfoPochistvaneReason"), QStringLiteral("Причина"),
                                  QStringLiteral("edPochistvaneReason"));
    chkPochistvanePeriod = new QCheckBox(QStringLiteral("Само за период"), gbPochistvaneClosure);
    chkPochistvanePeriod->setObjectName(QStringLiteral("chkPochistvanePeriod"));
    PlaceRow(gbPochistvaneClosure, chkPochistvanePeriod);
    auto picker = [this](const QString &labelName, const QString &caption, const QString &name) {
        return AddDate(gbPochistvaneClosure, labelName, caption, name, QDate::currentDate());
    };
    dtpPochistvaneFrom = picker(QStringLiteral("lInfoPochistvaneFrom"), QStringLiteral("Затворена от"),
                                QStringLiteral("dtpPochistvaneFrom"));
    dtpPochistvaneTo = picker(QStringLiteral("lInfoPochistvaneTo"), QStringLiteral("Отваря на"),
                              QStringLiteral("dtpPochistvaneTo"));
    dtpPochistvaneTo->setDate(QDate::currentDate().addDays(1));
    // The closure's fields mean something only for a closed room, the dates only for a period.
    auto fit = [this] {
        const int state = rgPochistvaneState->ItemIndex();
        gbPochistvaneClosure->setEnabled(state == rsOutOfService || state == rsLocked);
        dtpPochistvaneFrom->setEnabled(chkPochistvanePeriod->isChecked());
        dtpPochistvaneTo->setEnabled(chkPochistvanePeriod->isChecked());
    };
    connect(rgPochistvaneState, &TRadioGroup::ItemIndexChanged, this, fit);
    connect(chkPochistvanePeriod, &QCheckBox::toggled, this, fit);
    fit();
    Grid()->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid()->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

// Each room with its state tonight (closed, else its cleanliness) and its closure now or the next
// one planned: the first night, the day it opens again and the reason.
QString TFPochistvane::ListSql() const
{
    const QString next = QStringLiteral("(SELECT MIN(y.q157) FROM Zatvoreni y WHERE y.q47 = r.q47 AND "
                                        "(y.q158 IS NULL OR y.q158 > :dNext%1) AND (y.q157 IS NULL OR y.q158 IS NULL OR "
                                        "y.q157 < y.q158))");
    return QStringLiteral("SELECT r.q47, h.q10, r.q44, "
                          "COALESCE((SELECT MAX(z.q159) FROM Zatvoreni z WHERE z.q47 = r.q47 AND (z.q157 IS NULL OR "
                          "z.q157 <= :dToday) AND (z.q158 IS NULL OR z.q158 > :dToday2)), r.q129) AS q129, ") +
           QStringLiteral("(SELECT MAX(z.q130) FROM Zatvoreni z WHERE z.q47 = r.q47 AND z.q157 = %1) AS q130, ").arg(next.arg(1)) +
           QStringLiteral("%1 AS q131, ").arg(next.arg(2)) +
           QStringLiteral("(SELECT MAX(z.q158) FROM Zatvoreni z WHERE z.q47 = r.q47 AND z.q157 = %1) AS q132 ").arg(next.arg(3)) +
           QStringLiteral("FROM Rooms r LEFT JOIN HotelBuild h ON (h.q1 = r.q1) ORDER BY h.q10, r.q44");
}

QList<TParameter> TFPochistvane::ListParameters() const
{
    const QDate today = FrontDesk::Today();
    return {{QStringLiteral("dToday"), today},
            {QStringLiteral("dToday2"), today},
            {QStringLiteral("dNext1"), today},
            {QStringLiteral("dNext2"), today},
            {QStringLiteral("dNext3"), today}};
}

QList<TGridColumn> TFPochistvane::GridColumns() const
{
    return {{"q10", colHotel, 160},
            {"q44", colRoomNumber, 110},
            {"q129", colRoomState, 200, false,
             [](const TField &f) { return RoomStateName(f.IsNull() ? rsClean : f.AsInteger()); }},
            {"q130", colReason, 200},
            {"q131", colClosedFrom, 100},
            {"q132", colClosedTo, 100}};
}

void TFPochistvane::LoadCaptions()
{
    LoadToolbarCaptions(Toolbar());
    LoadFormCaption(this);
    LoadTabSheetCaption(tsPochistvaneState);
    LoadRadioGroupCaptions(rgPochistvaneState);
    LoadContainerCaptions(gbPochistvaneClosure);
}

bool TFPochistvane::InitializeWindow()
{
    const QList<int> chosen = SelectedRooms();
    TRegisterWindow::InitializeWindow();
    TAdoDataSet *rows = ListDataSet();
    for (int i = 0; rows && i < rows->RecordCount(); ++i)
        if (chosen.contains(TField(QString(), rows->CellValue(i, rows->FieldIndex(QStringLiteral("q47")))).AsInteger()))
            Grid()->selectionModel()->select(GridModel()->index(i, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    return true;
}

QList<int> TFPochistvane::SelectedRooms() const
{
    QList<int> rooms;
    TAdoDataSet *rows = ListDataSet();
    if (!rows || !Grid()->selectionModel())
        return rooms;
    const int field = rows->FieldIndex(QStringLiteral("q47"));
    for (const QModelIndex &index : Grid()->selectionModel()->selectedRows())
        if (index.row() < rows->RecordCount())
            rooms.append(TField(QString(), rows->CellValue(index.row(), field)).AsInteger());
    return rooms;
}

void TFPochistvane::SelectRooms(const QStringList &numbers)
{
    TAdoDataSet *rows = ListDataSet();
    Grid()->clearSelection();
    const int field = rows ? rows->FieldIndex(QStringLiteral("q44")) : -1;
    for (int i = 0; rows && i < rows->RecordCount(); ++i)
        if (numbers.contains(TField(QString(), rows->CellValue(i, field)).AsString()))
            Grid()->selectionModel()->select(GridModel()->index(i, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TFPochistvane::Apply(int state)
{
    const QList<int> rooms = SelectedRooms();
    if (rooms.isEmpty()) {
        TSystemWinOS::ShowMessageBox(msgChooseRow, msgWarningTitle, 48);
        return;
    }
    const bool period = chkPochistvanePeriod->isChecked();
    const QDate from = period ? dtpPochistvaneFrom->date() : QDate();
    const QDate to = period ? dtpPochistvaneTo->date() : QDate();
    const QString reason = edPochistvaneReason->text();
    const bool done = FrontDeskRun::Run([&](FrontDesk::TConsent) { SetRoomStates(rooms, TRoomState(state), reason, from, to); });
    InitializeWindow();
    if (done) {
        emit FrontDeskRun::Changes()->Changed();
        TSystemWinOS::ShowMessageBox(msgRoomStatesSaved.arg(rooms.size()), msgInformationTitle, 64);
    }
}

void TFPochistvane::acPochistvaneApplyExecute() { Apply(rgPochistvaneState->ItemIndex()); }

void TFPochistvane::acPochistvaneCleanExecute() { Apply(rsClean); }
