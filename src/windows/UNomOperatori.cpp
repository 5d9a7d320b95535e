#include "UNomOperatori.h"

#include "UParola.h"
#include "data/UDM.h"
#include "desk/UOperators.h"
#include "desk/URights.h"
#include "startup/UConstMessagesSecurity.h"
#include "errors/MyClass.h"
#include "errors/UExceptionLogs.h"
#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLayout>
#include <QTableView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>


TFNomOperatori::TFNomOperatori(QWidget *parent) : TRegisterWindow(QStringLiteral("FNomOperatori"), parent)
{
    acFNomOperatoriClear = AddCommand(QStringLiteral("tbFNomOperatoriNew"), QStringLiteral("acFNomOperatoriClear"),
                                      QStringLiteral("Нов"), [this] { acFNomOperatoriClearExecute(); });
    acFNomOperatoriSave = AddCommand(QStringLiteral("tbFNomOperatoriSave"), QStringLiteral("acFNomOperatoriSave"),
                                     QStringLiteral("Съхрани"), [this] { acFNomOperatoriSaveExecute(); });
    // Operators are never deleted (the log names them): "Премахни" deactivates, and again activates.
    acFNomOperatoriDelete = AddCommand(QStringLiteral("tbtbFNomOperatoriDelete"),
                                       QStringLiteral("acFNomOperatoriDelete"), QStringLiteral("Премахни"),
                                       [this] { acFNomOperatoriDeleteExecute(); });
    acFNomOperatoriClose = AddCommand(QStringLiteral("tbFNomOperatoriNewClose"), QStringLiteral("acFNomOperatoriClose"),
                                      QStringLiteral("Изход"), [this] { acFNomOperatoriCloseExecute(); });
    Pages()->setObjectName(QStringLiteral("pcNomOperators"));
    tsNomOperatorsWorks = AddSheet(QStringLiteral("tsNomOperatorsWorks"), QStringLiteral("Служебни данни"));
    tsNomOperatorsPersonals = AddSheet(QStringLiteral("tsNomOperatorsPersonals"), QStringLiteral("Персонални"));

    gbNomOperators = AddGroupBox(tsNomOperatorsWorks, QStringLiteral("gbNomOperators"), QStringLiteral("Data"));
    Edit6 = AddEdit(gbNomOperators, QStringLiteral("lInfoNomOperatorsID"), QStringLiteral("ИД:"), QStringLiteral("Edit6"));
    Edit1 = AddEdit(gbNomOperators, QStringLiteral("lInfoNomOperatorsOperatorName"), QStringLiteral("Име на оператор:"),
                    QStringLiteral("Edit1"));
    ComboBox1 = AddLookupBox(gbNomOperators, QStringLiteral("lInfoNomOperatorsHotelName"), QStringLiteral("Име на хотел:"),
                             QStringLiteral("ComboBox1"), QStringLiteral("HotelBuild"), QStringLiteral("q10"));
    CheckBox1 = new QCheckBox(QStringLiteral("Администраторска привилегия"), gbNomOperators);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    PlaceRow(gbNomOperators, CheckBox1);
    gblNomOperatorsAutephication =
        AddGroupBox(tsNomOperatorsWorks, QStringLiteral("gblNomOperatorsAutephication"), QStringLiteral("Автентификация"));
    Edit7 = AddEdit(gblNomOperatorsAutephication, QStringLiteral("lInfoUserName"), QStringLiteral("Потребител"),
                    QStringLiteral("Edit7"));
    Edit8 = AddEdit(gblNomOperatorsAutephication, QStringLiteral("lInfoPassword"), QStringLiteral("Парола"),
                    QStringLiteral("Edit8"));
    Edit9 = AddEdit(gblNomOperatorsAutephication, QStringLiteral("lInfoRepeatPassword"),
                    QStringLiteral("Парола [повторно въвеждане]"), QStringLiteral("Edit9"));
    Edit8->setEchoMode(QLineEdit::Password);
    Edit9->setEchoMode(QLineEdit::Password);

    gbNomOperatorsPersonalData =
        AddGroupBox(tsNomOperatorsPersonals, QStringLiteral("gbNomOperatorsPersonalData"), QStringLiteral("Personal data"));
    Edit2 = AddEdit(gbNomOperatorsPersonalData, QStringLiteral("lInfoNomOperatorsAddress"), QStringLiteral("Адрес:"),
                    QStringLiteral("Edit2"));
    Edit3 = AddEdit(gbNomOperatorsPersonalData, QStringLiteral("lInfoNomOperatorsCity"), QStringLiteral("Град:"),
                    QStringLiteral("Edit3"));
    Edit4 = AddEdit(gbNomOperatorsPersonalData, QStringLiteral("lInfoNomOperatorsPhone"), QStringLiteral("Телефон:"),
                    QStringLiteral("Edit4"));
    Edit5 = AddEdit(gbNomOperatorsPersonalData, QStringLiteral("lInfoNomOperatorsPhoto"), QStringLiteral("Снимка:"),
                    QStringLiteral("Edit5"));
    SpeedButton2 = new QToolButton(Edit5);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setText(QStringLiteral("..."));
    SpeedButton2->setGeometry(Edit5->width() - 23, 0, 23, Edit5->height());
    connect(SpeedButton2, &QToolButton::clicked, this, &TFNomOperatori::SpeedButton2Click);
    Image1 = new QLabel(tsNomOperatorsPersonals);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(96, 96);
    Image1->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    Image1->setAlignment(Qt::AlignCenter);
    tsNomOperatorsPersonals->layout()->addWidget(Image1);

    PopupMenu1Operatori = new QMenu(this);
    PopupMenu1Operatori->setObjectName(QStringLiteral("PopupMenu1Operatori"));
    for (const auto &[name, caption] :
         {std::pair{"N1", "Добавяне на ниво достъп"}, {"N2", "Изтриване на оператор"}, {"N3", "Редактиране на оператор"},
          {"N4", "Парола на оператор"}}) {
        QAction *item = PopupMenu1Operatori->addAction(QString::fromUtf8(caption));
        item->setObjectName(QLatin1String(name));
    }
    PopupMenu1Operatori->actions().at(0)->setEnabled(false);  // rights have their own window, "Сигурност"
    connect(PopupMenu1Operatori->actions().at(1), &QAction::triggered, this, &TFNomOperatori::acFNomOperatoriDeleteExecute);
    connect(PopupMenu1Operatori->actions().at(2), &QAction::triggered, this, &TFNomOperatori::EditSelectedOperator);
    connect(PopupMenu1Operatori->actions().at(3), &QAction::triggered, this, &TFNomOperatori::SetSelectedPassword);
    Grid()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Grid(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1Operatori->popup(Grid()->viewport()->mapToGlobal(at)); });
    OpenPictureDialog1 = new TOpenDialog(this);
    OpenPictureDialog1->setObjectName(QStringLiteral("OpenPictureDialog1"));
    OpenPictureDialog1->Filter = QStringLiteral("Снимки|*.png *.jpg *.jpeg *.bmp");
    ADOQuery1 = new TADOQuery(nullptr, this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOStoredProc1 = new TADOStoredProc(nullptr, this);
    ADOStoredProc1->setObjectName(QStringLiteral("ADOStoredProc1"));
    Pages()->setCurrentWidget(tsNomOperatorsWorks);
}

QList<TGridColumn> TFNomOperatori::GridColumns() const
{
    return {{"q1", colHotelID, 30},       {"q21", colOperatorName, 200}, {"q23", colAddress, 200},
            {"q80", colOperatorID, 200},  {"q24", colPhone, 50},         {"q25", colAvatar, 70},
            {"q26", colPrivileges, 80},   {"q74", colCity, 160},         {"q75", colUserName, 160},
            {"q76", colPassword, 160, true}, {"q77", colSecurity, 100}};
}

void TFNomOperatori::LoadCaptions()
{
    LoadFormCaption(this);
    LoadContainerCaptions(gbNomOperators);
    LoadContainerCaptions(gblNomOperatorsAutephication);
    LoadContainerCaptions(gbNomOperatorsPersonalData);
    LoadToolbarCaptions(Toolbar());
    LoadTabSheetCaption(tsNomOperatorsWorks);
    LoadTabSheetCaption(tsNomOperatorsPersonals);
    for (QAction *item : PopupMenu1Operatori->actions())
        if (const QString caption = SettingsCaption(item->objectName()); !caption.isEmpty())
            item->setText(caption);
}

bool TFNomOperatori::ValidateOperator()
{
    Pages()->setCurrentWidget(tsNomOperatorsWorks);
    const MClass routines;
    QList<QWidget *> required = {Edit1, ComboBox1, Edit7};
    if (m_editing <= 0)
        required += {Edit8, Edit9};  // an edit leaves the password to "Парола на оператор"
    for (QWidget *field : required) {
        const QString text = field == ComboBox1 ? ComboBox1->currentText() : static_cast<QLineEdit *>(field)->text();
        if (routines.IsValueMissing(text, field)) {
            TSystemWinOS::ShowMessage(QStringLiteral("Моля попълнете коректно служебните данни."));
            return false;
        }
    }
    if (m_editing <= 0 && Edit8->text() != Edit9->text()) {
        TSystemWinOS::ShowMessage(QStringLiteral("Проверете полетата за парола. Необходимо е да въведете една и съща "
                                                 "парола в двете полета"));
        Edit8->clear();
        Edit9->clear();
        Edit8->setFocus();
        return false;
    }
    return true;
}

bool TFNomOperatori::SaveOperator()
{
    if (m_editing > 0)
        return UpdateOperator();
    TADOConnection &connection = LocalConnection();
    QString failure;
    bool saved = false;
    try {
        // Never more rights than the operator who creates, never a password in clear.
        const QString rights = Operators::RightsForNewOperator();
        const QString password = Operators::StoredFormOfNewPassword(Edit7->text(), Edit8->text(), Edit9->text());
        const int hotel = LookupInteger(QStringLiteral("Име на хотел"), QStringLiteral("HotelBuild"),
                                        QStringLiteral("q10"), QStringLiteral("q1"), ComboBox1->currentText());
        ADOStoredProc1->Close();
        ADOStoredProc1->SetConnection(&connection);
        ADOStoredProc1->ProcedureName = QStringLiteral("proc_SaveNewOperator");
        ADOStoredProc1->RefreshParameters();
        const QList<QPair<const char *, QVariant>> values = {
            {"@IDHotel_q1", hotel},
            {"@operatorName_q21", Edit1->text()},
            {"@OperatorAddres_q23", Edit2->text()},
            {"@OperatorGSM_q24", Edit4->text()},
            {"@OperatorImage_q25", QVariant()},
            {"@MultiSecutity_q26", QVariant()},
            {"@OperatorCity_q74", Edit3->text()},
            {"@OperatorUserName_q75", Edit7->text()},
            {"@OperatorPassword_q76", password},
            {"@OperatorDefaultDostap_q77", rights}};
        for (const auto &[name, value] : values)
            ADOStoredProc1->ParamByName(QLatin1String(name)).Value = value;
        TTransaction transaction(connection, true);
        RequireFreeUserName(connection, Edit7->text(), 0);
        ADOStoredProc1->ExecProc();
        LogSaved(connection, QStringLiteral("Operators"), QVariant());
        transaction.Commit();
        saved = true;
    } catch (const EOperatorRefused &refusal) {
        connection.RollbackIfOpen();
        Edit8->clear();
        Edit9->clear();
        MarkControlFailed(Edit8);
        TSystemWinOS::ShowMessageBox(refusal.Message(), msgInformationTitle, 48);
        return false;
    } catch (const ERightRefused &refusal) {
        connection.RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(refusal.Message(), msgInformationTitle, 48);
        return false;
    } catch (const Exception &error) {
        failure = msgOperatorNotSaved + error.Message();
    }
    connection.RollbackIfOpen();
    // Saved or not, the grid shows the operators the table now holds.
    const QString listFailure = ShowOperatorList(saved);
    if (!failure.isEmpty())
        TExceptionLogs::Show(failure);
    else if (!listFailure.isEmpty())
        TExceptionLogs::Show(msgOperatorListNotRead + listFailure);
    return saved;
}

QString TFNomOperatori::ShowOperatorList(bool fromProcedure)
{
    TADOConnection &connection = LocalConnection();
    if (!fromProcedure && GridModel()->DataSet() != ADOStoredProc1) {
        InitializeWindow();  // the list query of the layout; it reports its own failure
        return {};
    }
    try {
        // From the first save on, the grid shows the operators as the list procedure gives them.
        ADOStoredProc1->SetConnection(&connection);
        ADOStoredProc1->ProcedureName = QStringLiteral("proc_OpenOperator");
        ADOStoredProc1->RefreshParameters();
        TTransaction transaction(connection);
        ADOStoredProc1->Open();
        transaction.Commit();
        GridModel()->SetDataSet(ADOStoredProc1);
        return {};
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        // The grid still shows the table, through the window's own list query.
        InitializeWindow();
        return error.Message();
    }
}

void TFNomOperatori::acFNomOperatoriSaveExecute()
{
    if (ValidateOperator())
        SaveOperator();
}

void TFNomOperatori::acFNomOperatoriClearExecute()
{
    for (QLineEdit *field : {Edit1, Edit2, Edit3, Edit4, Edit5})
        field->clear();
    m_editing = 0;
    Edit6->clear();
}

int TFNomOperatori::SelectedOperator() const
{
    const QModelIndex current = Grid()->currentIndex();
    if (!current.isValid())
        return 0;
    return GridModel()->data(GridModel()->index(current.row(), kIdColumn), Qt::DisplayRole).toInt();
}

void TFNomOperatori::RequireFreeUserName(TADOConnection &connection, const QString &userName, int except)
{
    auto same = OpenQuery(connection, QStringLiteral("SELECT q80 FROM Operators WHERE q75 = :sName AND q80 <> :iExcept"),
                          {{"sName", userName}, {"iExcept", except}});
    if (!same->Eof())
        throw EOperatorRefused(msgUserNameTaken.arg(userName));
}

void TFNomOperatori::EditSelectedOperator()
{
    const int id = SelectedOperator();
    if (id <= 0)
        return;
    TADOConnection &connection = LocalConnection();
    try {
        TTransaction transaction(connection);
        auto row = OpenQuery(connection,
                             QStringLiteral("SELECT o.q80, o.q21, o.q23, o.q24, o.q74, o.q75, h.q10 FROM Operators o "
                                            "LEFT JOIN HotelBuild h ON (h.q1 = o.q1) WHERE o.q80 = :iOperator"),
                             {{"iOperator", id}});
        transaction.Commit();
        if (row->Eof())
            return;
        m_editing = id;
        Edit6->setText(QString::number(id));
        Edit1->setText(row->FieldByName(QStringLiteral("q21")).AsString());
        ComboBox1->setEditText(row->FieldByName(QStringLiteral("q10")).AsString());
        Edit7->setText(row->FieldByName(QStringLiteral("q75")).AsString());
        Edit2->setText(row->FieldByName(QStringLiteral("q23")).AsString());
        Edit3->setText(row->FieldByName(QStringLiteral("q74")).AsString());
        Edit4->setText(row->FieldByName(QStringLiteral("q24")).AsString());
        Edit8->clear();
        Edit9->clear();
        Pages()->setCurrentWidget(tsNomOperatorsWorks);
        Edit1->setFocus();
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        ReportError(error);
    }
}

bool TFNomOperatori::UpdateOperator()
{
    TADOConnection &connection = LocalConnection();
    bool saved = false;
    try {
        Rights::Require(Rights::rOperators);
        const int hotel = LookupInteger(QStringLiteral("Име на хотел"), QStringLiteral("HotelBuild"),
                                        QStringLiteral("q10"), QStringLiteral("q1"), ComboBox1->currentText());
        TTransaction transaction(connection, true);
        RequireFreeUserName(connection, Edit7->text(), m_editing);
        connection.Execute(QStringLiteral("UPDATE Operators SET q1 = ?, q21 = ?, q23 = ?, q24 = ?, q74 = ?, q75 = ? "
                                          "WHERE q80 = ?"),
                           {hotel, Edit1->text(), Edit2->text(), Edit4->text(), Edit3->text(), Edit7->text(), m_editing});
        LogSaved(connection, QStringLiteral("Operators"), m_editing);
        transaction.Commit();
        saved = true;
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(msgOperatorNotSaved + error.Message(), msgInformationTitle, 48);
    }
    InitializeWindow();
    if (saved)
        TSystemWinOS::ShowMessageBox(msgOperatorSaved, msgInformationTitle, 64);
    return saved;
}

void TFNomOperatori::acFNomOperatoriDeleteExecute()
{
    const int id = SelectedOperator();
    if (id <= 0)
        return;
    try {
        const std::optional<Operators::TOperator> row = Operators::Read(id);
        if (!row)
            return;
        Operators::SetActive(id, !row->Active);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(error.Message(), msgInformationTitle, 48);
    }
    InitializeWindow();
}

void TFNomOperatori::SetSelectedPassword()
{
    const int id = SelectedOperator();
    if (id <= 0)
        return;
    if (!Rights::Has(Rights::rOperators)) {
        TSystemWinOS::ShowMessageBox(Rights::RefusalText(Rights::rOperators), msgInformationTitle, 48);
        return;
    }
    TFParola dialog(TFParola::pmOther, id);
    if (dialog.InitializeWindow())
        dialog.ShowModal();
}

void TFNomOperatori::acFNomOperatoriCloseExecute() { close(); }

void TFNomOperatori::SpeedButton2Click()
{
    if (!OpenPictureDialog1->Execute())
        return;
    Edit5->setText(OpenPictureDialog1->FileName);
    QPixmap picture;
    if (!picture.load(OpenPictureDialog1->FileName))
        throw EInOutError(QStringLiteral("The picture %1 cannot be loaded.").arg(OpenPictureDialog1->FileName));
    Image1->setPixmap(picture.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}
