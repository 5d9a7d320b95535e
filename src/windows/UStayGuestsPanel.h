#pragma once
// Everyone in the room of one stay, for the windows that work on a stay (check-in): the guests
// with their holder and tourist tax, a guest of the register found as the operator types and
// added, a new one registered, one removed or made the holder. Each change is written at once.

#include "desk/UGuests.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class TGuestFinder;

class TStayGuestsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TStayGuestsPanel(QWidget *parent = nullptr);

    // The stay whose guests are shown; 0: none.
    void SetStay(int stay);
    int Stay() const { return m_stay; }
    const QList<Guests::TStayGuest> &Shown() const { return m_guests; }
    // Opens the guest's data in the register, in a window of its own; 0: a new guest by the
    // typed name, added to the stay once saved.
    QWidget *OpenGuest(int guest);

    QLineEdit *edStayGuestFind;
    QTableWidget *tblStayGuests;
    QComboBox *cbStayGuestTax;
    QPushButton *btnStayGuestAdd, *btnStayGuestNew, *btnStayGuestEdit, *btnStayGuestRemove, *btnStayGuestHolder;

signals:
    void Changed();

private:
    void Refresh();
    void Add(int guest);
    void RemoveChosen();
    void MakeChosenHolder();
    void SetChosenTax(int index);
    int ChosenRow() const;
    bool Write(const QList<Guests::TStayGuest> &guests);

    TGuestFinder *m_finder;
    QList<Guests::TStayGuest> m_guests;
    int m_stay = 0;
};
