#pragma once
// Finding a booking: by guest name, personal number, passport, room number or booking number,
// or the bookings in house or still to come on a day; the chosen one's folio opens.

#include "data/UGuestSearch.h"
#include "framework/URegister.h"

class QDateEdit;
class QTimer;
class QToolButton;
class TRadioGroup;

class TFTarsene : public TRegisterWindow
{
    Q_OBJECT
public:
    enum TScope { scText = 0, scInHouse = 1, scComing = 2 };
    explicit TFTarsene(QWidget *parent = nullptr);

    void Search(TScope scope, const QString &text, const QDate &day);
    int SelectedBooking() const;
    void acTarseneFindExecute();
    void acTarseneFolioExecute();

    QAction *acTarseneFind, *acTarseneFolio, *acClose;
    TTabSheet *tsTarsene;
    QGroupBox *gbTarsene;
    QLineEdit *edTarseneText;
    QDateEdit *dtpTarseneDay;
    TRadioGroup *rgTarseneScope;
    QToolButton *btnTarseneMore;  // shown when the search found more rows than it shows

signals:
    void FolioRequested(int booking, int stay);

protected:
    QString ListSql() const override;
    QList<TParameter> ListParameters() const override;
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;

private:
    int SelectedStay() const;
    void ShowRows();
    void ShowMore();
    QTimer *m_typing = nullptr;
    int m_rows = GuestSearch::PageRows;  // and more as the user asks
};
