#pragma once
// The buyers register: the companies (and people) invoices are made out to, each company found
// by its ЕИК. A double click on a row brings it into the fields to edit.

#include "framework/URegister.h"

class QCheckBox;

class TFNomKupuvachi : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomKupuvachi(QWidget *parent = nullptr);

    void acFNomKupuvachiSaveExecute();

    QAction *acFNomKupuvachiSave, *acClose;
    TTabSheet *tsKupuvachData;
    QGroupBox *gbKupuvach;
    QLineEdit *edKupuvachId, *edKupuvachName, *edKupuvachEik, *edKupuvachVat, *edKupuvachAddress,
        *edKupuvachAccountable, *edKupuvachPersonal;
    QCheckBox *chkKupuvachPerson;

protected:
    QString ListSql() const override { return QStringLiteral("SELECT * FROM Kupuvachi "); }
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    void RowChosen(int row) override;

private:
    void FitToKind();
};
