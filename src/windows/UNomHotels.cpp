#include "UNomHotels.h"

#include "desk/URights.h"

#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"

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
    Pages()->setCurrentWidget(tsSLUJEBNI);
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
