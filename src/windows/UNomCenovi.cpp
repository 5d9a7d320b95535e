#include "UNomCenovi.h"

#include "desk/URatePlans.h"
#include "desk/URights.h"

#include "controls/KalvMenu.h"
#include "data/UDbEngine.h"
#include "data/UDbSchema.h"
#include "framework/FormInfo.h"
#include "framework/UFormatSettings.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

namespace {

QVariant nullInt() { return QVariant(QMetaType::fromType<int>()); }

// The table each page keeps, in the pages' order, and its key.
const struct {
    const char *Table, *Key;
} kPageTables[] = {{"CenoviPlanove", "q276"}, {"Sezoni", "q283"}, {"Ceni", "q285"}, {"Ogranichenia", "q293"},
                   {"DetskiVazrasti", "q288"}};

const char *const kDayNames[] = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Нд"};

// The meal plans in their stored order; the children's rules likewise.
QStringList mealPlans() { return {msgMealRoomOnly, msgMealBreakfast, msgMealHalfBoard, msgMealFullBoard}; }
QStringList childRules() { return {msgChildFree, msgChildPercent, msgChildFixed}; }
// 1 to 3 adults, then the extra bed (stored as 0).
QStringList adultChoices() { return {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), msgExtraBed}; }

QString weekdaysText(int mask)
{
    QStringList days;
    for (int day = 1; day <= 7; ++day)
        if (mask & RatePlans::WeekdayBit(day))
            days.append(QString::fromUtf8(kDayNames[day - 1]));
    return days.join(QLatin1Char(' '));
}

// An amount typed by the operator, not below nothing; a clear error naming the field otherwise.
TDecimal amountOf(const QLineEdit *edit, const QString &field)
{
    try {
        const TDecimal amount = AmountFromText(edit->text());
        if (!amount.IsNegative())
            return amount;
    } catch (const Exception &) {
    }
    throw EConvertError(msgFieldsToFix.arg(field));
}

int countOf(const QLineEdit *edit, const QString &field, int least, int most)
{
    const QString text = edit->text().trimmed();
    if (text.isEmpty())
        return 0;
    const int value = TRegisterWindow::ToInteger(field, text);
    if (value < least || value > most)
        throw EConvertError(msgFieldsToFix.arg(field));
    return value;
}

} // namespace

TFNomCenovi::TFNomCenovi(QWidget *parent) : TRegisterWindow(QStringLiteral("FNomCenovi"), parent)
{
    resize(900, 600);
    acFNomCenoviSave = AddCommand(QStringLiteral("tbSave"), QStringLiteral("acFNomCenoviSave"), QStringLiteral("Запис"),
                                  [this] { acFNomCenoviSaveExecute(); });
    acClose = AddCommand(QStringLiteral("tbClose"), QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    Pages()->setObjectName(QStringLiteral("pcCenovi"));
    Grid()->setObjectName(QStringLiteral("DBGridCenovi"));
    Placement()->setObjectName(QStringLiteral("fiCenovi"));
    const auto plans = [] { return SelectorValues(QStringLiteral("SELECT q277 FROM CenoviPlanove ORDER BY q277")); };
    const auto hotels = [this](QGroupBox *box, const char *label, const char *name) {
        return AddLookupBox(box, QLatin1String(label), QStringLiteral("Хотел"), QLatin1String(name),
                            QStringLiteral("HotelBuild"), QStringLiteral("q10"));
    };
    const auto services = [this](const char *label, const char *caption, const char *name) {
        return AddLookupBox(gbCenoviPlan, QLatin1String(label), QString::fromUtf8(caption), QLatin1String(name),
                            QStringLiteral("Uslugi"), QStringLiteral("q33"));
    };

    tsCenoviPlan = AddSheet(QStringLiteral("tsCenoviPlan"), QStringLiteral("Ценови план"));
    gbCenoviPlan = AddGroupBox(tsCenoviPlan, QStringLiteral("gbCenoviPlan"), QStringLiteral("План"));
    edPlanId = Edit(gbCenoviPlan, "lPlanId", "ИД", "edPlanId");
    edPlanName = Edit(gbCenoviPlan, "lPlanName", "Име", "edPlanName");
    cbPlanHotel = hotels(gbCenoviPlan, "lPlanHotel", "cbPlanHotel");
    cbPlanCurrency = AddLookupBox(gbCenoviPlan, QStringLiteral("lPlanCurrency"), QStringLiteral("Валута"),
                                  QStringLiteral("cbPlanCurrency"), QStringLiteral("Valuta"), QStringLiteral("q56"));
    chkPlanVatIncluded = Check(gbCenoviPlan, "chkPlanVatIncluded", "Цените включват ДДС");
    chkPlanVatIncluded->setChecked(true);
    cbPlanMeals = AddLookupBox(gbCenoviPlan, QStringLiteral("lPlanMeals"), QStringLiteral("Хранене"),
                               QStringLiteral("cbPlanMeals"), &mealPlans);
    cbPlanBreakfast = services("lPlanBreakfast", "Закуска (услуга)", "cbPlanBreakfast");
    cbPlanLunch = services("lPlanLunch", "Обяд (услуга)", "cbPlanLunch");
    cbPlanDinner = services("lPlanDinner", "Вечеря (услуга)", "cbPlanDinner");

    tsCenoviSeason = AddSheet(QStringLiteral("tsCenoviSeason"), QStringLiteral("Сезони"));
    gbCenoviSeason = AddGroupBox(tsCenoviSeason, QStringLiteral("gbCenoviSeason"), QStringLiteral("Сезон"));
    edSeasonId = Edit(gbCenoviSeason, "lSeasonId", "ИД", "edSeasonId");
    cbSeasonPlan = AddLookupBox(gbCenoviSeason, QStringLiteral("lSeasonPlan"), QStringLiteral("Ценови план"),
                                QStringLiteral("cbSeasonPlan"), plans);
    edSeasonName = Edit(gbCenoviSeason, "lSeasonName", "Име", "edSeasonName");
    const QDate today = QDate::currentDate();
    dtSeasonFrom = AddDate(gbCenoviSeason, QStringLiteral("lSeasonFrom"), QStringLiteral("Първа нощувка"),
                           QStringLiteral("dtSeasonFrom"), today);
    dtSeasonTo = AddDate(gbCenoviSeason, QStringLiteral("lSeasonTo"), QStringLiteral("Последна нощувка"),
                         QStringLiteral("dtSeasonTo"), today);

    tsCenoviPrice = AddSheet(QStringLiteral("tsCenoviPrice"), QStringLiteral("Цени"));
    gbCenoviPrice = AddGroupBox(tsCenoviPrice, QStringLiteral("gbCenoviPrice"), QStringLiteral("Цена на нощувка"));
    edPriceId = Edit(gbCenoviPrice, "lPriceId", "ИД", "edPriceId");
    cbPricePlan = AddLookupBox(gbCenoviPrice, QStringLiteral("lPricePlan"), QStringLiteral("Ценови план"),
                               QStringLiteral("cbPricePlan"), plans);
    cbPriceSeason = AddLookupBox(gbCenoviPrice, QStringLiteral("lPriceSeason"), QStringLiteral("Сезон"),
                                 QStringLiteral("cbPriceSeason"), [this] { return SeasonsOfChosenPlan(); });
    cbPriceRoomType = AddLookupBox(gbCenoviPrice, QStringLiteral("lPriceRoomType"), QStringLiteral("Тип стая"),
                                   QStringLiteral("cbPriceRoomType"), [] {
                                       return SelectorValues(QStringLiteral("SELECT DISTINCT q275 FROM Rooms WHERE q275 IS "
                                                                            "NOT NULL ORDER BY q275"));
                                   });
    cbPriceAdults = AddLookupBox(gbCenoviPrice, QStringLiteral("lPriceAdults"), QStringLiteral("Възрастни"),
                                 QStringLiteral("cbPriceAdults"), &adultChoices);
    auto *days = new QWidget(gbCenoviPrice);
    days->setObjectName(QStringLiteral("pnPriceDays"));
    auto *row = new QHBoxLayout(days);
    row->setContentsMargins(0, 0, 0, 0);
    for (int day = 1; day <= 7; ++day) {
        auto *box = new QCheckBox(QString::fromUtf8(kDayNames[day - 1]), days);
        box->setObjectName(QStringLiteral("chkPriceDay%1").arg(day));
        box->setChecked(true);
        row->addWidget(box);
        chkPriceDays.append(box);
    }
    // The seven days need the row's whole width, their caption a row above them.
    PlaceRow(gbCenoviPrice, AddLabel(gbCenoviPrice, QStringLiteral("lPriceDays"), QStringLiteral("Дни от седмицата")));
    PlaceRow(gbCenoviPrice, days);
    pnPriceDays = days;
    edPriceAmount = Edit(gbCenoviPrice, "lPriceAmount", "Цена на стаята за нощувка", "edPriceAmount");

    tsCenoviRestriction = AddSheet(QStringLiteral("tsCenoviRestriction"), QStringLiteral("Ограничения"));
    gbCenoviRestriction = AddGroupBox(tsCenoviRestriction, QStringLiteral("gbCenoviRestriction"),
                                      QStringLiteral("Ограничения за дните"));
    cbRestrictionPlan = AddLookupBox(gbCenoviRestriction, QStringLiteral("lRestrictionPlan"), QStringLiteral("Ценови план"),
                                     QStringLiteral("cbRestrictionPlan"), plans);
    dtRestrictionFrom = AddDate(gbCenoviRestriction, QStringLiteral("lRestrictionFrom"), QStringLiteral("От ден"),
                                QStringLiteral("dtRestrictionFrom"), today);
    dtRestrictionTo = AddDate(gbCenoviRestriction, QStringLiteral("lRestrictionTo"), QStringLiteral("До ден"),
                              QStringLiteral("dtRestrictionTo"), today);
    edRestrictionMin = Edit(gbCenoviRestriction, "lRestrictionMin", "Най-малко нощувки", "edRestrictionMin");
    edRestrictionMax = Edit(gbCenoviRestriction, "lRestrictionMax", "Най-много нощувки", "edRestrictionMax");
    chkRestrictionArrival = Check(gbCenoviRestriction, "chkRestrictionArrival", "Без пристигане");
    chkRestrictionDeparture = Check(gbCenoviRestriction, "chkRestrictionDeparture", "Без отпътуване");

    tsCenoviChildren = AddSheet(QStringLiteral("tsCenoviChildren"), QStringLiteral("Детски възрасти"));
    gbCenoviChildren = AddGroupBox(tsCenoviChildren, QStringLiteral("gbCenoviChildren"), QStringLiteral("Деца"));
    edChildId = Edit(gbCenoviChildren, "lChildId", "ИД", "edChildId");
    cbChildHotel = hotels(gbCenoviChildren, "lChildHotel", "cbChildHotel");
    edChildFrom = Edit(gbCenoviChildren, "lChildFrom", "От години", "edChildFrom");
    edChildTo = Edit(gbCenoviChildren, "lChildTo", "До години", "edChildTo");
    cbChildRule = AddLookupBox(gbCenoviChildren, QStringLiteral("lChildRule"), QStringLiteral("Цена"),
                               QStringLiteral("cbChildRule"), &childRules);
    edChildValue = Edit(gbCenoviChildren, "lChildValue", "Процент или сума", "edChildValue");

    // The grid shows the table of the page in front.
    connect(Pages(), &QTabWidget::currentChanged, this, [this] { ReloadList(); });
    Pages()->setCurrentWidget(tsCenoviPlan);
}

QLineEdit *TFNomCenovi::Edit(QGroupBox *box, const char *label, const char *caption, const char *name)
{
    return AddEdit(box, QLatin1String(label), QString::fromUtf8(caption), QLatin1String(name));
}

QCheckBox *TFNomCenovi::Check(QGroupBox *box, const char *name, const char *caption)
{
    auto *check = new QCheckBox(QString::fromUtf8(caption), box);
    check->setObjectName(QLatin1String(name));
    PlaceRow(box, check);
    return check;
}

TFNomCenovi::TPage TFNomCenovi::Page() const { return TPage(std::max(0, Pages()->currentIndex())); }

// The plain statement of the page's table: the save edits its rows through it.
QString TFNomCenovi::ListSql() const { return QStringLiteral("SELECT * FROM ") + QLatin1String(kPageTables[Page()].Table); }

// The page's row, chosen by the key in its identifier field or appended, checked and filled by
// the page under the lock its rule needs, then posted and logged: one write transaction.
void TFNomCenovi::SaveRow(TADOQuery &query, const QString &lock, const QLineEdit *id,
                          const std::function<void(TADOConnection &connection, const QVariant &key)> &fill)
{
    TADOConnection &connection = *query.Connection();
    const QString table = QLatin1String(kPageTables[Page()].Table), keyColumn = QLatin1String(kPageTables[Page()].Key);
    query.SetSQLText(ListSql());
    TTransaction transaction(connection, true);
    connection.Engine().LockName(connection, lock);
    query.Open();
    ChooseRow(query, keyColumn, FieldCaption(id), id->text());
    fill(connection, query.FieldByName(keyColumn).Value());
    query.Post();
    LogSaved(connection, table, query.FieldByName(keyColumn).Value());
    transaction.Commit();
}

QList<TGridColumn> TFNomCenovi::GridColumns() const
{
    const auto amount = [](const TField &field) { return TDecimal::FromVariant(field.Value()).ToFixed(2); };
    const auto yes = [](const TField &field) { return field.AsInteger() != 0 ? msgYes : QString(); };
    switch (Page()) {
    case pgSeason:
        return {{"q283", colID, 50}, {"q276", colRatePlan, 80}, {"q284", colSeason, 160}, {"q52", colValidFrom, 100},
                {"q53", colValidTo, 100}};
    case pgPrice:
        return {{"q285", colID, 50},
                {"q276", colRatePlan, 80},
                {"q283", colSeason, 70},
                {"q275", colRoomType, 140},
                {"q286", colAdults, 90, false, [](const TField &field) {
                     return field.AsInteger() == 0 ? msgExtraBed : field.AsString();
                 }},
                {"q287", colWeekdays, 160, false, [](const TField &field) { return weekdaysText(field.AsInteger()); }},
                {"q70", colPrice, 90, false, amount}};
    case pgRestriction:
        return {{"q293", colID, 50},      {"q276", colRatePlan, 80},   {"q294", colDate, 100},
                {"q295", colMinStay, 90}, {"q296", colMaxStay, 90},   {"q297", colClosedToArrival, 110, false, yes},
                {"q298", colClosedToDeparture, 110, false, yes}};
    case pgChildren:
        return {{"q288", colID, 50},
                {"q1", colHotelID, 70},
                {"q289", colAgeFrom, 70},
                {"q290", colAgeTo, 70},
                {"q291", colChildRule, 160, false, [](const TField &field) { return childRules().value(field.AsInteger()); }},
                {"q292", colValue, 90, false, amount}};
    case pgPlan:
        break;
    }
    return {{"q276", colID, 50},
            {"q277", colRatePlan, 200},
            {"q1", colHotelID, 70},
            {"q57", colCurrencyID, 70},
            {"q278", colVatIncluded, 90, false, yes},
            {"q279", colMeals, 150, false, [](const TField &field) { return mealPlans().value(field.AsInteger()); }}};
}

void TFNomCenovi::LoadCaptions()
{
    LoadFormCaption(this);
    LoadToolbarCaptions(Toolbar());
    LoadContainerCaptions(Pages());
    LoadContainerCaptions(pnPriceDays);
    for (QGroupBox *box : {gbCenoviPlan, gbCenoviSeason, gbCenoviPrice, gbCenoviRestriction, gbCenoviChildren}) {
        LoadContainerCaptions(box);
        FitRows(box);
    }
}

QStringList TFNomCenovi::SeasonsOfChosenPlan()
{
    return SelectorValues(QStringLiteral("SELECT s.q284 FROM Sezoni s INNER JOIN CenoviPlanove p ON (p.q276 = s.q276) "
                                         "WHERE p.q277 = :sPlan ORDER BY s.q52"),
                          {{"sPlan", cbPricePlan->currentText().trimmed()}});
}

int TFNomCenovi::PlanKey(const QComboBox *box)
{
    return LookupInteger(FieldCaption(box), QStringLiteral("CenoviPlanove"), QStringLiteral("q277"), QStringLiteral("q276"),
                         box->currentText().trimmed());
}

QVariant TFNomCenovi::HotelKey(const QComboBox *box)
{
    const QString name = box->currentText().trimmed();
    return name.isEmpty() ? nullInt()
                          : QVariant(LookupInteger(FieldCaption(box), QStringLiteral("HotelBuild"), QStringLiteral("q10"),
                                                   QStringLiteral("q1"), name));
}

void TFNomCenovi::RowChosen(int row)
{
    const auto text = [&](const char *column) { return ListValue(row, QLatin1String(column)).toString().trimmed(); };
    const auto name = [&](const char *table, const char *key, const char *column, const char *value) {
        QString result;
        if (!text(value).isEmpty())
            LookupFieldValue(QLatin1String(table), QLatin1String(key), result, QLatin1String(column),
                             ListValue(row, QLatin1String(value)));
        return result;
    };
    const auto planName = [&] { return name("CenoviPlanove", "q276", "q277", "q276"); };
    const auto day = [&](const char *column) { return TField(QString(), ListValue(row, QLatin1String(column))).AsDate(); };
    switch (Page()) {
    case pgPlan:
        edPlanId->setText(text("q276"));
        edPlanName->setText(text("q277"));
        cbPlanHotel->setCurrentText(name("HotelBuild", "q1", "q10", "q1"));
        cbPlanCurrency->setCurrentText(name("Valuta", "q57", "q56", "q57"));
        chkPlanVatIncluded->setChecked(text("q278") != QStringLiteral("0"));
        cbPlanMeals->setCurrentText(mealPlans().value(text("q279").toInt()));
        cbPlanBreakfast->setCurrentText(name("Uslugi", "q42", "q33", "q280"));
        cbPlanLunch->setCurrentText(name("Uslugi", "q42", "q33", "q281"));
        cbPlanDinner->setCurrentText(name("Uslugi", "q42", "q33", "q282"));
        break;
    case pgSeason:
        edSeasonId->setText(text("q283"));
        cbSeasonPlan->setCurrentText(planName());
        edSeasonName->setText(text("q284"));
        dtSeasonFrom->setDate(day("q52"));
        dtSeasonTo->setDate(day("q53"));
        break;
    case pgPrice:
        edPriceId->setText(text("q285"));
        cbPricePlan->setCurrentText(planName());
        cbPriceSeason->setCurrentText(name("Sezoni", "q283", "q284", "q283"));
        cbPriceRoomType->setCurrentText(text("q275"));
        cbPriceAdults->setCurrentText(adultChoices().value(text("q286").toInt() == 0 ? 3 : text("q286").toInt() - 1));
        for (int i = 0; i < chkPriceDays.size(); ++i)
            chkPriceDays.at(i)->setChecked(text("q287").toInt() & RatePlans::WeekdayBit(i + 1));
        edPriceAmount->setText(TDecimal::FromVariant(ListValue(row, QStringLiteral("q70"))).ToFixed(2));
        break;
    case pgRestriction:
        cbRestrictionPlan->setCurrentText(planName());
        dtRestrictionFrom->setDate(day("q294"));
        dtRestrictionTo->setDate(day("q294"));
        edRestrictionMin->setText(text("q295") == QStringLiteral("0") ? QString() : text("q295"));
        edRestrictionMax->setText(text("q296") == QStringLiteral("0") ? QString() : text("q296"));
        chkRestrictionArrival->setChecked(text("q297") == QStringLiteral("1"));
        chkRestrictionDeparture->setChecked(text("q298") == QStringLiteral("1"));
        break;
    case pgChildren:
        edChildId->setText(text("q288"));
        cbChildHotel->setCurrentText(name("HotelBuild", "q1", "q10", "q1"));
        edChildFrom->setText(text("q289"));
        edChildTo->setText(text("q290"));
        cbChildRule->setCurrentText(childRules().value(text("q291").toInt()));
        edChildValue->setText(TDecimal::FromVariant(ListValue(row, QStringLiteral("q292"))).ToString());
        break;
    }
}

void TFNomCenovi::acFNomCenoviSaveExecute()
{
    // The marks of an earlier refusal go; this save marks what it finds wrong itself.
    for (QWidget *field : Pages()->currentWidget()->findChildren<QWidget *>())
        ResetControlMark(field);
    RunSave(Rights::rPrices, [this](TADOQuery &query) {
        switch (Page()) {
        case pgPlan:
            return SavePlan(query);
        case pgSeason:
            return SaveSeason(query);
        case pgPrice:
            return SavePrice(query);
        case pgRestriction:
            return SaveRestrictions(query);
        case pgChildren:
            return SaveChildBand(query);
        }
    });
}

void TFNomCenovi::SavePlan(TADOQuery &query)
{
    const QString name = edPlanName->text().trimmed().left(TextColumnLength);
    if (name.isEmpty()) {
        MarkControlFailed(edPlanName);
        throw EConvertError(msgFieldsToFix.arg(FieldCaption(edPlanName)));
    }
    const QVariant hotel = HotelKey(cbPlanHotel);
    const int currency = LookupInteger(FieldCaption(cbPlanCurrency), QStringLiteral("Valuta"), QStringLiteral("q56"),
                                       QStringLiteral("q57"), cbPlanCurrency->currentText());
    const int meals = std::max(0, int(mealPlans().indexOf(cbPlanMeals->currentText().trimmed())));
    QVariantList services;
    for (QComboBox *box : {cbPlanBreakfast, cbPlanLunch, cbPlanDinner})
        services.append(box->currentText().trimmed().isEmpty()
                            ? nullInt()
                            : QVariant(LookupInteger(FieldCaption(box), QStringLiteral("Uslugi"), QStringLiteral("q33"),
                                                     QStringLiteral("q42"), box->currentText())));
    // Names choose plans in the reservation window: one name, one plan.
    SaveRow(query, QStringLiteral("CenoviPlanove"), edPlanId, [&](TADOConnection &connection, const QVariant &key) {
        for (const QVariant &other : connection.Column(QStringLiteral("SELECT q276 FROM CenoviPlanove WHERE q277 = ?"), {name}))
            if (key.isNull() || other.toInt() != key.toInt()) {
                MarkControlFailed(edPlanName);
                throw EConvertError(msgRatePlanNameTaken.arg(name));
            }
        query.SetFieldValue(QStringLiteral("q277"), name);
        query.SetFieldValue(QStringLiteral("q1"), hotel);
        query.SetFieldValue(QStringLiteral("q57"), currency);
        query.SetFieldValue(QStringLiteral("q278"), chkPlanVatIncluded->isChecked() ? 1 : 0);
        query.SetFieldValue(QStringLiteral("q279"), meals);
        query.SetFieldValue(QStringLiteral("q280"), services.at(0));
        query.SetFieldValue(QStringLiteral("q281"), services.at(1));
        query.SetFieldValue(QStringLiteral("q282"), services.at(2));
    });
}

void TFNomCenovi::SaveSeason(TADOQuery &query)
{
    const int plan = PlanKey(cbSeasonPlan);
    const QString name = edSeasonName->text().trimmed().left(TextColumnLength);
    const QDate from = dtSeasonFrom->date(), to = dtSeasonTo->date();
    if (name.isEmpty() || to < from) {
        QWidget *failed = name.isEmpty() ? static_cast<QWidget *>(edSeasonName) : dtSeasonTo;
        MarkControlFailed(failed);
        throw EConvertError(msgFieldsToFix.arg(FieldCaption(failed)));
    }
    // The plan's seasons are read and written under the plan's lock: two workstations cannot
    // each add a season that overlaps the other's.
    SaveRow(query, QStringLiteral("Sezoni %1").arg(plan), edSeasonId, [&](TADOConnection &connection, const QVariant &row) {
        const int key = row.toInt();
        QList<RatePlans::TSeason> seasons = {{key, from, to}};
        {
            const std::unique_ptr<TADOQuery> others =
                OpenQuery(connection, QStringLiteral("SELECT q283, q52, q53 FROM Sezoni WHERE q276 = :iPlan"), {{"iPlan", plan}});
            for (others->First(); !others->Eof(); others->Next())
                if (others->FieldByName(QStringLiteral("q283")).AsInteger() != key)
                    seasons.append({others->FieldByName(QStringLiteral("q283")).AsInteger(),
                                    others->FieldByName(QStringLiteral("q52")).AsDate(),
                                    others->FieldByName(QStringLiteral("q53")).AsDate()});
        }
        if (const auto overlap = RatePlans::Overlap(seasons)) {
            MarkControlFailed(dtSeasonFrom);
            const RatePlans::TSeason &other = overlap->first.Id == key ? overlap->second : overlap->first;
            throw EConvertError(msgRateSeasonsOverlap.arg(other.First.toString(QStringLiteral("dd.MM.yyyy")),
                                                          other.Last.toString(QStringLiteral("dd.MM.yyyy"))));
        }
        query.SetFieldValue(QStringLiteral("q276"), plan);
        query.SetFieldValue(QStringLiteral("q284"), name);
        query.SetFieldValue(QStringLiteral("q52"), from.startOfDay());
        query.SetFieldValue(QStringLiteral("q53"), to.startOfDay());
    });
}

void TFNomCenovi::SavePrice(TADOQuery &query)
{
    const int plan = PlanKey(cbPricePlan);
    const QVariantList season = LookupFields(QStringLiteral("Sezoni"), {QStringLiteral("q283")},
                                             {{QStringLiteral("q276"), plan},
                                              {QStringLiteral("q284"), cbPriceSeason->currentText().trimmed()}});
    const QString type = cbPriceRoomType->currentText().trimmed().left(TextColumnLength);
    const int adults = int(adultChoices().indexOf(cbPriceAdults->currentText().trimmed()));
    int weekdays = 0;
    for (int i = 0; i < chkPriceDays.size(); ++i)
        weekdays |= chkPriceDays.at(i)->isChecked() ? RatePlans::WeekdayBit(i + 1) : 0;
    QWidget *failed = season.isEmpty() ? static_cast<QWidget *>(cbPriceSeason)
                      : type.isEmpty() ? static_cast<QWidget *>(cbPriceRoomType)
                      : adults < 0     ? static_cast<QWidget *>(cbPriceAdults)
                      : weekdays == 0  ? chkPriceDays.first()
                                       : nullptr;
    if (failed) {
        MarkControlFailed(failed);
        throw EConvertError(failed == chkPriceDays.first() ? msgWeekdaysNone : msgFieldsToFix.arg(FieldCaption(failed)));
    }
    const TDecimal amount = amountOf(edPriceAmount, FieldCaption(edPriceAmount));
    const int seasonKey = TField(QString(), season.first()).AsInteger(), stored = adults == 3 ? 0 : adults + 1;
    SaveRow(query, QStringLiteral("Ceni %1").arg(plan), edPriceId, [&](TADOConnection &connection, const QVariant &key) {
        // One price a night: no two rows of a season, type and adults share a weekday.
        const QVariantList clash = connection.Column(
            QStringLiteral("SELECT q287 FROM Ceni WHERE q276 = ? AND q283 = ? AND q275 = ? AND q286 = ? AND q285 <> ?"),
            {plan, seasonKey, type, stored, key.isNull() ? -1 : key.toInt()});
        for (const QVariant &mask : clash)
            if (mask.toInt() & weekdays) {
                MarkControlFailed(chkPriceDays.first());
                throw EConvertError(msgRatePriceTwice.arg(weekdaysText(mask.toInt() & weekdays)));
            }
        query.SetFieldValue(QStringLiteral("q276"), plan);
        query.SetFieldValue(QStringLiteral("q283"), seasonKey);
        query.SetFieldValue(QStringLiteral("q275"), type);
        query.SetFieldValue(QStringLiteral("q286"), stored);
        query.SetFieldValue(QStringLiteral("q287"), weekdays);
        query.SetFieldValue(QStringLiteral("q70"), amount.ToVariant());
    });
}

void TFNomCenovi::SaveRestrictions(TADOQuery &query)
{
    TADOConnection &connection = *query.Connection();
    const int plan = PlanKey(cbRestrictionPlan);
    const QDate from = dtRestrictionFrom->date(), to = dtRestrictionTo->date();
    const int least = countOf(edRestrictionMin, FieldCaption(edRestrictionMin), 1, 365);
    const int most = countOf(edRestrictionMax, FieldCaption(edRestrictionMax), 1, 365);
    constexpr int kLongestRange = 731;
    if (to < from || from.daysTo(to) > kLongestRange || (least > 0 && most > 0 && most < least)) {
        QWidget *failed = to < from || from.daysTo(to) > kLongestRange ? static_cast<QWidget *>(dtRestrictionTo)
                                                                       : edRestrictionMax;
        MarkControlFailed(failed);
        throw EConvertError(msgFieldsToFix.arg(FieldCaption(failed)));
    }
    const int arrival = chkRestrictionArrival->isChecked() ? 1 : 0, departure = chkRestrictionDeparture->isChecked() ? 1 : 0;
    // A day has one row: the days of the range are written over, each in the same transaction.
    TTransaction transaction(connection, true);
    connection.Engine().LockName(connection, QStringLiteral("Ogranichenia %1").arg(plan));
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        connection.Execute(QStringLiteral("DELETE FROM Ogranichenia WHERE q276 = ? AND q294 = ?"), {plan, day.startOfDay()});
        if (least > 0 || most > 0 || arrival || departure)
            connection.Execute(QStringLiteral("INSERT INTO Ogranichenia (q276, q294, q295, q296, q297, q298) VALUES (?, ?, ?, ?, ?, ?)"),
                               {plan, day.startOfDay(), least, most, arrival, departure});
    }
    LogSaved(connection, QStringLiteral("Ogranichenia"), plan);
    transaction.Commit();
    Q_UNUSED(query);
}

void TFNomCenovi::SaveChildBand(TADOQuery &query)
{
    const QVariant hotel = HotelKey(cbChildHotel);
    const int from = countOf(edChildFrom, FieldCaption(edChildFrom), 0, 17);
    const int to = countOf(edChildTo, FieldCaption(edChildTo), 0, 17);
    const int rule = int(childRules().indexOf(cbChildRule->currentText().trimmed()));
    if (edChildTo->text().trimmed().isEmpty() || to < from || rule < 0) {
        QWidget *failed = rule < 0 ? static_cast<QWidget *>(cbChildRule) : edChildTo;
        MarkControlFailed(failed);
        throw EConvertError(msgFieldsToFix.arg(FieldCaption(failed)));
    }
    const TDecimal value = rule == RatePlans::crFree ? TDecimal() : amountOf(edChildValue, FieldCaption(edChildValue));
    SaveRow(query, QStringLiteral("DetskiVazrasti"), edChildId, [&](TADOConnection &connection, const QVariant &key) {
        // An age falls in one band of the hotel.
        const std::unique_ptr<TADOQuery> bands = OpenQuery(
            connection, QStringLiteral("SELECT q288, q1, q289, q290 FROM DetskiVazrasti"), {});
        for (bands->First(); !bands->Eof(); bands->Next()) {
            const bool sameHotel = bands->FieldByName(QStringLiteral("q1")).IsNull()
                                       ? hotel.isNull()
                                       : !hotel.isNull() && bands->FieldByName(QStringLiteral("q1")).AsInteger() == hotel.toInt();
            const int bandFrom = bands->FieldByName(QStringLiteral("q289")).AsInteger(),
                      bandTo = bands->FieldByName(QStringLiteral("q290")).AsInteger();
            if (sameHotel && (key.isNull() || bands->FieldByName(QStringLiteral("q288")).AsInteger() != key.toInt()) &&
                from <= bandTo && bandFrom <= to) {
                MarkControlFailed(edChildFrom);
                throw EConvertError(msgChildBandsOverlap.arg(bandFrom).arg(bandTo));
            }
        }
        query.SetFieldValue(QStringLiteral("q1"), hotel);
        query.SetFieldValue(QStringLiteral("q289"), from);
        query.SetFieldValue(QStringLiteral("q290"), to);
        query.SetFieldValue(QStringLiteral("q291"), rule);
        query.SetFieldValue(QStringLiteral("q292"), value.ToVariant());
    });
}
