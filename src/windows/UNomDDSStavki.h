#pragma once
// The VAT rates register: each rate's name, percent, the days it is valid, the tax group a
// fiscal device prints it under and where the law sets it. Services and rooms name one; a
// document works out its tax by the rate valid on its day.

#include "framework/URegister.h"

class QDateEdit;
class QCheckBox;

class TFNomDDSStavki : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomDDSStavki(QWidget *parent = nullptr);

    void acSaveExecute();

    QAction *acSave, *acClose;
    TTabSheet *tsData;
    QGroupBox *gbDDSStavki;
    QLineEdit *EditDDSId, *EditDDSName, *EditDDSPercent, *EditDDSGroup, *EditDDSBasis;
    QDateEdit *DateDDSFrom, *DateDDSTo;
    QCheckBox *chkDDSLimited;

protected:
    QString ListSql() const override { return QStringLiteral("SELECT * FROM DDSStavki "); }
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
};
