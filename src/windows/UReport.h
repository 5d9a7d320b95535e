#pragma once
// The report window that every report shares: its parameters at the top (a day or a period,
// the hotel or all hotels), a read-only grid per table with its totals, a chart where the
// report has one, and commands for a print preview, printing, PDF and CSV.

#include "framework/UMainLibraryClass.h"

#include "desk/UReports.h"

#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QProgressBar;
class QThread;
class QToolButton;
class QPrintPreviewDialog;
class QTabWidget;
class QTableView;
class QTextDocument;
class TFormInfo;
class TKalvMenuControl;

class TFReport : public TMainLibraryClass
{
    Q_OBJECT
public:
    explicit TFReport(const Reports::TDefinition &definition, QWidget *parent = nullptr);
    ~TFReport() override;

    // The day (and the month around it, for reports of a month) and the hotel chosen on the board.
    void SetDefaults(const QDate &day, const QString &hotelName);
    // Shows the report of the period (a closed day's daily report, asked from the day's close).
    void SetPeriod(const QDate &from, const QDate &to);
    bool InitializeWindow() override;

    const Reports::TDefinition &Definition() const { return m_definition; }
    const Reports::TReport &Shown() const { return m_report; }
    Reports::TParams Params() const;
    QTableView *Grid(int table) const;
    // Whether a report is being read (in a thread of its own, the window at the user's hands).
    bool Running() const { return m_thread != nullptr; }
    void btnReportCancelClick();

    // The document that the preview shows, printing prints and the PDF holds.
    std::unique_ptr<QTextDocument> BuildDocument() const;
    bool SaveAsPdf(const QString &fileName) const;
    // The table on the front tab: one header row, then its rows.
    bool SaveAsCsv(const QString &fileName) const;
    // The tourism register's file of the movements shown that were not sent before; they are
    // logged as sent. Says how many went and how many wait for their data.
    bool SaveEstiFile(const QString &fileName);
    const Reports::TReport &Report() const { return m_report; }
    // The report's title and period, as the file dialog offers it.
    QString SuggestedFileName(const QString &extension) const;

    void acReportShowExecute();
    void acReportPreviewExecute();
    void acReportPrintExecute();
    void acReportPdfExecute();
    void acReportCsvExecute();
    void acReportEstiExecute();

    TKalvMenuControl *smcReport;
    QAction *acReportShow, *acReportPreview, *acReportPrint, *acReportPdf, *acReportCsv, *acReportEsti, *acClose;
    QGroupBox *gbReportParams;
    QLabel *lInfoReportFrom, *lInfoReportDay, *lInfoReportTo, *lInfoReportHotel;
    QDateEdit *dtpReportFrom, *dtpReportTo;
    QComboBox *cbReportHotel;
    QLabel *lInfoReportBuyer, *lInfoReportSeries;
    QLineEdit *edReportBuyer;
    QComboBox *cbReportSeries;
    QProgressBar *pbReport;        // while the report reads
    QToolButton *btnReportCancel;  // stops it
    QTabWidget *pcReport;
    QPointer<QPrintPreviewDialog> PreviewDialog;
    TFormInfo *FormInfo1;

signals:
    // A row of the register of documents asked to be shown.
    void DocumentRequested(int document);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FillSeries();
    void FillHotels();
    void ShowReport();
    void ReportArrived(const Reports::TReport &report, const Reports::TParams &params, const QString &failure,
                       bool cancelled);
    void ShowTables();
    QTableView *TableView(const Reports::TTable &table, int index);
    QWidget *ChartView(QWidget *parent) const;
    QString HeaderHtml() const;
    void PreparePrinter(QPrinter &printer) const;
    QString AskFileName(const QString &extension, const QString &filter);
    // Asks for a file and writes the report into it, saying whether it was written.
    void SaveAs(const QString &extension, const QString &filter, const std::function<bool(const QString &)> &write);

    Reports::TDefinition m_definition;
    Reports::TReport m_report;
    Reports::TParams m_shownParams;
    QString m_defaultHotel;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QThread> m_thread;
    std::shared_ptr<std::atomic_bool> m_cancel;
};
