#pragma once
// The currency register: a hotel's currencies and which of them are main currencies.

#include "framework/URegister.h"

class QCheckBox;

class TFValuta : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFValuta(QWidget *parent = nullptr);

    void acSaveExecute();
    void acCloseExecute();

    QAction *acSave, *acClose;
    TTabSheet *tsData;
    QGroupBox *gbNomenclaturesCurrency;
    QLineEdit *EditId, *EditName;
    QComboBox *ComboBoxHotel;
    QCheckBox *CheckBoxMainValuta;
    TADOQuery *ADOQueryValuta;

protected:
    QString ListSql() const override { return QStringLiteral("SELECT * FROM Valuta "); }
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    TAdoDataSet *OwnListDataSet() override { return ADOQueryValuta; }
};
