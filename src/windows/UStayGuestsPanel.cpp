#include "UStayGuestsPanel.h"

#include "UGuestFinder.h"
#include "UNomGosti.h"
#include "data/UDM.h"
#include "desk/UTouristTax.h"
#include "errors/UExceptionLogs.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *made = new QPushButton(caption, parent);
    made->setObjectName(QLatin1String(name));
    return made;
}

} // namespace

TStayGuestsPanel::TStayGuestsPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnStayGuests"));
    auto *layout = new QGridLayout(this);
    edStayGuestFind = new QLineEdit(this);
    edStayGuestFind->setObjectName(QStringLiteral("edStayGuestFind"));
    m_finder = new TGuestFinder(edStayGuestFind);
    btnStayGuestAdd = button(this, "btnStayGuestAdd", capStayGuestAdd);
    btnStayGuestNew = button(this, "btnStayGuestNew", capStayGuestNew);
    auto *find = new QHBoxLayout;
    find->addWidget(new QLabel(lblStayGuestFind, this));
    find->addWidget(edStayGuestFind, 1);
    find->addWidget(btnStayGuestAdd);
    find->addWidget(btnStayGuestNew);
    layout->addLayout(find, 0, 0);

    tblStayGuests = new QTableWidget(0, 4, this);
    tblStayGuests->setObjectName(QStringLiteral("tblStayGuests"));
    tblStayGuests->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblStayGuests->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblStayGuests->setSelectionMode(QAbstractItemView::SingleSelection);
    tblStayGuests->verticalHeader()->hide();
    tblStayGuests->setHorizontalHeaderLabels({colClientName, colBirthDate, colStayGuestHolder, colStayGuestTax});
    tblStayGuests->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tblStayGuests, 1, 0);

    cbStayGuestTax = new QComboBox(this);
    cbStayGuestTax->setObjectName(QStringLiteral("cbStayGuestTax"));
    cbStayGuestTax->addItem(msgTaxDue);
    cbStayGuestTax->addItems(TouristTax::ExemptionReasons());
    btnStayGuestEdit = button(this, "btnStayGuestEdit", capStayGuestEdit);
    btnStayGuestHolder = button(this, "btnStayGuestHolder", capStayGuestHolder);
    btnStayGuestRemove = button(this, "btnStayGuestRemove", capStayGuestRemove);
    auto *chosen = new QHBoxLayout;
    chosen->addWidget(new QLabel(lblStayGuestTax, this));
    chosen->addWidget(cbStayGuestTax, 1);
    chosen->addWidget(btnStayGuestEdit);
    chosen->addWidget(btnStayGuestHolder);
    chosen->addWidget(btnStayGuestRemove);
    layout->addLayout(chosen, 2, 0);

    connect(m_finder, &TGuestFinder::GuestChosen, this, [this](int guest) { Add(guest); });
    connect(btnStayGuestAdd, &QPushButton::clicked, this, [this] {
        if (m_finder->Chosen() > 0)
            Add(m_finder->Chosen());
        else
            TSystemWinOS::ShowMessageBox(msgStayGuestNotFound, msgWarningTitle, 48);
    });
    connect(btnStayGuestNew, &QPushButton::clicked, this, [this] { OpenGuest(0); });
    connect(btnStayGuestEdit, &QPushButton::clicked, this, [this] {
        const int row = ChosenRow();
        if (row >= 0 && m_guests.at(row).Guest > 0)
            OpenGuest(m_guests.at(row).Guest);
    });
    connect(tblStayGuests, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (row >= 0 && row < m_guests.size() && m_guests.at(row).Guest > 0)
            OpenGuest(m_guests.at(row).Guest);
    });
    connect(btnStayGuestRemove, &QPushButton::clicked, this, [this] { RemoveChosen(); });
    connect(btnStayGuestHolder, &QPushButton::clicked, this, [this] { MakeChosenHolder(); });
    connect(cbStayGuestTax, qOverload<int>(&QComboBox::activated), this, [this](int index) { SetChosenTax(index); });
    connect(tblStayGuests, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0 && row < m_guests.size()) {
            const int reason = TouristTax::ExemptionReasons().indexOf(m_guests.at(row).TaxExemption);
            cbStayGuestTax->setCurrentIndex(m_guests.at(row).TaxExemption.isEmpty() ? 0 : reason + 1);
        }
    });
    SetStay(0);
}

void TStayGuestsPanel::SetStay(int stay)
{
    m_stay = stay;
    Refresh();
}

void TStayGuestsPanel::Refresh()
{
    m_guests.clear();
    if (m_stay > 0) {
        try {
            m_guests = Guests::OfStay(m_stay);
        } catch (const Exception &error) {
            LocalConnection().RollbackIfOpen();
            TExceptionLogs::Show(error.Message());
        }
    }
    tblStayGuests->setRowCount(int(m_guests.size()));
    for (int row = 0; row < m_guests.size(); ++row) {
        const Guests::TStayGuest &guest = m_guests.at(row);
        const QStringList cells = {guest.Name, guest.Born.isValid() ? guest.Born.toString(QStringLiteral("dd.MM.yyyy")) : QString(),
                                   guest.Holder ? msgStayGuestHolderMark : QString(),
                                   guest.TaxExemption.isEmpty() ? msgTaxDue : guest.TaxExemption};
        for (int column = 0; column < cells.size(); ++column)
            tblStayGuests->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    tblStayGuests->resizeColumnsToContents();
    for (QWidget *control : std::initializer_list<QWidget *>{edStayGuestFind, btnStayGuestAdd, btnStayGuestNew, tblStayGuests,
                                                             cbStayGuestTax, btnStayGuestEdit, btnStayGuestHolder,
                                                             btnStayGuestRemove})
        control->setEnabled(m_stay > 0);
}

int TStayGuestsPanel::ChosenRow() const
{
    const int row = tblStayGuests->currentRow();
    return row >= 0 && row < m_guests.size() ? row : -1;
}

// The stay's one guest of before has no row of the register: the list written starts from the
// register's guests only, the first added becoming the holder.
bool TStayGuestsPanel::Write(const QList<Guests::TStayGuest> &guests)
{
    try {
        Guests::SetStayGuests(m_stay, guests);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(error.Message(), msgWarningTitle, 48);
        Refresh();
        return false;
    }
    Refresh();
    emit Changed();
    return true;
}

void TStayGuestsPanel::Add(int guest)
{
    if (m_stay <= 0 || guest <= 0)
        return;
    QList<Guests::TStayGuest> guests;
    for (const Guests::TStayGuest &shown : m_guests)
        if (shown.Guest > 0)
            guests.append(shown);
    Guests::TStayGuest added;
    added.Guest = guest;
    added.Name = edStayGuestFind->text();
    added.Holder = guests.isEmpty();
    guests.append(added);
    if (Write(guests)) {
        edStayGuestFind->clear();
        m_finder->Forget();
    }
}

void TStayGuestsPanel::RemoveChosen()
{
    const int row = ChosenRow();
    if (row < 0)
        return;
    QList<Guests::TStayGuest> guests = m_guests;
    const bool holder = guests.takeAt(row).Holder;
    if (holder && !guests.isEmpty())
        guests.first().Holder = true;
    Write(guests);
}

void TStayGuestsPanel::MakeChosenHolder()
{
    const int row = ChosenRow();
    if (row < 0)
        return;
    QList<Guests::TStayGuest> guests = m_guests;
    for (int i = 0; i < guests.size(); ++i)
        guests[i].Holder = i == row;
    Write(guests);
}

void TStayGuestsPanel::SetChosenTax(int index)
{
    const int row = ChosenRow();
    if (row < 0)
        return;
    QList<Guests::TStayGuest> guests = m_guests;
    guests[row].TaxExemption = index > 0 ? cbStayGuestTax->itemText(index) : QString();
    Write(guests);
}

QWidget *TStayGuestsPanel::OpenGuest(int guest)
{
    auto *form = new TFNomGosti(this);
    form->setWindowFlag(Qt::Window, true);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->InitializeWindow();
    if (guest > 0) {
        form->ShowGuest(guest);
        connect(form, &TFNomGosti::Saved, this, [this] { Refresh(); });
    } else {
        form->StartNew(edStayGuestFind->text());
        connect(form, &TFNomGosti::Saved, this, [this](int saved) { Add(saved); });
    }
    form->show();
    return form;
}
