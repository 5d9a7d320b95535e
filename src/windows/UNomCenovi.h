#pragma once
// The rate plans register: a plan with its currency, VAT and meals; its seasons; its prices per
// room type, adults and weekdays; its restrictions per day; and each hotel's children's bands.
// Each page keeps one table: the grid shows the rows of the page in front, a double click brings
// a row into the page's fields, and the save writes what the page in front says.

#include "framework/URegister.h"

class QCheckBox;

class TFNomCenovi : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomCenovi(QWidget *parent = nullptr);

    void acFNomCenoviSaveExecute();

    QAction *acFNomCenoviSave, *acClose;
    TTabSheet *tsCenoviPlan, *tsCenoviSeason, *tsCenoviPrice, *tsCenoviRestriction, *tsCenoviChildren;
    QGroupBox *gbCenoviPlan, *gbCenoviSeason, *gbCenoviPrice, *gbCenoviRestriction, *gbCenoviChildren;
    // The plan.
    QLineEdit *edPlanId, *edPlanName;
    QComboBox *cbPlanHotel, *cbPlanCurrency, *cbPlanMeals, *cbPlanBreakfast, *cbPlanLunch, *cbPlanDinner;
    QCheckBox *chkPlanVatIncluded;
    // A season.
    QLineEdit *edSeasonId, *edSeasonName;
    QComboBox *cbSeasonPlan;
    QDateEdit *dtSeasonFrom, *dtSeasonTo;
    // A price.
    QLineEdit *edPriceId, *edPriceAmount;
    QComboBox *cbPricePlan, *cbPriceSeason, *cbPriceRoomType, *cbPriceAdults;
    QList<QCheckBox *> chkPriceDays;  // Monday to Sunday
    QWidget *pnPriceDays;
    // Restrictions of the days from one to another.
    QComboBox *cbRestrictionPlan;
    QDateEdit *dtRestrictionFrom, *dtRestrictionTo;
    QLineEdit *edRestrictionMin, *edRestrictionMax;
    QCheckBox *chkRestrictionArrival, *chkRestrictionDeparture;
    // A children's band.
    QLineEdit *edChildId, *edChildFrom, *edChildTo, *edChildValue;
    QComboBox *cbChildHotel, *cbChildRule;

protected:
    QString ListSql() const override;
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    void RowChosen(int row) override;

private:
    enum TPage { pgPlan, pgSeason, pgPrice, pgRestriction, pgChildren };
    TPage Page() const;
    QLineEdit *Edit(QGroupBox *box, const char *label, const char *caption, const char *name);
    QCheckBox *Check(QGroupBox *box, const char *name, const char *caption);
    QStringList SeasonsOfChosenPlan();
    int PlanKey(const QComboBox *box);
    QVariant HotelKey(const QComboBox *box);
    void SaveRow(TADOQuery &query, const QString &lock, const QLineEdit *id,
                 const std::function<void(TADOConnection &connection, const QVariant &key)> &fill);
    void SavePlan(TADOQuery &query);
    void SaveSeason(TADOQuery &query);
    void SavePrice(TADOQuery &query);
    void SaveRestrictions(TADOQuery &query);
    void SaveChildBand(TADOQuery &query);
};
