#include "UNomSerii.h"

#include "desk/UInvoices.h"
#include "desk/URights.h"

#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "data/UDbEngine.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

TFNomSerii::TFNomSerii(QWidget *parent) : TRegisterWindow(QStringLiteral("FNomSerii"), parent)
{
    acFNomSeriiSave = AddCommand(QStringLiteral("tbSave"), QStringLiteral("acFNomSeriiSave"), QStringLiteral("Запис"),
                                 [this] { acFNomSeriiSaveExecute(); });
    acClose = AddCommand(QStringLiteral("tbClose"), QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    Pages()->setObjectName(QStringLiteral("pcSerii"));
    Grid()->setObjectName(QStringLiteral("DBGridSerii"));
    Placement()->setObjectName(QStringLiteral("fiSerii"));
    tsSeriiData = AddSheet(QStringLiteral("tsSeriiData"), QStringLiteral("Данни"));
    gbSeria = AddGroupBox(tsSeriiData, QStringLiteral("gbSeria"), QStringLiteral("Серия"));
    edSeriaId = AddEdit(gbSeria, QStringLiteral("lSeriaId"), QStringLiteral("ИД"), QStringLiteral("edSeriaId"));
    // Empty: the series serves every hotel.
    cbSeriaHotel = AddLookupBox(gbSeria, QStringLiteral("lSeriaHotel"), QStringLiteral("Хотел"), QStringLiteral("cbSeriaHotel"),
                                QStringLiteral("HotelBuild"), QStringLiteral("q10"));
    edSeriaName = AddEdit(gbSeria, QStringLiteral("lSeriaName"), QStringLiteral("Наименование"), QStringLiteral("edSeriaName"));
    edSeriaFirst = AddEdit(gbSeria, QStringLiteral("lSeriaFirst"), QStringLiteral("Първи номер"), QStringLiteral("edSeriaFirst"));
}

QList<TGridColumn> TFNomSerii::GridColumns() const
{
    return {{"q171", colID, 50},  {"q1", colHotelID, 70},       {"q172", colDocumentSeries, 180},
            {"q173", colSeriesFirst, 110}, {"q174", colSeriesNext, 110}};
}

void TFNomSerii::LoadCaptions()
{
    LoadFormCaption(this);
    LoadToolbarCaptions(Toolbar());
    LoadContainerCaptions(Pages());
    LoadContainerCaptions(gbSeria);
    FitRows(gbSeria);
}

void TFNomSerii::RowChosen(int row)
{
    edSeriaId->setText(ListValue(row, QStringLiteral("q171")).toString());
    edSeriaName->setText(ListValue(row, QStringLiteral("q172")).toString().trimmed());
    edSeriaFirst->setText(ListValue(row, QStringLiteral("q173")).toString().trimmed());
    const QVariant hotel = ListValue(row, QStringLiteral("q1"));
    cbSeriaHotel->setEditText(hotel.isNull() ? QString()
                                             : SelectorValues(QStringLiteral("SELECT q10 FROM HotelBuild WHERE q1 = :iHotel"),
                                                              {{"iHotel", hotel}})
                                                   .value(0));
}

void TFNomSerii::acFNomSeriiSaveExecute()
{
    RunSave(Rights::rSettings, [this](TADOQuery &query) {
        TADOConnection &connection = *query.Connection();
        const QString name = edSeriaName->text().trimmed();
        bool number = false;
        const qint64 first = edSeriaFirst->text().trimmed().toLongLong(&number);
        if (name.isEmpty()) {
            MarkControlFailed(edSeriaName);
            throw EConvertError(msgSeriesNoName);
        }
        if (!number || first <= 0 || first > Invoices::kLastNumber) {
            MarkControlFailed(edSeriaFirst);
            throw EConvertError(msgSeriesFirstInvalid);
        }
        const QString hotelName = cbSeriaHotel->currentText().trimmed();
        const QVariant hotel = hotelName.isEmpty() ? QVariant(QMetaType::fromType<int>())
                                                   : QVariant(LookupInteger(FieldCaption(cbSeriaHotel), QStringLiteral("HotelBuild"),
                                                                            QStringLiteral("q10"), QStringLiteral("q1"), hotelName));
        query.SetSQLText(ListSql());
        TTransaction transaction(connection, true);
        // Every series' row, so that no other workstation gives a number while this one is read.
        QList<int> all;
        for (const QVariant &series : connection.Column(QStringLiteral("SELECT q171 FROM FakturiSerii")))
            all.append(series.toInt());
        connection.Engine().LockKeys(connection, QStringLiteral("FakturiSerii"), QStringLiteral("q171"), all);
        query.Open();
        ChooseRow(query, QStringLiteral("q171"), QStringLiteral("ИД"), edSeriaId->text());
        const QVariant key = query.FieldByName(QStringLiteral("q171")).Value();
        const QString given = Invoices::NumberText(first);
        const bool used = !key.isNull() && query.FieldByName(QStringLiteral("q174")).AsString().trimmed() !=
                                               query.FieldByName(QStringLiteral("q173")).AsString().trimmed();
        if (used && query.FieldByName(QStringLiteral("q173")).AsString().trimmed() != given) {
            MarkControlFailed(edSeriaFirst);
            throw EConvertError(msgSeriesUsed);
        }
        // A number is a document's alone: a new start may not fall among the numbers another
        // series has given.
        const QVariantList taken = connection.Column(
            QStringLiteral("SELECT q172 FROM FakturiSerii WHERE q173 <= ? AND q174 > ? AND q171 <> ?"),
            {given, given, key.isNull() ? 0 : key.toInt()});
        if (!taken.isEmpty()) {
            MarkControlFailed(edSeriaFirst);
            throw EConvertError(msgSeriesOverlaps.arg(given, taken.first().toString().trimmed()));
        }
        query.SetFieldValue(QStringLiteral("q1"), hotel);
        query.SetFieldValue(QStringLiteral("q172"), name);
        if (!used) {
            query.SetFieldValue(QStringLiteral("q173"), given);
            query.SetFieldValue(QStringLiteral("q174"), given);
        }
        query.Post();
        LogSaved(connection, QStringLiteral("FakturiSerii"), query.FieldByName(QStringLiteral("q171")).Value());
        transaction.Commit();
    });
}
