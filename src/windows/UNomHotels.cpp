#include "UNomHotels.h"

#include "desk/URights.h"

#include "desk/UInvoices.h"

#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"

#include <QGroupBox>
#include <QLayout>
#include <QTableView>
#include <QLineEdit>
#include <QTabWidget>

TFNomHotels::TFNomHotels(QWidget *parent) : TRegisterWindow(QStringLiteral("FNomHotels"), parent)
{
    acFNomHotelsSave = AddCommand(QStringLiteral("ToolButton1"), QStringLiteral("acFNomHotelsSave"),
                                  QStringLiteral("Съхрани"), [this] { acFNomHotelsSaveExecute(); });
    acFNomHotelsClose = AddCommand(QStringLiteral("ToolButton2"), QStringLiteral("acFNomHotelsClose"),
                                   QStringLiteral("Изход"), [this] { acFNomHotelsCloseExecute(); });
    Pages()->setObjectName(QStringLiteral("pcNomenclatureHotels"));
    tsSLUJEBNI = AddSheet(QStringLiteral("tsSLUJEBNI"), QStringLiteral("Служебни"));
    tsPERSONALNI = AddSheet(QStringLiteral("tsPERSONALNI"), QStringLiteral("Персонални"));
    gbNomHotel = AddGroupBox(tsSLUJEBNI, QStringLiteral("gbNomHotel"), QStringLiteral("Хотел"));
    edNomHotesId = AddEdit(gbNomHotel, QStringLiteral("lInfoNomHotelsID"), QStringLiteral("Хотел ИД"),
                           QStringLiteral("edNomHotesId"));
    edNomHotesName = AddEdit(gbNomHotel, QStringLiteral("lInfoNomHotelName"), QStringLiteral("Име на хотел"),
                             QStringLiteral("edNomHotesName"));
    gbNomHotelsRooms = AddGroupBox(tsSLUJEBNI, QStringLiteral("gbNomHotelsRooms"), QStringLiteral("Стаи"));
    auto room = [this](const char *label, const char *caption, const char *name) {
        return AddEdit(gbNomHotelsRooms, QLatin1String(label), QString::fromUtf8(caption), QLatin1String(name));
    };
    edNomHotesOneRooms = room("lInfoNomHotesOneRooms", "Единични стаи", "edNomHotesOneRooms");
    edNomHotesTwoRooms = room("lInfoNomHotesTwoRooms", "Двойни стаи", "edNomHotesTwoRooms");
    edNomHotesThreeRooms = room("lInfoNomHotesThreeRooms", "Тройни стаи", "edNomHotesThreeRooms");
    edNomHotesFourRooms = room("lInfoNomHotesFourRooms", "Четворки стаи", "edNomHotesFourRooms");
    edNomHotesFiveRooms = room("lInfoNomHotesFiveRooms", "Петстаен апартамент", "edNomHotesFiveRooms");
    edNomHotesSixRooms = room("lInfoNomHotesApartaments", "Шестстаен апартамент", "edNomHotesSixRooms");
    edNomHotesStudia = room("lInfoNomHotesStudias", "Студия", "edNomHotesStudia");
    edNomHotesVip = room("lInfoNomHotesVips", "Вип", "edNomHotesVip");
    edNomHotesPersonal = room("lInfoNomHotesPersonals", "Персонал стаи", "edNomHotesPersonal");
    tsNomHotelFirm = AddSheet(QStringLiteral("tsNomHotelFirm"), QStringLiteral("Фирма"));
    gbNomHotelFirm = AddGroupBox(tsNomHotelFirm, QStringLiteral("gbNomHotelFirm"), QStringLiteral("Фирма на хотела"));
    auto firm = [this](const char *label, const char *caption, const char *name) {
        return AddEdit(gbNomHotelFirm, QLatin1String(label), QString::fromUtf8(caption), QLatin1String(name));
    };
    edNomHotelFirmName = firm("lNomHotelFirmName", "Наименование", "edNomHotelFirmName");
    edNomHotelEik = firm("lNomHotelEik", "ЕИК", "edNomHotelEik");
    edNomHotelVat = firm("lNomHotelVat", "ИН по ДДС", "edNomHotelVat");
    edNomHotelAddress = firm("lNomHotelAddress", "Адрес", "edNomHotelAddress");
    edNomHotelMol = firm("lNomHotelMol", "МОЛ", "edNomHotelMol");
    edNomHotelIban = firm("lNomHotelIban", "IBAN", "edNomHotelIban");
    edNomHotelBank = firm("lNomHotelBank", "Банка", "edNomHotelBank");
    edNomHotelEsti = firm("lNomHotelEsti", "Идентификатор в ЕСТИ", "edNomHotelEsti");
    Pages()->setCurrentWidget(tsSLUJEBNI);
}

void TFNomHotels::RowChosen(int row)
{
    const QList<QPair<const char *, QLineEdit *>> fields = {
        {"q1", edNomHotesId},           {"q10", edNomHotesName},       {"q11", edNomHotesOneRooms},
        {"q12", edNomHotesTwoRooms},    {"q13", edNomHotesThreeRooms}, {"q14", edNomHotesFourRooms},
        {"q15", edNomHotesFiveRooms},   {"q16", edNomHotesSixRooms},   {"q17", edNomHotesVip},
        {"q18", edNomHotesStudia},      {"q19", edNomHotesPersonal}};
    for (const auto &[column, field] : fields)
        field->setText(ListValue(row, QLatin1String(column)).toString().trimmed());
    const QList<QPair<const char *, QLineEdit *>> seller = {
        {"q198", edNomHotelFirmName}, {"q199", edNomHotelEik},  {"q200", edNomHotelVat}, {"q201", edNomHotelAddress},
        {"q202", edNomHotelMol},      {"q203", edNomHotelIban}, {"q204", edNomHotelBank}, {"q270", edNomHotelEsti}};
    try {
        TADOConnection &connection = LocalConnection();
        TTransaction transaction(connection);
        auto firm = OpenQuery(connection, QStringLiteral("SELECT * FROM FirmiHoteli WHERE q1 = :iHotel"),
                              {{"iHotel", ListValue(row, QStringLiteral("q1"))}});
        for (const auto &[column, field] : seller)
            field->setText(firm->Eof() ? QString() : firm->FieldByName(QLatin1String(column)).AsString().trimmed());
        transaction.Commit();
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
}

// The seller's data are checked as a buyer's are: an invoice with a wrong ЕИК is worthless.
void TFNomHotels::SaveSeller(TADOConnection &connection, int hotel)
{
    const QString eik = edNomHotelEik->text().trimmed();
    const QString vat = Invoices::Compact(edNomHotelVat->text());
    if (const std::optional<Invoices::TCompanyFault> fault = Invoices::CompanyNumbersFault(eik, vat, false)) {
        MarkControlFailed(fault->OfEik ? edNomHotelEik : edNomHotelVat);
        throw EConvertError(fault->Message);
    }
    // One row per hotel, written again whole; the hotel's row is locked by the save already.
    connection.Execute(QStringLiteral("DELETE FROM FirmiHoteli WHERE q1 = ?"), {hotel});
    connection.Execute(QStringLiteral("INSERT INTO FirmiHoteli (q1, q198, q199, q200, q201, q202, q203, q204, q270) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                       {hotel, edNomHotelFirmName->text().trimmed(), eik, vat, edNomHotelAddress->text().trimmed(),
                        edNomHotelMol->text().trimmed(), Invoices::Compact(edNomHotelIban->text()),
                        edNomHotelBank->text().trimmed(), edNomHotelEsti->text().trimmed()});
}

QList<TGridColumn> TFNomHotels::GridColumns() const
{
    return {{"q1", colHotelID, 200},
            {"q10", colHotelName, 200},
            {"q11", colOneRoomType, 200},
            {"q12", colTwoRooms, 200},
            {"q13", colThreeRooms, 200},
            {"q14", colFourRooms, 200},
            {"q15", colFiveRoomsApartments, 200},
            {"q16", colSixRoomsApartments, 200},
            {"q17", colVipApartments, 200},
            {"q18", colStudies, 200},
            {"q19", colPersonalRooms, 200},
            {"q20", colAllBedsCount, 200}};
}

void TFNomHotels::LoadCaptions()
{
    LoadContainerCaptions(Pages());
    LoadToolbarCaptions(Toolbar());
    LoadContainerCaptions(gbNomHotel);
    LoadContainerCaptions(gbNomHotelsRooms);
    LoadContainerCaptions(gbNomHotelFirm);
    FitRows(gbNomHotelFirm);
}

void TFNomHotels::acFNomHotelsSaveExecute()
{
    RunSave(Rights::rRegisters, [this](TADOQuery &query) {
        TADOConnection &connection = *query.Connection();
        // The number is searched in an integer column: a text that is no integer cannot be.
        const int number = ToInteger(QStringLiteral("Хотел ИД"), edNomHotesId->text());
        const int staff = edNomHotesPersonal->text().isEmpty()
                              ? 0
                              : ToInteger(QStringLiteral("Персонал стаи"), edNomHotesPersonal->text());
        query.SetSQLText(QStringLiteral(" SELECT * FROM HotelBuild "));
        // One write transaction from the search to the write: no other workstation adds the
        // same hotel number in between.
        TTransaction transaction(connection, true);
        query.Open();
        const bool found = query.Locate(QStringLiteral("q1"), number);
        query.Close();
        query.SQL.clear();
        query.ClearParameters();
        query.SetConnection(&connection);
        query.SetSQLText(found ? QStringLiteral(" UPDATE HotelBuild  SET  q10 = :q10, q11 = :q11, q12 = :q12, q13 = "
                                                ":q13, q14 = :q14, q15 = :q15, q16 = :q16, q17 = :q17, q18 = :q18, "
                                                "q19 = :q19  WHERE q1 = :q1 ")
                               : QStringLiteral("INSERT INTO HotelBuild (q1, q10, q11, q12, q13, q14, q15, q16, q17, "
                                                "q18, q19) values (:q1,:q10,:q11,:q12,:q13,:q14,:q15,:q16,:q17,:q18, "
                                                ":q19)"));
        query.ParamByName(QStringLiteral("q1")).Value = number;
        const QList<QPair<const char *, QLineEdit *>> texts = {
            {"q10", edNomHotesName},      {"q11", edNomHotesOneRooms},  {"q12", edNomHotesTwoRooms},
            {"q13", edNomHotesThreeRooms}, {"q14", edNomHotesFourRooms}, {"q15", edNomHotesFiveRooms},
            {"q16", edNomHotesSixRooms},  {"q17", edNomHotesVip},       {"q18", edNomHotesStudia}};
        for (const auto &[parameter, field] : texts)
            query.ParamByName(QLatin1String(parameter)).Value = field->text();
        query.ParamByName(QStringLiteral("q19")).Value = staff;
        query.ExecSQL();
        SaveSeller(connection, number);
        LogSaved(connection, QStringLiteral("HotelBuild"), number);
        transaction.Commit();
    }, TErrorDisplay::AllInErrorLog);
}

void TFNomHotels::acFNomHotelsCloseExecute() { close(); }

void TFNomHotels::showEvent(QShowEvent *event)
{
    if (m_placementSavedOnShow)
        return;
    m_placementSavedOnShow = true;
    Placement()->Save();
    TRegisterWindow::showEvent(event);
}
