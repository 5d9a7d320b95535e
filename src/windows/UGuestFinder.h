#pragma once
// Finds guests of the register as the operator types into a field: a list drops under it with
// the guests whose names begin with the typed words or whose personal or document number it is;
// Down and Enter, or a click, choose one. Used wherever a guest is named: the reservation and
// check-in.

#include <QObject>

class QCompleter;
class QLineEdit;
class QStandardItemModel;

class TGuestFinder : public QObject
{
    Q_OBJECT
public:
    explicit TGuestFinder(QLineEdit *edit);

    QCompleter *Completer() const { return m_completer; }
    // The guest chosen from the list since the field was last typed into; 0: none.
    int Chosen() const { return m_chosen; }
    void Forget() { m_chosen = 0; }

signals:
    void GuestChosen(int guest);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Search(const QString &text);

    QLineEdit *m_edit;
    QCompleter *m_completer;
    QStandardItemModel *m_model;
    int m_chosen = 0;
};
