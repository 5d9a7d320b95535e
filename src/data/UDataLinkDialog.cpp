#include "UDataLinkDialog.h"

#include "UADOComunicationControl.h"
#include "UAdoDb.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace {
TDataLinkDialog::EditHandler &editHandler()
{
    static TDataLinkDialog::EditHandler handler;
    return handler;
}

QLineEdit *field(QWidget *parent, const QString &name, const QString &text)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    return edit;
}
} // namespace

TDataLinkDialog::TDataLinkDialog(const QString &connectionString, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DataLinkDialog"));
    setWindowTitle(QStringLiteral("Data Link Properties"));
    const TConnectionItems items = TConnectionItems::Parse(connectionString);
    const QString source = items.Value(QStringLiteral("Data Source"));
    const int slash = int(source.indexOf(QLatin1Char('\\')));

    m_provider = new QComboBox(this);
    m_provider->setObjectName(QStringLiteral("cbProvider"));
    m_provider->setEditable(true);
    m_provider->addItems({QStringLiteral("SQLite"), QStringLiteral("PostgreSQL"), QStringLiteral("SQLOLEDB.1")});
    const QString provider = items.Value(QStringLiteral("Provider"));
    m_provider->setCurrentText(provider.isEmpty() ? QStringLiteral("SQLite") : provider);
    m_server = field(this, QStringLiteral("edServer"), slash < 0 ? source : source.left(slash));
    m_instance = field(this, QStringLiteral("edInstance"), slash < 0 ? QString() : source.mid(slash + 1));
    m_database = field(this, QStringLiteral("edDatabase"), items.Value(QStringLiteral("Initial Catalog")));
    m_user = field(this, QStringLiteral("edUser"), items.Value(QStringLiteral("User ID")));
    m_password = field(this, QStringLiteral("edPassword"), items.Value(QStringLiteral("Password")));
    m_password->setEchoMode(QLineEdit::Password);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Provider:"), m_provider);
    form->addRow(QStringLiteral("Server:"), m_server);
    form->addRow(QStringLiteral("Instance:"), m_instance);
    form->addRow(QStringLiteral("Database:"), m_database);
    form->addRow(QStringLiteral("User name:"), m_user);
    form->addRow(QStringLiteral("Password:"), m_password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString TDataLinkDialog::ConnectionString() const
{
    TConnectionParts parts;
    parts.Provider = m_provider->currentText().trimmed();
    parts.Password = m_password->text();
    parts.User = m_user->text();
    parts.Database = m_database->text();
    parts.Server = m_server->text();
    parts.Instance = m_instance->text();
    return parts.Join();
}

QString TDataLinkDialog::Edit(const QString &connectionString)
{
    TDataLinkDialog dialog(connectionString);
    const bool accepted = editHandler() ? editHandler()(dialog) : dialog.exec() == QDialog::Accepted;
    return accepted ? dialog.ConnectionString() : connectionString;
}

void TDataLinkDialog::SetEditHandler(EditHandler handler) { editHandler() = std::move(handler); }
