#pragma once
// The series of document numbers: each hotel's (or every hotel's) series with its first number
// and the next one it gives. A series that has issued documents keeps its numbers: only its name
// and hotel change.

#include "framework/URegister.h"

class TFNomSerii : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomSerii(QWidget *parent = nullptr);

    void acFNomSeriiSaveExecute();

    QAction *acFNomSeriiSave, *acClose;
    TTabSheet *tsSeriiData;
    QGroupBox *gbSeria;
    QLineEdit *edSeriaId, *edSeriaName, *edSeriaFirst;
    QComboBox *cbSeriaHotel;

protected:
    QString ListSql() const override { return QStringLiteral("SELECT * FROM FakturiSerii "); }
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    void RowChosen(int row) override;
};
