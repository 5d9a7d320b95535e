#include "UGuestFinder.h"

#include "desk/UCountries.h"
#include "desk/UGuests.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardItemModel>

namespace {

constexpr int kShown = 12;        // guests the list shows
constexpr int kLetters = 2;       // typed before the register is searched
constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kNameRole = Qt::UserRole + 2;

QString lineOf(const Guests::TFound &guest)
{
    QStringList parts = {guest.Name};
    if (guest.Born.isValid())
        parts.append(guest.Born.toString(QStringLiteral("dd.MM.yyyy")));
    if (const std::optional<Countries::TCountry> country = Countries::Find(guest.Citizenship))
        parts.append(country->Name());
    for (const QString &number : {guest.PersonalNumber, guest.DocumentNumber})
        if (!number.isEmpty())
            parts.append(number);
    return parts.join(QStringLiteral(" · "));
}

} // namespace

TGuestFinder::TGuestFinder(QLineEdit *edit)
    : QObject(edit), m_edit(edit), m_completer(new QCompleter(this)), m_model(new QStandardItemModel(this))
{
    m_completer->setModel(m_model);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCompletionRole(kNameRole);  // the name alone goes into the field
    m_completer->setMaxVisibleItems(kShown);
    m_completer->setWidget(edit);
    m_completer->popup()->setObjectName(edit->objectName() + QStringLiteral("Found"));
    m_completer->popup()->installEventFilter(this);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, &TGuestFinder::Search);
    connect(m_completer, qOverload<const QModelIndex &>(&QCompleter::activated), this, [this](const QModelIndex &index) {
        m_chosen = index.data(kKeyRole).toInt();
        m_edit->setText(index.data(kNameRole).toString());
        emit GuestChosen(m_chosen);
    });
}

// Enter and Escape in the open list are the list's: they choose or close it, and are no command
// of the window (its default command would run on the guest half chosen).
bool TGuestFinder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && m_completer->popup()->isVisible()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TGuestFinder::Search(const QString &text)
{
    m_chosen = 0;
    m_model->clear();
    if (text.trimmed().size() < kLetters)
        return;
    QList<Guests::TFound> found;
    try {
        found = Guests::Find(text, kShown);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
        return;
    }
    for (const Guests::TFound &guest : found) {
        auto *item = new QStandardItem(lineOf(guest));
        item->setData(guest.Id, kKeyRole);
        item->setData(guest.Name, kNameRole);
        item->setEditable(false);
        m_model->appendRow(item);
    }
    if (found.isEmpty())
        m_completer->popup()->hide();
    else
        m_completer->complete(m_edit->rect());
}
