#pragma once
// The tariffs register: a tariff's name, rounding and period of validity.

#include "framework/URegister.h"

class QCheckBox;
class QDateTimeEdit;

class TFNomTarifi : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomTarifi(QWidget *parent = nullptr);

    void acFNomTarifiSaveExecute();
    void acFNomTarifiCloseExecute();

    QAction *acFNomTarifiSave, *acFNomTarifiClose;
    TTabSheet *tsNomeclatureTarifePersonal, *tsNomeclatureTarifeWorks;
    QGroupBox *gbNomeclatureTarife, *gbNomeclatureTarifePeriod;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4;
    QCheckBox *cbNomeclatureTarifeIsAutomatic;
    QDateTimeEdit *DateTimePicker1, *DateTimePicker2;

protected:
    QString ListSql() const override { return QStringLiteral("SELECT * FROM Tarife "); }
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
};
