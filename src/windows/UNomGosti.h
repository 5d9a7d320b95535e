#pragma once
// The register of guests: everyone the hotel accommodates with the data the registration of
// guests asks for, the newest first. A double click or Enter on a row brings it into the fields.

#include "framework/URegister.h"

#include "desk/UGuests.h"

class QCheckBox;

class TFNomGosti : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomGosti(QWidget *parent = nullptr);

    void acFNomGostiSaveExecute();
    void acFNomGostiNewExecute();

    QAction *acFNomGostiSave, *acFNomGostiNew, *acClose;
    TTabSheet *tsGostPerson, *tsGostDocument;
    QGroupBox *gbGostPerson, *gbGostContact, *gbGostDocument;
    QLineEdit *edGostId, *edGostName, *edGostLatinName, *edGostBorn, *edGostPersonalNumber, *edGostAddress, *edGostPhone,
        *edGostEmail, *edGostNote, *edGostDocumentNumber, *edGostDocumentSeries, *edGostValidTo;
    QComboBox *cbGostSex, *cbGostCitizenship, *cbGostDocumentKind, *cbGostIssuedBy;
    QCheckBox *chkGostKeep, *chkGostMessages;

protected:
    QString ListSql() const override;
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    void RowChosen(int row) override;

private:
    Guests::TGuest Typed(bool *datesRead);
    void Show(const Guests::TGuest &guest);
    QWidget *FieldOf(Guests::TField field) const;
};
