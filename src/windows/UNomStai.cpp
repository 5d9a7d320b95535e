#include "UNomStai.h"

#include "data/UDbSchema.h"
#include "desk/URatePlans.h"
#include "data/USchemaUpgrade.h"
#include "startup/UConstMessagesReports.h"

#include "desk/URights.h"

#include "desk/UFrontDesk.h"

#include "framework/UDecimal.h"
#include "startup/UConstMessagesDesk.h"

#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"

#include <QComboBox>
#include <QGroupBox>
#include <QBoxLayout>
#include <QTableView>
#include <QLineEdit>
#include <QTabWidget>

TFNomStai::TFNomStai(QWidget *parent) : TRegisterWindow(QStringLiteral("FNomStai"), parent)
{
    acFNomStaiSave = AddCommand(QStringLiteral("tbFNomStaiSave"), QStringLiteral("acFNomStaiSave"),
                                QStringLiteral("Съхрани"), [this] { acFNomStaiSaveExecute(); });
    acFNomStaiClose = AddCommand(QStringLiteral("tbFNomStaiClose"), QStringLiteral("acFNomStaiClose"),
                                 QStringLiteral("Изход"), [this] { acFNomStaiCloseExecute(); });
    Pages()->setObjectName(QStringLiteral("pcNomenclatureRooms"));
    tsNomenclatureRoomsConfig =
        AddSheet(QStringLiteral("tsNomenclatureRoomsConfig"), QStringLiteral("Конфигуриране на стаи"));
    tsNomenclatureRoomsTypes = AddSheet(QStringLiteral("tsNomenclatureRoomsTypes"), QStringLiteral("Типове стаи"));
    tsNomenclatureRoomsWorks = AddSheet(QStringLiteral("tsNomenclatureRoomsWorks"), QStringLiteral("Служебни"));

    gbNomenclatureRoomsData =
        AddGroupBox(tsNomenclatureRoomsConfig, QStringLiteral("gbNomenclatureRoomsData"), QStringLiteral("Данни"));
    Edit5 = AddEdit(gbNomenclatureRoomsData, QStringLiteral("lInfoNomenclatureRoomsId"), QStringLiteral("ИД Стая"),
                    QStringLiteral("Edit5"));
    Edit1 = AddEdit(gbNomenclatureRoomsData, QStringLiteral("lInfoNomenclatureRoomsNumber"), QStringLiteral("Номер:"),
                    QStringLiteral("Edit1"));
    Edit2 = AddEdit(gbNomenclatureRoomsData, QStringLiteral("lInfoNomenclatureRoomsBedCount"),
                    QStringLiteral("Брой легла"), QStringLiteral("Edit2"));
    Edit3 = AddEdit(gbNomenclatureRoomsData, QStringLiteral("lInfoNomenclatureRoomsRoomCount"),
                    QStringLiteral("Брой стаи"), QStringLiteral("Edit3"));

    gbNomenclatureRoomsDataType =
        AddGroupBox(tsNomenclatureRoomsTypes, QStringLiteral("gbNomenclatureRoomsDataType"), QStringLiteral("Данни"));
    ComboBox1 = AddLookupBox(gbNomenclatureRoomsDataType, QStringLiteral("lInfoNomenclatureRoomsServiceID"),
                             QStringLiteral("ИД услуга"), QStringLiteral("ComboBox1"), QStringLiteral("Uslugi"),
                             QStringLiteral("q33"));
    ComboBox2 = AddLookupBox(gbNomenclatureRoomsDataType, QStringLiteral("lInfoNomenclatureRoomsTarifesID"),
                             QStringLiteral("Тарифа"), QStringLiteral("ComboBox2"), QStringLiteral("Tarife"),
                             QStringLiteral("q50"));
    ComboBoxVat = AddLookupBox(gbNomenclatureRoomsDataType, QStringLiteral("lInfoNomenclatureRoomsVat"),
                               QStringLiteral("ДДС ставка"), QStringLiteral("ComboBoxVat"), QStringLiteral("DDSStavki"),
                               QStringLiteral("q164"));
    ComboBoxRoomType = AddLookupBox(gbNomenclatureRoomsDataType, QStringLiteral("lInfoNomenclatureRoomsType"),
                                    QStringLiteral("Тип стая"), QStringLiteral("ComboBoxRoomType"), [] {
                                        return SelectorValues(QStringLiteral("SELECT DISTINCT q275 FROM Rooms WHERE q275 IS NOT NULL "
                                                                             "ORDER BY q275"));
                                    });

    rgNomenclatureRoomsLock = new TRadioGroup(tsNomenclatureRoomsWorks);
    rgNomenclatureRoomsLock->setObjectName(QStringLiteral("rgNomenclatureRoomsLock"));
    rgNomenclatureRoomsLock->setTitle(QStringLiteral("Заклюване на стая"));
    rgNomenclatureRoomsLock->SetItems({QStringLiteral("Отключена"), QStringLiteral("Заключена")});
    rgNomenclatureRoomsLock->SetItemIndex(0);
    rgNomenclatureRoomsLock->setFixedSize(200, 86);
    static_cast<QBoxLayout *>(tsNomenclatureRoomsWorks->layout())->addWidget(rgNomenclatureRoomsLock, 0, Qt::AlignTop);
    gbNomenclatureRoomsHotelChoose = AddGroupBox(tsNomenclatureRoomsWorks, QStringLiteral("gbNomenclatureRoomsHotelChoose"),
                                                 QStringLiteral("Избор на хотел"));
    ComboBox3 = AddLookupBox(gbNomenclatureRoomsHotelChoose, QStringLiteral("lInfoNomenclatureRoomsHotelID"),
                             QStringLiteral("ИД Хотел"), QStringLiteral("ComboBox3"), QStringLiteral("HotelBuild"),
                             QStringLiteral("q10"));
    Pages()->setCurrentWidget(tsNomenclatureRoomsTypes);
}

QList<TGridColumn> TFNomStai::GridColumns() const
{
    return {{"q47", colID, 100},          {"q44", colRoomNumber, 100}, {"q46", colPrice, 200},
            {"q49", colDiscount, 100},    {"q51", colTariffID, 100},   {"q79", colBedsTotal, 100},
            {"q48", colRoomsTotal, 100},  {"q1", colHotelID, 100},     {"q42", colServiceID, 100},
            {"q170", colVatName, 120},    {"q275", colRoomType, 140}};
}

void TFNomStai::LoadCaptions()
{
    LoadFormCaption(this);
    LoadToolbarCaptions(Toolbar());
    LoadContainerCaptions(Pages());
    LoadContainerCaptions(gbNomenclatureRoomsData);
    LoadContainerCaptions(gbNomenclatureRoomsDataType);
    LoadRadioGroupCaptions(rgNomenclatureRoomsLock);
    LoadContainerCaptions(gbNomenclatureRoomsHotelChoose);
}

void TFNomStai::acFNomStaiSaveExecute()
{
    if (ComboBox3->currentText().trimmed().isEmpty() && !IsHotelFilterOn()) {
        TSystemWinOS::ShowMessage(msgNoDataFillIn);
        return;
    }
    RunSave(Rights::rRooms, [this](TADOQuery &query) {
        TADOConnection &connection = *query.Connection();
        // Every value is worked out before the row is touched, so a bad one changes nothing.
        const double price = LookupFloat(QStringLiteral("ИД услуга"), QStringLiteral("Uslugi"), QStringLiteral("q33"),
                                         QStringLiteral("q40"), ComboBox1->currentText());
        const int tariff = LookupInteger(QStringLiteral("Тарифа"), QStringLiteral("Tarife"), QStringLiteral("q50"),
                                         QStringLiteral("q51"), ComboBox2->currentText());
        const bool counts = !Edit2->text().isEmpty() && !Edit3->text().isEmpty();
        const int beds = counts ? ToInteger(QStringLiteral("Брой легла"), Edit2->text()) : 0;
        const int rooms = counts ? ToInteger(QStringLiteral("Брой стаи"), Edit3->text()) : 0;
        const int service = LookupInteger(QStringLiteral("ИД услуга"), QStringLiteral("Uslugi"), QStringLiteral("q33"),
                                          QStringLiteral("q42"), ComboBox1->currentText());
        const int hotel = IsHotelFilterOn()
                              ? ToInteger(QStringLiteral("ИД Хотел"), SelectedHotelID)
                              : LookupInteger(QStringLiteral("ИД Хотел"), QStringLiteral("HotelBuild"),
                                              QStringLiteral("q10"), QStringLiteral("q1"), ComboBox3->currentText());
        const QVariant vat = ChosenVatRate(ComboBoxVat);
        query.SetSQLText(ListSql());
        TTransaction transaction(connection, true);
        query.Open();
        ChooseRow(query, QStringLiteral("q47"), QStringLiteral("ИД Стая"), Edit5->text());
        // Within one hotel a room number names one room; saving a room under its own number is an edit.
        const int editing = query.Editing() && query.FieldIndex(QStringLiteral("q47")) >= 0 &&
                                    !query.FieldByName(QStringLiteral("q47")).IsNull()
                                ? query.FieldByName(QStringLiteral("q47")).AsInteger()
                                : 0;
        const QVariantList clash = LookupFields(QStringLiteral("Rooms"), {QStringLiteral("q47")},
                                                {{QStringLiteral("q1"), hotel}, {QStringLiteral("q44"), Edit1->text()}});
        if (!clash.isEmpty() && TField(QStringLiteral("q47"), clash.first()).AsInteger() != editing) {
            MarkControlFailed(Edit1);
            throw EConvertError(msgRoomNumberExists.arg(Edit1->text()));
        }
        query.SetFieldValue(QStringLiteral("q44"), Edit1->text());
        query.SetFieldValue(QStringLiteral("q46"), TDecimal::FromDouble(price).ToVariant());
        query.SetFieldValue(QStringLiteral("q51"), tariff);
        if (counts) {
            query.SetFieldValue(QStringLiteral("q79"), beds);
            query.SetFieldValue(QStringLiteral("q48"), rooms);
        }
        query.SetFieldValue(QStringLiteral("q42"), service);
        query.SetFieldValue(QStringLiteral("q1"), hotel);
        if (query.FieldByName(QStringLiteral("q129")).IsNull())
            query.SetFieldValue(QStringLiteral("q129"), int(FrontDesk::rsClean));  // a new room
        if (vat.isValid())
            query.SetFieldValue(QStringLiteral("q170"), vat);
        // Rate plans price a room by its type; a room nobody typed is of its number of beds.
        const QString type = ComboBoxRoomType->currentText().trimmed().left(TextColumnLength);
        if (!type.isEmpty())
            query.SetFieldValue(QStringLiteral("q275"), type);
        else if (const int known = counts ? beds : query.FieldByName(QStringLiteral("q79")).AsInteger();
                 known > 0 && query.FieldByName(QStringLiteral("q275")).IsNull())
            query.SetFieldValue(QStringLiteral("q275"), RatePlans::RoomTypeOfBeds(known));
        query.Post();
        // None chosen for a new room: accommodation's rate.
        SchemaUpgrade::AssignVatRates(connection);
        // "Заключена" locks the room from today, for no limited period; "Отключена" opens a room
        // that is locked now (its other closures, planned or past, stay as they are).
        FrontDesk::StoreRoomLock(connection, query.FieldByName(QStringLiteral("q47")).AsInteger(),
                                 rgNomenclatureRoomsLock->ItemIndex() == 1);
        LogSaved(connection, QStringLiteral("Rooms"), query.FieldByName(QStringLiteral("q47")).Value());
        transaction.Commit();
    });
}

void TFNomStai::acFNomStaiCloseExecute() { close(); }
