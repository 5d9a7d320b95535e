#pragma once
// The day's close: what the business day leaves open, each with its decision beside it; the
// close itself; the hotels' rules of the close; opening the last closed day again; the closed
// days in the list, each printed as its daily report.

#include "framework/URegister.h"

#include "desk/UDayClose.h"

class QCheckBox;
class QTableWidget;

class TFZatvaryaneDen : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFZatvaryaneDen(QWidget *parent = nullptr);

    bool InitializeWindow() override;
    const QList<DayClose::TItem> &Items() const { return m_items; }
    // The button of an item's decision, by its command name (dayCheckIn, dayNoShow, dayTomorrow,
    // dayCheckOut, dayExtend, dayFolio); none where the item has no such decision.
    QWidget *DecisionButton(int item, const QString &command) const;

    void acZatvaryaneDenCloseExecute();
    void acZatvaryaneDenReportExecute();
    void acZatvaryaneDenSaveRulesExecute();
    void acZatvaryaneDenReopenExecute();

    QAction *acZatvaryaneDenClose, *acZatvaryaneDenRefresh, *acZatvaryaneDenReport, *acZatvaryaneDenSaveRules,
        *acZatvaryaneDenReopen, *acClose;
    TTabSheet *tsZatvaryaneDenOpen, *tsZatvaryaneDenRules, *tsZatvaryaneDenReopen;
    QGroupBox *gbZatvaryaneDenDay, *gbZatvaryaneDenRules, *gbZatvaryaneDenReopen;
    QLabel *lblZatvaryaneDenDay;
    QTableWidget *tblZatvaryaneDenItems;
    QComboBox *cbZatvaryaneDenHotel;
    QCheckBox *chkZatvaryaneDenAutoNoShow, *chkZatvaryaneDenChargeNoShow;
    QLineEdit *edZatvaryaneDenBalanceLimit, *edZatvaryaneDenRetention, *edZatvaryaneDenReason;

signals:
    void FolioRequested(int booking, int stay);
    void CheckInRequested(int stay);
    // The daily report of a closed day.
    void ReportRequested(const QDate &day);

protected:
    QString ListSql() const override;
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    void RowChosen(int row) override;

private:
    void FillItems();
    QWidget *DecisionsOf(const DayClose::TItem &item);
    void Decide(const std::function<void()> &operation);
    QVariant ChosenHotel() const;
    void ShowRules();
    QList<DayClose::TItem> m_items;
    QList<QHash<QString, QWidget *>> m_buttons;
    QDate m_day;
};
