#include "UNomUslugi.h"

#include "desk/URights.h"
#include "data/USchemaUpgrade.h"
#include "startup/UConstMessagesReports.h"

#include "framework/UDecimal.h"

#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "framework/UStrNumCtrl.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLayout>
#include <QTableView>
#include <QLineEdit>
#include <QTabWidget>

TFNomUslugi::TFNomUslugi(QWidget *parent) : TRegisterWindow(QStringLiteral("FNomUslugi"), parent)
{
    acFNomUslugiSave = AddCommand(QStringLiteral("ToolButton1"), QStringLiteral("acFNomUslugiSave"),
                                  QStringLiteral("Запис"), [this] { acFNomUslugiSaveExecute(); });
    acFNomUslugiClose = AddCommand(QStringLiteral("ToolButton2"), QStringLiteral("acFNomUslugiClose"),
                                   QStringLiteral("Изход"), [this] { acFNomUslugiCloseExecute(); });
    Pages()->setObjectName(QStringLiteral("pcNomenclatureServices"));
    tsatbNomenclatureServicesTypes =
        AddSheet(QStringLiteral("tsatbNomenclatureServicesTypes"), QStringLiteral("Типове услуги"));
    tsatbNomenclatureServicesWorks =
        AddSheet(QStringLiteral("tsatbNomenclatureServicesWorks"), QStringLiteral("Служебни данни"));
    gbNomenclatureServicesTypes = AddGroupBox(tsatbNomenclatureServicesTypes, QStringLiteral("gbNomenclatureServicesTypes"),
                                              QStringLiteral("Видове начисления и стаи"));
    Edit1 = AddEdit(gbNomenclatureServicesTypes, QStringLiteral("lInfoNomenclatureServiceID"), QStringLiteral("ИД"),
                    QStringLiteral("Edit1"));
    Edit2 = AddEdit(gbNomenclatureServicesTypes, QStringLiteral("lInfoNomenclatureServiceName"),
                    QStringLiteral("Наименование"), QStringLiteral("Edit2"));
    Edit3 = AddEdit(gbNomenclatureServicesTypes, QStringLiteral("lInfoNomenclatureServicePrice"), QStringLiteral("Ед.Цена"),
                    QStringLiteral("Edit3"));
    ComboBoxVat = AddLookupBox(gbNomenclatureServicesTypes, QStringLiteral("lInfoNomenclatureServiceVat"),
                               QStringLiteral("ДДС ставка"), QStringLiteral("ComboBoxVat"), QStringLiteral("DDSStavki"),
                               QStringLiteral("q164"));
    gbNomenclatureServicesWorksData = AddGroupBox(
        tsatbNomenclatureServicesWorks, QStringLiteral("gbNomenclatureServicesWorksData"), QStringLiteral("избор на тарифа"));
    ComboBox1 = AddLookupBox(gbNomenclatureServicesWorksData, QStringLiteral("lInfoNomenclatureServiceTarife"),
                             QStringLiteral("Тарифа"), QStringLiteral("ComboBox1"), QStringLiteral("Tarife"),
                             QStringLiteral("q50"));
    Pages()->setCurrentWidget(tsatbNomenclatureServicesTypes);
}

QList<TGridColumn> TFNomUslugi::GridColumns() const
{
    return {{"q40", colPrice, 100},      {"q41", colCurrencyID, 200}, {"q33", colServiceName, 200},
            {"q50", colName, 200},       {"q51", colTariffID, 200},   {"q42", colServiceID, 200},
            {"q43", colDiscountID, 200}, {"q170", colVatName, 120}};
}

void TFNomUslugi::LoadCaptions()
{
    LoadFormCaption(this);
    LoadContainerCaptions(gbNomenclatureServicesTypes);
    LoadContainerCaptions(gbNomenclatureServicesWorksData);
    LoadToolbarCaptions(Toolbar());
    LoadContainerCaptions(Pages());
}

void TFNomUslugi::acFNomUslugiSaveExecute()
{
    RunSave(Rights::rServices, [this](TADOQuery &query) {
        const TStrNumCtrl check;
        if (!check.IsNumberText(Edit3->text())) {
            TSystemWinOS::ShowMessageBox(msgMissingOrWrongData, msgInformationTitle, 48);
            return;
        }
        TADOConnection &connection = *query.Connection();
        const double price = ToFloat(QStringLiteral("Ед.Цена"), Edit3->text());
        const int tariff = LookupInteger(QStringLiteral("Тарифа"), QStringLiteral("Tarife"), QStringLiteral("q50"),
                                         QStringLiteral("q51"), ComboBox1->currentText());
        const QVariant vat = ChosenVatRate(ComboBoxVat);
        query.SetSQLText(ListSql());
        TTransaction transaction(connection, true);
        query.Open();
        ChooseRow(query, QStringLiteral("q42"), QStringLiteral("ИД"), Edit1->text());
        query.SetFieldValue(QStringLiteral("q40"), TDecimal::FromDouble(price).ToVariant());
        query.SetFieldValue(QStringLiteral("q33"), Edit2->text());
        query.SetFieldValue(QStringLiteral("q51"), tariff);
        if (vat.isValid())
            query.SetFieldValue(QStringLiteral("q170"), vat);
        query.Post();
        // None chosen for a new service: the rate its kind takes.
        SchemaUpgrade::AssignVatRates(connection);
        LogSaved(connection, QStringLiteral("Uslugi"), query.FieldByName(QStringLiteral("q42")).Value());
        transaction.Commit();
    });
}

void TFNomUslugi::acFNomUslugiCloseExecute() { close(); }
