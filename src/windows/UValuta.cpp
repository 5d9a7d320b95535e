#include "UValuta.h"

#include "desk/URights.h"

#include "data/UDM.h"
#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLayout>
#include <QTableView>
#include <QLineEdit>
#include <QTabWidget>

TFValuta::TFValuta(QWidget *parent) : TRegisterWindow(QStringLiteral("FValuta"), parent)
{
    acSave = AddCommand(QStringLiteral("tbSave"), QStringLiteral("acSave"), QStringLiteral("Запис"),
                        [this] { acSaveExecute(); });
    acClose = AddCommand(QStringLiteral("tbClose"), QStringLiteral("acClose"), QStringLiteral("Изход"),
                         [this] { acCloseExecute(); });
    Pages()->setObjectName(QStringLiteral("pcValuta"));
    Grid()->setObjectName(QStringLiteral("DBGridValuta"));
    Placement()->setObjectName(QStringLiteral("fiValuta"));
    tsData = AddSheet(QStringLiteral("tsData"), QStringLiteral("Служебни данни"));
    gbNomenclaturesCurrency = AddGroupBox(tsData, QStringLiteral("gbNomenclaturesCurrency"), QStringLiteral("Данни"));
    EditId = AddEdit(gbNomenclaturesCurrency, QStringLiteral("LabelId"), QStringLiteral("ИД"), QStringLiteral("EditId"));
    EditName = AddEdit(gbNomenclaturesCurrency, QStringLiteral("LabelName"), QStringLiteral("Име на валута"),
                       QStringLiteral("EditName"));
    ComboBoxHotel = AddLookupBox(gbNomenclaturesCurrency, QStringLiteral("LabelHotel"), QStringLiteral("Хотел"),
                                 QStringLiteral("ComboBoxHotel"), QStringLiteral("HotelBuild"), QStringLiteral("q10"));
    CheckBoxMainValuta = new QCheckBox(QStringLiteral("Основана валута"), gbNomenclaturesCurrency);
    CheckBoxMainValuta->setObjectName(QStringLiteral("CheckBoxMainValuta"));
    PlaceRow(gbNomenclaturesCurrency, CheckBoxMainValuta);
    ADOQueryValuta = new TADOQuery(nullptr, this);
    ADOQueryValuta->setObjectName(QStringLiteral("ADOQueryValuta"));
}

QList<TGridColumn> TFValuta::GridColumns() const
{
    return {{"q56", colName, 100}, {"q57", colID, 100}, {"q86", colMainCurrency, 100}, {"q1", colHotelID, 100}};
}

void TFValuta::LoadCaptions()
{
    LoadFormCaption(this);
    LoadToolbarCaptions(Toolbar());
    LoadContainerCaptions(Pages());
    LoadContainerCaptions(gbNomenclaturesCurrency);
}

void TFValuta::acSaveExecute()
{
    RunSave(Rights::rCurrency, [this](TADOQuery &query) {
        TADOConnection &connection = *query.Connection();
        const int hotel = LookupInteger(QStringLiteral("Хотел"), QStringLiteral("HotelBuild"), QStringLiteral("q10"),
                                        QStringLiteral("q1"), ComboBoxHotel->currentText());
        query.SetSQLText(ListSql());
        TTransaction transaction(connection, true);
        query.Open();
        ChooseRow(query, QStringLiteral("q57"), QStringLiteral("ИД"), EditId->text());
        query.SetFieldValue(QStringLiteral("q56"), EditName->text());
        query.SetFieldValue(QStringLiteral("q86"), CheckBoxMainValuta->isChecked());
        query.SetFieldValue(QStringLiteral("q1"), hotel);
        query.Post();
        LogSaved(connection, QStringLiteral("Valuta"), query.FieldByName(QStringLiteral("q57")).Value());
        transaction.Commit();
    });
}

void TFValuta::acCloseExecute() { close(); }
