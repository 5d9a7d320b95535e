#include "UNomKurortniTaksi.h"

#include "desk/URights.h"

#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "framework/FormInfo.h"
#include "framework/UDecimal.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesReports.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

TFNomKurortniTaksi::TFNomKurortniTaksi(QWidget *parent) : TRegisterWindow(QStringLiteral("FNomKurortniTaksi"), parent)
{
    acSave = AddCommand(QStringLiteral("tbSave"), QStringLiteral("acSave"), QStringLiteral("Запис"),
                        [this] { acSaveExecute(); });
    acClose = AddCommand(QStringLiteral("tbClose"), QStringLiteral("acClose"), QStringLiteral("Изход"),
                         [this] { acCloseExecute(); });
    Pages()->setObjectName(QStringLiteral("pcKurortniTaksi"));
    Grid()->setObjectName(QStringLiteral("DBGridKurortniTaksi"));
    Placement()->setObjectName(QStringLiteral("fiKurortniTaksi"));
    tsData = AddSheet(QStringLiteral("tsData"), QStringLiteral("Служебни данни"));
    gbNomenclaturesTaxs = AddGroupBox(tsData, QStringLiteral("gbNomenclaturesTaxs"), QStringLiteral("Данни"));
    EditId = AddEdit(gbNomenclaturesTaxs, QStringLiteral("LabelTaxId"), QStringLiteral("ИД"), QStringLiteral("EditId"));
    ComboBoxHotel = AddLookupBox(gbNomenclaturesTaxs, QStringLiteral("LabelTaxHotel"), QStringLiteral("Хотел"),
                                 QStringLiteral("ComboBoxHotel"), QStringLiteral("HotelBuild"), QStringLiteral("q10"));
    ComboBoxCategory = AddLookupBox(gbNomenclaturesTaxs, QStringLiteral("LabelTaxCategory"), QStringLiteral("Категория"),
                                    QStringLiteral("ComboBoxCategory"), &TFNomKurortniTaksi::Categories);
    EditRate = AddEdit(gbNomenclaturesTaxs, QStringLiteral("LabelTaxRate"), QStringLiteral("Такса на нощувка"),
                       QStringLiteral("EditRate"));
    const QDate today = QDate::currentDate();
    DateFrom = AddDate(gbNomenclaturesTaxs, QStringLiteral("LabelTaxFrom"), QStringLiteral("Валидна от"),
                       QStringLiteral("DateFrom"), QDate(today.year(), 1, 1));
    DateTo = AddDate(gbNomenclaturesTaxs, QStringLiteral("LabelTaxTo"), QStringLiteral("Валидна до"), QStringLiteral("DateTo"),
                     QDate(today.year(), 12, 31));
}

QList<TGridColumn> TFNomKurortniTaksi::GridColumns() const
{
    const auto amount = [](const TField &field) { return TDecimal::FromVariant(field.Value()).ToFixed(2); };
    return {{"q148", colID, 60},
            {"q1", colHotelID, 80},
            {"q31", colCategory, 160},
            {"q149", colTaxRate, 90, false, amount},
            {"q52", colValidFrom, 100},
            {"q53", colValidTo, 100}};
}

void TFNomKurortniTaksi::LoadCaptions()
{
    LoadFormCaption(this);
    LoadToolbarCaptions(Toolbar());
    LoadContainerCaptions(Pages());
    LoadContainerCaptions(gbNomenclaturesTaxs);
    FitRows(gbNomenclaturesTaxs);
}

// The guest categories of the reservation window, in the captions the operator reads there.
QStringList TFNomKurortniTaksi::Categories()
{
    QStringList categories;
    for (int i = 0;; ++i) {
        const QString caption = SettingsCaption(QStringLiteral("rgContragentInformation%1").arg(i));
        if (caption.isEmpty())
            break;
        categories.append(caption);
    }
    return categories;
}

void TFNomKurortniTaksi::acSaveExecute()
{
    RunSave(Rights::rTouristTax, [this](TADOQuery &query) {
        TADOConnection &connection = *query.Connection();
        const QString category = ComboBoxCategory->currentText().trimmed();
        TDecimal rate;
        try {
            rate = TDecimal::FromText(EditRate->text().trimmed().replace(QLatin1Char(','), QLatin1Char('.')));
        } catch (const EConvertError &) {
            rate = TDecimal::FromText(QStringLiteral("-1"));
        }
        // A hotel's rate may leave the category empty: it is the settlement's rate for every guest.
        const QString hotelName = ComboBoxHotel->currentText().trimmed();
        const bool categoryMissing = category.isEmpty() && hotelName.isEmpty();
        if (categoryMissing || rate.IsNegative() || rate != rate.Cents() || DateTo->date() < DateFrom->date()) {
            MarkControlFailed(categoryMissing ? static_cast<QWidget *>(ComboBoxCategory) : EditRate);
            throw EConvertError(msgRateInvalid);
        }
        const QVariant hotel =
            hotelName.isEmpty()
                ? QVariant(QMetaType::fromType<int>())
                : QVariant(LookupInteger(QStringLiteral("Хотел"), QStringLiteral("HotelBuild"), QStringLiteral("q10"),
                                         QStringLiteral("q1"), hotelName));
        query.SetSQLText(ListSql());
        TTransaction transaction(connection, true);
        query.Open();
        ChooseRow(query, QStringLiteral("q148"), QStringLiteral("ИД"), EditId->text());
        query.SetFieldValue(QStringLiteral("q1"), hotel);
        query.SetFieldValue(QStringLiteral("q31"), category.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(category));
        query.SetFieldValue(QStringLiteral("q149"), rate.ToVariant());
        query.SetFieldValue(QStringLiteral("q52"), DateFrom->date().startOfDay());
        query.SetFieldValue(QStringLiteral("q53"), DateTo->date().startOfDay());
        query.Post();
        LogSaved(connection, QStringLiteral("KurortniTaksi"), query.FieldByName(QStringLiteral("q148")).Value());
        transaction.Commit();
    });
}

void TFNomKurortniTaksi::acCloseExecute() { close(); }
