#pragma once
// The services register: the charges and room kinds with their unit price and tariff.

#include "framework/URegister.h"

class TFNomUslugi : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomUslugi(QWidget *parent = nullptr);

    void acFNomUslugiSaveExecute();
    void acFNomUslugiCloseExecute();

    QAction *acFNomUslugiSave, *acFNomUslugiClose;
    TTabSheet *tsatbNomenclatureServicesTypes, *tsatbNomenclatureServicesWorks;
    QGroupBox *gbNomenclatureServicesTypes, *gbNomenclatureServicesWorksData;
    QLineEdit *Edit1, *Edit2, *Edit3;
    QComboBox *ComboBox1;
    // The service's VAT rate (empty: the rate a service of its kind takes).
    QComboBox *ComboBoxVat;

protected:
    QString ListSql() const override { return QStringLiteral("SELECT * FROM Uslugi "); }
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
};
