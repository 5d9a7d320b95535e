#pragma once
// The tourist-tax register: the rate per night for each guest category, for one hotel or for
// every hotel, with the days it is valid. Check-out charges each night at its rate.

#include "framework/URegister.h"

class QDateEdit;

class TFNomKurortniTaksi : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomKurortniTaksi(QWidget *parent = nullptr);

    void acSaveExecute();
    void acCloseExecute();

    QAction *acSave, *acClose;
    TTabSheet *tsData;
    QGroupBox *gbNomenclaturesTaxs;
    QLineEdit *EditId, *EditRate;
    QComboBox *ComboBoxHotel, *ComboBoxCategory;
    QDateEdit *DateFrom, *DateTo;

protected:
    QString ListSql() const override { return QStringLiteral("SELECT * FROM KurortniTaksi "); }
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;

private:
    static QStringList Categories();
};
