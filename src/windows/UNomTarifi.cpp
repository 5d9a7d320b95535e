#include "UNomTarifi.h"

#include "desk/URights.h"

#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLayout>
#include <QTableView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace {
QDateTimeEdit *picker(QGroupBox *box, const QString &name, const QDateTime &start)
{
    auto *edit = new QDateTimeEdit(start, box);
    edit->setObjectName(name);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm:ss"));  // a chosen day keeps its time of day
    return edit;
}
} // namespace

TFNomTarifi::TFNomTarifi(QWidget *parent) : TRegisterWindow(QStringLiteral("FNomTarifi"), parent)
{
    acFNomTarifiSave = AddCommand(QStringLiteral("tbFNomTarifiSave"), QStringLiteral("acFNomTarifiSave"),
                                  QStringLiteral("Запази"), [this] { acFNomTarifiSaveExecute(); });
    acFNomTarifiClose = AddCommand(QStringLiteral("tbFNomTarifiClose"), QStringLiteral("acFNomTarifiClose"),
                                   QStringLiteral("Изход"), [this] { acFNomTarifiCloseExecute(); });
    Pages()->setObjectName(QStringLiteral("pcNomeclatureTarife"));
    tsNomeclatureTarifePersonal = AddSheet(QStringLiteral("tsNomeclatureTarifePersonal"), QStringLiteral("Персонални"));
    tsNomeclatureTarifeWorks = AddSheet(QStringLiteral("tsNomeclatureTarifeWorks"), QStringLiteral("Служебни"));
    gbNomeclatureTarife =
        AddGroupBox(tsNomeclatureTarifePersonal, QStringLiteral("gbNomeclatureTarife"), QStringLiteral("Тарифиране"));
    Edit1 = AddEdit(gbNomeclatureTarife, QStringLiteral("lInfoNomeclatureTarifeID"), QStringLiteral("ИД Тарифа"),
                    QStringLiteral("Edit1"));
    Edit2 = AddEdit(gbNomeclatureTarife, QStringLiteral("lInfoNomeclatureTarifeName"), QStringLiteral("Име на тарифа"),
                    QStringLiteral("Edit2"));
    Edit3 = AddEdit(gbNomeclatureTarife, QStringLiteral("lInfoNomeclatureTarifeTypeRoundCurrency"),
                    QStringLiteral("Тип тарифно закръгляне"), QStringLiteral("Edit3"));
    Edit3->setText(QStringLiteral("3"));
    Edit4 = AddEdit(gbNomeclatureTarife, QStringLiteral("lInfoNomeclatureTarifeRoundSum"),
                    QStringLiteral("Стойност за закръгляне"), QStringLiteral("Edit4"));
    Edit4->setText(QStringLiteral("5"));
    cbNomeclatureTarifeIsAutomatic = new QCheckBox(QStringLiteral("Автоматично тарифиране"), gbNomeclatureTarife);
    cbNomeclatureTarifeIsAutomatic->setObjectName(QStringLiteral("cbNomeclatureTarifeIsAutomatic"));
    PlaceRow(gbNomeclatureTarife, cbNomeclatureTarifeIsAutomatic);

    gbNomeclatureTarifePeriod = AddGroupBox(tsNomeclatureTarifeWorks, QStringLiteral("gbNomeclatureTarifePeriod"),
                                            QStringLiteral("Валидност на тарифа"));
    DateTimePicker1 = picker(gbNomeclatureTarifePeriod, QStringLiteral("DateTimePicker1"),
                             QDateTime(QDate(2007, 11, 22), QTime(23, 32, 40)));
    PlaceRow(gbNomeclatureTarifePeriod, DateTimePicker1,
             AddLabel(gbNomeclatureTarifePeriod, QStringLiteral("lInfoNomeclatureTarifeDataFrom"), QStringLiteral("Дата от")));
    DateTimePicker2 = picker(gbNomeclatureTarifePeriod, QStringLiteral("DateTimePicker2"),
                             QDateTime(QDate(2007, 11, 22), QTime(23, 32, 43)));
    PlaceRow(gbNomeclatureTarifePeriod, DateTimePicker2,
             AddLabel(gbNomeclatureTarifePeriod, QStringLiteral("lInfoNomeclatureTarifeDataTo"), QStringLiteral("Дата до")));
    Pages()->setCurrentWidget(tsNomeclatureTarifePersonal);
}

QList<TGridColumn> TFNomTarifi::GridColumns() const
{
    return {{"q51", colID, 100},      {"q50", colName, 100},      {"q52", colDateFrom, 100},
            {"q53", colDateTo, 100},  {"q111", colRoundType, 100}, {"q112", colRoundTypeSum, 100}};
}

void TFNomTarifi::LoadCaptions()
{
    LoadFormCaption(this);
    LoadContainerCaptions(gbNomeclatureTarife);
    LoadContainerCaptions(gbNomeclatureTarifePeriod);
    LoadContainerCaptions(Pages());
    LoadToolbarCaptions(Toolbar());
}

void TFNomTarifi::acFNomTarifiSaveExecute()
{
    RunSave(Rights::rTariffs, [this](TADOQuery &query) {
        TADOConnection &connection = *query.Connection();
        const int roundType = ToInteger(QStringLiteral("Тип тарифно закръгляне"), Edit3->text());
        const int roundSum = ToInteger(QStringLiteral("Стойност за закръгляне"), Edit4->text());
        query.SetSQLText(ListSql());
        TTransaction transaction(connection, true);
        query.Open();
        ChooseRow(query, QStringLiteral("q51"), QStringLiteral("ИД Тарифа"), Edit1->text());
        query.SetFieldValue(QStringLiteral("q50"), Edit2->text());
        query.SetFieldValue(QStringLiteral("q111"), roundType);
        query.SetFieldValue(QStringLiteral("q112"), roundSum);
        query.SetFieldValue(QStringLiteral("q52"), DateTimePicker1->dateTime());
        query.SetFieldValue(QStringLiteral("q53"), DateTimePicker2->dateTime());
        query.Post();
        LogSaved(connection, QStringLiteral("Tarife"), query.FieldByName(QStringLiteral("q51")).Value());
        transaction.Commit();
    });
}

void TFNomTarifi::acFNomTarifiCloseExecute() { close(); }
