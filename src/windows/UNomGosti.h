#pragma once
// The register of guests: everyone the hotel accommodates with the data the registration of
// guests asks for, the newest first. A double click or Enter on a row brings it into the fields.

#include "framework/URegister.h"

#include "desk/UGuests.h"

class QCheckBox;
class QPushButton;

class TFNomGosti : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomGosti(QWidget *parent = nullptr);

    void acFNomGostiSaveExecute();
    void acFNomGostiNewExecute();
    // The guest of the register in the fields; a new guest with the name given.
    void ShowGuest(int guest);
    void StartNew(const QString &name);
    // The guest in the fields takes the one chosen in the list, after the operator's yes.
    void MergeChosen();
    void AnonymiseShown();
    // Everything kept of the guest in the fields, into the file; false when it could not be written.
    bool SaveGuestData(const QString &path);

    QAction *acFNomGostiSave, *acFNomGostiNew, *acClose;
    TTabSheet *tsGostPerson, *tsGostDocument, *tsGostPrivacy;
    QGroupBox *gbGostPerson, *gbGostContact, *gbGostDocument, *gbGostPrivacy;
    QPushButton *btnGostMerge, *btnGostAnonymise, *btnGostExport;
    QLineEdit *edGostAnonymiseReason;
    QLineEdit *edGostId, *edGostName, *edGostLatinName, *edGostBorn, *edGostPersonalNumber, *edGostAddress, *edGostPhone,
        *edGostEmail, *edGostNote, *edGostDocumentNumber, *edGostDocumentSeries, *edGostValidTo;
    QComboBox *cbGostSex, *cbGostCitizenship, *cbGostDocumentKind, *cbGostIssuedBy;
    QCheckBox *chkGostKeep, *chkGostMessages;

signals:
    // A guest was kept, with their key.
    void Saved(int guest);

protected:
    QString ListSql() const override;
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    void RowChosen(int row) override;

private:
    Guests::TGuest Typed(bool *datesRead);
    void Show(const Guests::TGuest &guest);
    QWidget *FieldOf(Guests::TField field) const;
    void ShowRights();
};
