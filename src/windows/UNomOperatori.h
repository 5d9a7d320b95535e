#pragma once
// The operators register: creates the people who log in, each with every right.

#include "framework/URegister.h"

class QCheckBox;
class QMenu;
class QToolButton;
class TOpenDialog;

class TFNomOperatori : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomOperatori(QWidget *parent = nullptr);

    bool ValidateOperator();
    bool SaveOperator();
    // Reads the operators into the grid again; the database's message when it cannot.
    QString ShowOperatorList(bool fromProcedure);
    void acFNomOperatoriClearExecute();
    void acFNomOperatoriSaveExecute();
    void acFNomOperatoriCloseExecute();
    void SpeedButton2Click();
    // Deactivates the selected operator, or activates a deactivated one.
    void acFNomOperatoriDeleteExecute();
    // Loads the selected operator into the fields; "Съхрани" then changes that operator.
    void EditSelectedOperator();
    bool UpdateOperator();
    void SetSelectedPassword();
    int SelectedOperator() const;

    QAction *acFNomOperatoriClear, *acFNomOperatoriSave, *acFNomOperatoriDelete, *acFNomOperatoriClose;
    TTabSheet *tsNomOperatorsWorks, *tsNomOperatorsPersonals;
    QGroupBox *gbNomOperators, *gblNomOperatorsAutephication, *gbNomOperatorsPersonalData;
    QLineEdit *Edit6, *Edit1, *Edit7, *Edit8, *Edit9, *Edit2, *Edit3, *Edit4, *Edit5;
    QComboBox *ComboBox1;
    QCheckBox *CheckBox1;
    QToolButton *SpeedButton2;
    QLabel *Image1;
    QMenu *PopupMenu1Operatori;
    TOpenDialog *OpenPictureDialog1;
    TADOQuery *ADOQuery1;
    TADOStoredProc *ADOStoredProc1;


private:
    static constexpr int kIdColumn = 3;  // q80 among the grid's columns
    static void RequireFreeUserName(TADOConnection &connection, const QString &userName, int except);
    int m_editing = 0;

protected:
    QString ListSql() const override { return QStringLiteral("SELECT * FROM Operators "); }
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    TAdoDataSet *OwnListDataSet() override { return ADOQuery1; }
};
