#include "UNomDDSStavki.h"

#include "desk/URights.h"
#include "desk/UVat.h"

#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "framework/FormInfo.h"
#include "framework/UDecimal.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesReports.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

TFNomDDSStavki::TFNomDDSStavki(QWidget *parent) : TRegisterWindow(QStringLiteral("FNomDDSStavki"), parent)
{
    acSave = AddCommand(QStringLiteral("tbSave"), QStringLiteral("acSave"), QStringLiteral("Запис"),
                        [this] { acSaveExecute(); });
    acClose = AddCommand(QStringLiteral("tbClose"), QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    Pages()->setObjectName(QStringLiteral("pcDDSStavki"));
    Grid()->setObjectName(QStringLiteral("DBGridDDSStavki"));
    Placement()->setObjectName(QStringLiteral("fiDDSStavki"));
    tsData = AddSheet(QStringLiteral("tsData"), QStringLiteral("Служебни данни"));
    gbDDSStavki = AddGroupBox(tsData, QStringLiteral("gbDDSStavki"), QStringLiteral("Ставка"));
    EditDDSId = AddEdit(gbDDSStavki, QStringLiteral("LabelDDSId"), QStringLiteral("ИД"), QStringLiteral("EditDDSId"));
    EditDDSName = AddEdit(gbDDSStavki, QStringLiteral("LabelDDSName"), QStringLiteral("Наименование"),
                          QStringLiteral("EditDDSName"));
    EditDDSPercent = AddEdit(gbDDSStavki, QStringLiteral("LabelDDSPercent"), QStringLiteral("Ставка, %"),
                             QStringLiteral("EditDDSPercent"));
    EditDDSGroup = AddEdit(gbDDSStavki, QStringLiteral("LabelDDSGroup"), QStringLiteral("Данъчна група"),
                           QStringLiteral("EditDDSGroup"));
    EditDDSBasis = AddEdit(gbDDSStavki, QStringLiteral("LabelDDSBasis"), QStringLiteral("Основание"),
                           QStringLiteral("EditDDSBasis"));
    chkDDSLimited = new QCheckBox(QStringLiteral("Само за период"), gbDDSStavki);
    chkDDSLimited->setObjectName(QStringLiteral("chkDDSLimited"));
    PlaceRow(gbDDSStavki, chkDDSLimited);
    const QDate today = QDate::currentDate();
    DateDDSFrom = AddDate(gbDDSStavki, QStringLiteral("LabelDDSFrom"), QStringLiteral("Валидна от"),
                          QStringLiteral("DateDDSFrom"), QDate(today.year(), 1, 1));
    DateDDSTo = AddDate(gbDDSStavki, QStringLiteral("LabelDDSTo"), QStringLiteral("Валидна до"),
                        QStringLiteral("DateDDSTo"), QDate(today.year(), 12, 31));
    // A rate the law sets holds until the law changes it: the days only for one that ends.
    auto fit = [this] {
        DateDDSFrom->setEnabled(chkDDSLimited->isChecked());
        DateDDSTo->setEnabled(chkDDSLimited->isChecked());
    };
    connect(chkDDSLimited, &QCheckBox::toggled, this, fit);
    fit();
}

QList<TGridColumn> TFNomDDSStavki::GridColumns() const
{
    const auto amount = [](const TField &field) { return TDecimal::FromVariant(field.Value()).ToFixed(2); };
    return {{"q163", colID, 60},         {"q164", colVatName, 200},  {"q165", colVatPercent, 80, false, amount},
            {"q166", colValidFrom, 100}, {"q167", colValidTo, 100},  {"q168", colVatGroup, 90},
            {"q169", colVatBasis, 240}};
}

void TFNomDDSStavki::LoadCaptions()
{
    LoadFormCaption(this);
    LoadToolbarCaptions(Toolbar());
    LoadContainerCaptions(Pages());
    LoadContainerCaptions(gbDDSStavki);
    FitRows(gbDDSStavki);
}

void TFNomDDSStavki::acSaveExecute()
{
    RunSave(Rights::rPrices, [this](TADOQuery &query) {
        TADOConnection &connection = *query.Connection();
        TDecimal percent;
        try {
            percent = TDecimal::FromText(EditDDSPercent->text().trimmed().replace(QLatin1Char(','), QLatin1Char('.')));
        } catch (const EConvertError &) {
            percent = TDecimal::FromText(QStringLiteral("-1"));
        }
        const QString name = EditDDSName->text().trimmed();
        const bool limited = chkDDSLimited->isChecked();
        // A percent of two places below a hundred; a name to choose it by; days in order.
        if (name.isEmpty() || percent.IsNegative() || percent != percent.Cents() ||
            !(percent < TDecimal(100)) || (limited && DateDDSTo->date() < DateDDSFrom->date())) {
            MarkControlFailed(name.isEmpty() ? EditDDSName : EditDDSPercent);
            throw EConvertError(msgRateInvalid);
        }
        const QVariant noDay(QMetaType::fromType<QDateTime>());
        query.SetSQLText(ListSql());
        TTransaction transaction(connection, true);
        query.Open();
        ChooseRow(query, QStringLiteral("q163"), QStringLiteral("ИД"), EditDDSId->text());
        query.SetFieldValue(QStringLiteral("q164"), name);
        query.SetFieldValue(QStringLiteral("q165"), percent.ToVariant());
        query.SetFieldValue(QStringLiteral("q166"), limited ? QVariant(DateDDSFrom->date().startOfDay()) : noDay);
        // Stored as the first day it no longer holds.
        query.SetFieldValue(QStringLiteral("q167"), limited ? QVariant(DateDDSTo->date().addDays(1).startOfDay()) : noDay);
        query.SetFieldValue(QStringLiteral("q168"), EditDDSGroup->text().trimmed());
        query.SetFieldValue(QStringLiteral("q169"), EditDDSBasis->text().trimmed());
        query.Post();
        LogSaved(connection, QStringLiteral("DDSStavki"), query.FieldByName(QStringLiteral("q163")).Value());
        transaction.Commit();
    });
}
