#pragma once
// The data-link dialog: edits the items of a connection string and gives the string back.

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;

class TDataLinkDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TDataLinkDialog(const QString &connectionString, QWidget *parent = nullptr);
    QString ConnectionString() const;

    // Shows the dialog modally; a cancelled dialog gives the initial string back.
    static QString Edit(const QString &connectionString);
    // Tests replace the modal run: the handler gets the dialog and says whether it was accepted.
    using EditHandler = std::function<bool(TDataLinkDialog &dialog)>;
    static void SetEditHandler(EditHandler handler);

private:
    QComboBox *m_provider;
    QLineEdit *m_server, *m_instance, *m_database, *m_user, *m_password;
};
