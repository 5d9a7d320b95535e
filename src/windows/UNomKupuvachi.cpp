#include "UNomKupuvachi.h"

#include "desk/UInvoices.h"
#include "desk/URights.h"

#include "controls/KalvMenu.h"
#include "data/UDbEngine.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

TFNomKupuvachi::TFNomKupuvachi(QWidget *parent) : TRegisterWindow(QStringLiteral("FNomKupuvachi"), parent)
{
    acFNomKupuvachiSave = AddCommand(QStringLiteral("tbSave"), QStringLiteral("acFNomKupuvachiSave"), QStringLiteral("Запис"),
                                     [this] { acFNomKupuvachiSaveExecute(); });
    acClose = AddCommand(QStringLiteral("tbClose"), QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    Pages()->setObjectName(QStringLiteral("pcKupuvachi"));
    Grid()->setObjectName(QStringLiteral("DBGridKupuvachi"));
    Placement()->setObjectName(QStringLiteral("fiKupuvachi"));
    tsKupuvachData = AddSheet(QStringLiteral("tsKupuvachData"), QStringLiteral("Данни"));
    gbKupuvach = AddGroupBox(tsKupuvachData, QStringLiteral("gbKupuvach"), QStringLiteral("Купувач"));
    auto edit = [this](const char *label, const char *caption, const char *name) {
        return AddEdit(gbKupuvach, QLatin1String(label), QString::fromUtf8(caption), QLatin1String(name));
    };
    edKupuvachId = edit("lKupuvachId", "ИД", "edKupuvachId");
    chkKupuvachPerson = new QCheckBox(QStringLiteral("Физическо лице"), gbKupuvach);
    chkKupuvachPerson->setObjectName(QStringLiteral("chkKupuvachPerson"));
    PlaceRow(gbKupuvach, chkKupuvachPerson);
    edKupuvachName = edit("lKupuvachName", "Наименование", "edKupuvachName");
    edKupuvachEik = edit("lKupuvachEik", "ЕИК", "edKupuvachEik");
    edKupuvachVat = edit("lKupuvachVat", "ИН по ДДС", "edKupuvachVat");
    edKupuvachAddress = edit("lKupuvachAddress", "Адрес", "edKupuvachAddress");
    edKupuvachAccountable = edit("lKupuvachAccountable", "МОЛ", "edKupuvachAccountable");
    edKupuvachPersonal = edit("lKupuvachPersonal", "ЕГН", "edKupuvachPersonal");
    connect(chkKupuvachPerson, &QCheckBox::toggled, this, &TFNomKupuvachi::FitToKind);
    FitToKind();
}

// A person has a personal number; a company its ЕИК, VAT number and accountable person.
void TFNomKupuvachi::FitToKind()
{
    const bool person = chkKupuvachPerson->isChecked();
    for (QLineEdit *company : {edKupuvachEik, edKupuvachVat, edKupuvachAccountable})
        company->setEnabled(!person);
    edKupuvachPersonal->setEnabled(person);
}

QList<TGridColumn> TFNomKupuvachi::GridColumns() const
{
    return {{"q175", colID, 50},          {"q176", colBuyerName, 220}, {"q177", colBuyerEik, 110},
            {"q178", colBuyerVat, 120},   {"q179", colBuyerAddress, 220}, {"q180", colBuyerAccountable, 160}};
}

void TFNomKupuvachi::LoadCaptions()
{
    LoadFormCaption(this);
    LoadToolbarCaptions(Toolbar());
    LoadContainerCaptions(Pages());
    LoadContainerCaptions(gbKupuvach);
    FitRows(gbKupuvach);
}

void TFNomKupuvachi::RowChosen(int row)
{
    const QList<QPair<const char *, QLineEdit *>> fields = {
        {"q175", edKupuvachId},      {"q176", edKupuvachName},        {"q177", edKupuvachEik}, {"q178", edKupuvachVat},
        {"q179", edKupuvachAddress}, {"q180", edKupuvachAccountable}, {"q28", edKupuvachPersonal}};
    chkKupuvachPerson->setChecked(ListValue(row, QStringLiteral("q181")).toInt() == 1);
    for (const auto &[column, field] : fields)
        field->setText(ListValue(row, QLatin1String(column)).toString().trimmed());
}

void TFNomKupuvachi::acFNomKupuvachiSaveExecute()
{
    RunSave(Rights::rRegisters, [this](TADOQuery &query) {
        TADOConnection &connection = *query.Connection();
        const bool person = chkKupuvachPerson->isChecked();
        const QString name = edKupuvachName->text().trimmed(), eik = edKupuvachEik->text().trimmed(),
                      vat = Invoices::Compact(edKupuvachVat->text());
        if (name.isEmpty()) {
            MarkControlFailed(edKupuvachName);
            throw EConvertError(msgBuyerNoName);
        }
        if (!person)
            if (const std::optional<Invoices::TCompanyFault> fault = Invoices::CompanyNumbersFault(eik, vat, true)) {
                MarkControlFailed(fault->OfEik ? edKupuvachEik : edKupuvachVat);
                throw EConvertError(fault->Message);
            }
        query.SetSQLText(ListSql());
        // From the search for the ЕИК to the write, one write transaction: two workstations
        // cannot both add the same company.
        TTransaction transaction(connection, true);
        if (!person)
            connection.Engine().LockName(connection, QStringLiteral("Kupuvachi ") + eik);
        query.Open();
        ChooseRow(query, QStringLiteral("q175"), QStringLiteral("ИД"), edKupuvachId->text());
        const QVariant key = query.FieldByName(QStringLiteral("q175")).Value();
        if (!person) {
            const QVariantList same = connection.Column(
                QStringLiteral("SELECT q175 FROM Kupuvachi WHERE q177 = ? AND COALESCE(q181, 0) = 0"), {eik});
            for (const QVariant &other : same)
                if (key.isNull() || other.toInt() != key.toInt()) {
                    MarkControlFailed(edKupuvachEik);
                    throw EConvertError(msgBuyerEikTaken.arg(eik, other.toString()));
                }
        }
        query.SetFieldValue(QStringLiteral("q176"), name);
        query.SetFieldValue(QStringLiteral("q177"), person ? QString() : eik);
        query.SetFieldValue(QStringLiteral("q178"), person ? QString() : vat);
        query.SetFieldValue(QStringLiteral("q179"), edKupuvachAddress->text().trimmed());
        query.SetFieldValue(QStringLiteral("q180"), person ? QString() : edKupuvachAccountable->text().trimmed());
        query.SetFieldValue(QStringLiteral("q181"), person ? 1 : 0);
        query.SetFieldValue(QStringLiteral("q28"), person ? edKupuvachPersonal->text().trimmed() : QString());
        query.Post();
        LogSaved(connection, QStringLiteral("Kupuvachi"), query.FieldByName(QStringLiteral("q175")).Value());
        transaction.Commit();
    });
}
