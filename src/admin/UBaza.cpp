#include "UBaza.h"

#include "desk/URights.h"

#include "UDatabaseSetup.h"
#include "controls/KalvMenu.h"
#include "data/UADOComunicationControl.h"
#include "data/UDLLSafeCall.h"
#include "data/UDbEngine.h"
#include "data/UDM.h"
#include "data/URegistry.h"
#include "errors/MyClass.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesDesk.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr int kRowHeight = 27;
constexpr int kFieldLeft = 190;
constexpr int kFieldWidth = 270;

template <class T> T *named(T *control, const QString &name)
{
    control->setObjectName(name);
    return control;
}

QLabel *rowLabel(QWidget *box, const QString &name, const QString &caption, int row)
{
    auto *label = named(new QLabel(caption, box), name);
    label->setGeometry(12, 22 + row * kRowHeight, kFieldLeft - 16, 21);
    return label;
}

template <class T> T *rowField(QWidget *box, const QString &name, int row)
{
    auto *field = named(new T(box), name);
    field->setGeometry(kFieldLeft, 22 + row * kRowHeight, kFieldWidth, 21);
    return field;
}

} // namespace

TFBaza::TFBaza(QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(QStringLiteral("FBaza"));
    setWindowTitle(QStringLiteral("Конфигуриране на база данни."));
    setAttribute(Qt::WA_DeleteOnClose);
    setCentralWidget(new QWidget(this));
    resize(754, 505);
    BuildToolbar();
    BuildConnectionBox();
    BuildProcedureBox();
    OpenDialog1 = named(new TOpenDialog(this), QStringLiteral("OpenDialog1"));
    fiFBaza = new TFormInfo(this, QStringLiteral("FBaza"));
}

void TFBaza::BuildToolbar()
{
    smcFBaza = named(new TKalvMenuControl(this), QStringLiteral("smcFBaza"));
    auto add = [this](const QString &name, const QString &caption, void (TFBaza::*handler)()) {
        QAction *action = named(new QAction(caption, this), name);
        connect(action, &QAction::triggered, this, handler);
        return smcFBaza->AddCommand(action);
    };
    acFBazaConnection = add(QStringLiteral("acFBazaConnection"), QStringLiteral("Комуникация"),
                            &TFBaza::acFBazaConnectionExecute);
    acFBazaNewDB = add(QStringLiteral("acFBazaNewDB"), QStringLiteral("Нова БД"), &TFBaza::acFBazaNewDBExecute);
    acFBazaSave = add(QStringLiteral("acFBazaSave"), QStringLiteral("Съхрани"), &TFBaza::acFBazaSaveExecute);
    acFBazaAttachDB = add(QStringLiteral("acFBazaAttachDB"), QStringLiteral("Добави БД"),
                          &TFBaza::acFBazaAttachDBExecute);
    acFBazaInsertNewSP = add(QStringLiteral("acFBazaInsertNewSP"), QStringLiteral("Добави процедура"),
                             &TFBaza::acFBazaInsertNewSPExecute);
    acFBazaClose = add(QStringLiteral("acFBazaClose"), QStringLiteral("Изход"), &TFBaza::acFBazaCloseExecute);
}

void TFBaza::BuildConnectionBox()
{
    gbDBConnection = named(new QGroupBox(QStringLiteral("Комуникация"), centralWidget()),
                           QStringLiteral("gbDBConnection"));
    gbDBConnection->setGeometry(8, 8, 474, 22 + 15 * kRowHeight + 8);
    QGroupBox *box = gbDBConnection;
    rowLabel(box, QStringLiteral("lInfoAdvancedServerSetings"), QStringLiteral("Напредничева настройка"), 0);
    stNext = named(new TStaticText(QStringLiteral(">>"), box), QStringLiteral("stNext"));
    stNext->setGeometry(kFieldLeft, 22, 30, 21);
    stNext_2 = named(new TStaticText(QStringLiteral(">>"), box), QStringLiteral("stNext_2"));
    stNext_2->setGeometry(kFieldLeft + 36, 22, 30, 21);
    connect(stNext, &TStaticText::clicked, this, &TFBaza::stNextClick);
    connect(stNext_2, &TStaticText::clicked, this, &TFBaza::stNext_2Click);

    int row = 0;
    // One labelled field per row, in the order of the window.
    auto field = [&](const char *label, const char *caption, auto *control, const char *name) {
        ++row;
        rowLabel(box, QLatin1String(label), QString::fromUtf8(caption), row);
        control->setParent(box);
        control->setObjectName(QLatin1String(name));
        control->setGeometry(kFieldLeft, 22 + row * kRowHeight, kFieldWidth, 21);
        return control;
    };
    edServer = field("lInfoServer", "Име на сървъра[IP адрес]", new QLineEdit, "edServer");
    edServerInctance = field("lInfoServerInctance", "Инстанция", new QLineEdit, "edServerInctance");
    edServerNickName = field("lInfoServerNickName", "Псевдоним", new QLineEdit, "edServerNickName");
    cbAuthentification = field("lInfoServerAuthentification", "Автентификация", new QComboBox, "cbAuthentification");
    cbAuthentification->setEditable(true);
    EdProvider = field("lInfoProvider", "Provider", new QLineEdit, "EdProvider");
    // The providers the program serves, offered from a drop-down inside the field.
    auto *providers = named(new QToolButton(EdProvider), QStringLiteral("btnProvider"));
    providers->setText(QStringLiteral("▾"));
    providers->setPopupMode(QToolButton::InstantPopup);
    providers->setCursor(Qt::ArrowCursor);
    providers->setGeometry(kFieldWidth - 22, 0, 22, 21);
    auto *menu = new QMenu(providers);
    for (const QString &provider : {QStringLiteral("SQLite"), QStringLiteral("PostgreSQL"), QStringLiteral("SQLOLEDB.1")})
        menu->addAction(provider, this, [this, provider] { EdProvider->setText(provider); });
    providers->setMenu(menu);
    EditTimeout = field("lInfoTimeout", "Timeout        ", new QLineEdit, "EditTimeout");
    username = field("lInfoUserName", "Потребител:", new QLineEdit, "username");
    edPassword = field("lInfoPassword", "Парола", new QLineEdit, "edPassword");
    edPassword->setEchoMode(QLineEdit::Password);
    Edit6 = field("lInfoPort", "Порт", new QLineEdit, "Edit6");
    ComboBox2 = field("lInfoNetProtocol", "Интернет протокол:", new QComboBox, "ComboBox2");
    ComboBox2->setEditable(true);
    ComboBox2->addItems({QStringLiteral("TCP/IP"), QStringLiteral("Sheren Memory")});
    ComboBox2->setCurrentText(QStringLiteral("TCP/IP"));
    Edit7 = field("lInfoDBName", "БАЗА", new QLineEdit, "Edit7");
    cbDBConfigIsDynamicPort = rowField<QCheckBox>(box, QStringLiteral("cbDBConfigIsDynamicPort"), 12);
    cbDBConfigIsDynamicPort->setText(QStringLiteral("Динамичен порт"));
    // How a shared server's connection is encrypted, and the CA file that vouches for the server.
    rowLabel(box, QStringLiteral("lInfoSslMode"), QStringLiteral("SSL режим"), 13);
    cbSslMode = rowField<QComboBox>(box, QStringLiteral("cbSslMode"), 13);
    cbSslMode->addItems({QString(), QStringLiteral("disable"), QStringLiteral("prefer"), QStringLiteral("require"),
                         QStringLiteral("verify-full")});
    rowLabel(box, QStringLiteral("lInfoSslRootCert"), QStringLiteral("CA файл"), 14);
    edSslRootCert = rowField<QLineEdit>(box, QStringLiteral("edSslRootCert"), 14);
}

void TFBaza::BuildProcedureBox()
{
    gbDBSP = named(new QGroupBox(QStringLiteral("Съхранени процедури"), centralWidget()), QStringLiteral("gbDBSP"));
    gbDBSP->setGeometry(490, 8, 256, gbDBConnection->height());
    Edit8 = named(new QLineEdit(gbDBSP), QStringLiteral("Edit8"));
    Edit8->setGeometry(10, 22, 236, 23);
    lInfoSP = named(new QLabel(QStringLiteral("[.......]"), gbDBSP), QStringLiteral("lInfoSP"));
    lInfoSP->setGeometry(10, 52, 236, gbDBSP->height() - 60);
    lInfoSP->setMaximumWidth(300);
    lInfoSP->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lInfoSP->setWordWrap(true);
}

void TFBaza::CreateScriptButton()
{
    SPButton = named(new QPushButton(QStringLiteral("..."), Edit8), QStringLiteral("btnSPFile"));
    SPButton->setFlat(false);
    SPButton->setFont(QFont(SPButton->font().family(), 8));
    SPButton->setGeometry(Edit8->width() - 23, 0, 23, Edit8->height() - 3);
    SPButton->setCursor(Qt::ArrowCursor);
    SPButton->show();
    Edit8->installEventFilter(this);
    connect(SPButton, &QPushButton::clicked, this, &TFBaza::GetSPFromTextFile);
    connect(Edit8, &QLineEdit::textChanged, SPButton, [this] { SPButton->update(); });
}

bool TFBaza::eventFilter(QObject *watched, QEvent *event)
{
    // The button stays at the right edge of the field.
    if (watched == Edit8 && event->type() == QEvent::Resize && SPButton)
        SPButton->setGeometry(Edit8->width() - 23, 0, 23, Edit8->height() - 3);
    return TMainLibraryClass::eventFilter(watched, event);
}

bool TFBaza::LoadFields()
{
    TRegistry registry;
    if (!registry.OpenKey(SqlSettings::Key, true))
        return false;
    edServer->setText(registry.ReadString(SqlSettings::ComputerName));
    edServerInctance->setText(registry.ReadString(SqlSettings::Instance));
    edServerNickName->setText(registry.ReadString(SqlSettings::Aliase));
    cbAuthentification->setCurrentText(registry.ReadString(SqlSettings::Authentication));
    username->setText(registry.ReadString(SqlSettings::User));
    TDLLSafeCall library;
    bool passwordReadable = true;
    if (library.LoadFunction(1, QStringLiteral("HashingKey"))) {
        const QString stored = registry.ReadString(SqlSettings::Password);
        m_storedPassword = library.DecryptText(stored);
        edPassword->clear();
        edPassword->setPlaceholderText(m_storedPassword.isEmpty() ? QString() : QStringLiteral("••••••••"));
        passwordReadable = library.IsReadable(stored);
        if (!library.Unload())
            RequestTerminate();
    } else {
        RequestTerminate();
    }
    Edit6->setText(registry.ReadString(SqlSettings::Port));
    Edit7->setText(registry.ReadString(SqlSettings::DataBase));
    ComboBox2->setCurrentText(registry.ReadString(SqlSettings::Protocol));
    EdProvider->setText(registry.ReadString(SqlSettings::Provider));
    cbSslMode->setCurrentText(registry.ReadString(SqlSettings::SslMode));
    edSslRootCert->setText(registry.ReadString(SqlSettings::SslRootCert));
    cbDBConfigIsDynamicPort->setChecked(registry.ValueExists(SqlSettings::IsDynamicPort) &&
                                        registry.ReadInteger(SqlSettings::IsDynamicPort) != 0);
    registry.CloseKey();
    if (!passwordReadable)
        TSystemWinOS::ShowMessageBox(msgStoredPasswordUnreadable, msgWarningTitle, 48);
    return true;
}

bool TFBaza::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadContainerCaptions(gbDBConnection);
    LoadContainerCaptions(gbDBSP);
    LoadToolbarCaptions(smcFBaza);
    try {
        if (!LoadFields())
            return false;
        CreateScriptButton();
        return true;
    } catch (const Exception &error) {
        TExceptionLogs::Show(error.Message());
        return true;
    }
}

void TFBaza::acFBazaConnectionExecute()
{
    try {
        TADOConnection &connection = LocalConnection();
        connection.Close();
        TConnectionParts parts;
        parts.Provider = EdProvider->text();
        parts.Password = PasswordToUse();
        parts.User = username->text();
        parts.Database = Edit7->text();
        parts.Server = edServer->text();
        parts.Instance = edServerInctance->text();
        parts.SslMode = cbSslMode->currentText();
        parts.SslRootCert = edSslRootCert->text();
        connection.SetConnectionString(parts.Join());
        connection.SetDefaultDatabase(Edit7->text());
        connection.LoginPrompt = false;
        connection.Open();
        m_connected = connection.Connected();
        if (connection.Connected())
            TSystemWinOS::ShowMessageBox(msgConnectionEstablished, msgHotelInformationTitle, 64);
        else
            TSystemWinOS::ShowMessageBox(msgConnectionFailed, msgWarningTitle, 48);
    } catch (const Exception &error) {
        TExceptionLogs::Show(error.Message());
    }
}

bool TFBaza::Allowed(int right) const
{
    // Before any login the window stands alone to make the database usable at all.
    if (m_setupMode || Rights::Has(right))
        return true;
    TSystemWinOS::ShowMessageBox(Rights::RefusalText(right), msgInformationTitle, 48);
    return false;
}

void TFBaza::acFBazaSaveExecute()
{
    if (!Allowed(Rights::rServerSettings))
        return;
    try {
        DatabaseSetup::TServerSettings settings;
        settings.Server = edServer->text();
        settings.Instance = edServerInctance->text();
        settings.Alias = edServerNickName->text();
        settings.Authentication = cbAuthentification->currentText();
        settings.User = username->text();
        settings.Password = PasswordToUse();
        settings.Port = Edit6->text();
        settings.Protocol = ComboBox2->currentText();
        settings.DataBase = Edit7->text();
        settings.Provider = EdProvider->text();
        settings.DynamicPort = cbDBConfigIsDynamicPort->isChecked();
        settings.SslMode = cbSslMode->currentText();
        settings.SslRootCert = edSslRootCert->text();
        if (!DatabaseSetup::WriteServerSettings(settings))
            RequestTerminate();
        TSystemWinOS::ShowMessageBox(msgSuccessfulOperation, msgInformationTitle, 64);
    } catch (const Exception &error) {
        TExceptionLogs::Show(error.Message());
    }
}

void TFBaza::stNextClick()
{
    const MClass routines;
    QString folder;
    routines.GetSystemFolder(folder);
    routines.RunProgram(folder + QStringLiteral("\\cliconfg.exe"), 1);
}

void TFBaza::stNext_2Click()
{
    try {
        TADOComunicationControl control;
        const QString text = control.EditConnectionString();
        if (text.trimmed().isEmpty())
            return;
        if (!control.GetInstanceName(text).isEmpty()) {
            edServer->setText(control.GetServerName(text));
            edServerInctance->setText(control.GetInstanceName(text));
        } else {
            edServer->setText(control.GetServerAndInstance(text));
            edServerInctance->clear();
        }
        edServerNickName->clear();
        Edit7->setText(control.GetDatabaseName(text));
        EdProvider->setText(TConnectionItems::Parse(text).Value(QStringLiteral("Provider")));
        EditTimeout->setText(QStringLiteral("10"));
    } catch (const Exception &error) {
        TExceptionLogs::Show(error.Message());
    }
}

void TFBaza::acFBazaNewDBExecute()
{
    if (!Allowed(Rights::rNewDatabase))
        return;
    const DatabaseSetup::TResult result = DatabaseSetup::CreateDatabase(Edit7->text());
    if (result.Outcome == DatabaseSetup::TOutcome::Failed)
        TExceptionLogs::Show(result.Message);
    else if (result.Outcome == DatabaseSetup::TOutcome::Done)
        TSystemWinOS::ShowMessageBox(msgDatabaseCreated, msgInformationTitle, 64);
}

void TFBaza::acFBazaAttachDBExecute()
{
    if (!Allowed(Rights::rAttachDatabase))
        return;
    try {
        if (!TDbEngine::ForProvider(EdProvider->text())->CanAttachFiles()) {
            TSystemWinOS::ShowMessageBox(msgAttachNotSupported, msgInformationTitle, 64);
            return;
        }
    } catch (const Exception &) {
        // A provider no engine serves: the attach reports the server's own error below.
    }
    OpenDialog1->Filter = QStringLiteral("Бази данни: |*.mdf|Линкове към бази: |*.ldf");
    QList<QPair<QString, QString>> entries;
    while (TSystemWinOS::ShowMessageBox(msgAddNewBase, msgUserChoiceTitle, 36) == TSystemWinOS::IDYES) {
        // A cancelled dialog adds nothing and ends the collecting; what was chosen is attached.
        if (!OpenDialog1->Execute())
            break;
        QString name, path;
        if (!OpenDialog1->FileName.isEmpty() && QFileInfo::exists(OpenDialog1->FileName)) {
            path = QFileInfo(OpenDialog1->FileName).absoluteFilePath();
            name = DatabaseSetup::LogicalName(OpenDialog1->FileName);
        }
        if (entries.size() >= 8) {
            TSystemWinOS::ShowMessageBox(msgMaxLinksReached, msgInformationTitle, 64);
            break;
        }
        if (!name.isEmpty())
            entries.append({name, path});
    }
    const DatabaseSetup::TResult result = DatabaseSetup::AttachDatabases(entries);
    if (result.Outcome == DatabaseSetup::TOutcome::Failed)
        TExceptionLogs::Show(result.Message);
}

void TFBaza::GetSPFromTextFile()
{
    OpenDialog1->Filter = QStringLiteral("*.sql|*.sql");
    OpenDialog1->Execute();
    Edit8->setText(OpenDialog1->FileName + QStringLiteral("         "));
    if (SPButton)
        SPButton->update();
    QString script;
    MClass().ReadTextFile(OpenDialog1->FileName, script);
    lInfoSP->setText(script);
}

void TFBaza::acFBazaInsertNewSPExecute()
{
    if (!Allowed(Rights::rAddProcedures))
        return;
    if (Edit8->text().isEmpty()) {
        TSystemWinOS::ShowMessage(msgSelectProcedureFile);
        return;
    }
    QString path = Edit8->text();
    while (path.endsWith(QLatin1Char(' ')))
        path.chop(1);
    if (!QFileInfo(path).isFile()) {
        TSystemWinOS::ShowMessage(msgNoFileInDirectory);
        return;
    }
    const DatabaseSetup::TResult result = DatabaseSetup::InstallProcedure(lInfoSP->text());
    if (result.Outcome == DatabaseSetup::TOutcome::Failed)
        TExceptionLogs::Show(result.Message);
    else
        TSystemWinOS::ShowMessage(msgProcedureInstalled);
}

void TFBaza::acFBazaCloseExecute() { close(); }

QString TFBaza::PasswordToUse() const
{
    return edPassword->isModified() || !edPassword->text().isEmpty() ? edPassword->text() : m_storedPassword;
}

void TFBaza::closeEvent(QCloseEvent *event)
{
    fiFBaza->Save();
    // In set-up mode the start goes on only from a connection; the caller ends it otherwise.
    if (m_setupMode)
        SetModalResult(m_connected && LocalConnection().Connected() ? mrOk : mrCancel);
    TMainLibraryClass::closeEvent(event);
}
