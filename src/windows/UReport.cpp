#include "UReport.h"

#include "desk/UEsti.h"

#include "desk/UReportExport.h"
#include "desk/URights.h"

#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "framework/UFormatSettings.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QThread>
#include <QToolButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QTableView>
#include <QTextDocument>
#include <QValueAxis>
#include <QVBoxLayout>

using namespace Reports;

namespace {

QString escaped(const QString &text) { return text.toHtmlEscaped(); }

QString tableHtml(const TTable &table)
{
    QString html;
    if (!table.Title.isEmpty())
        html += QStringLiteral("<h3>%1</h3>").arg(escaped(table.Title));
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><thead><tr>");
    for (const TColumn &column : table.Columns)
        html += QStringLiteral("<th bgcolor=\"#e8e8e8\">%1</th>").arg(escaped(column.Title));
    html += QStringLiteral("</tr></thead>");
    auto row = [&table](const QVariantList &cells, bool bold) {
        QString tr = QStringLiteral("<tr>");
        for (int i = 0; i < table.Columns.size(); ++i) {
            const QString text = escaped(CellText(cells.value(i)));
            const bool right = table.Columns.at(i).RightAligned() && !(bold && i == 0);
            const QString align = right ? QStringLiteral(" align=\"right\"") : QString();
            tr += QStringLiteral("<td%1>%2</td>").arg(align, bold ? QStringLiteral("<b>%1</b>").arg(text) : text);
        }
        return tr + QStringLiteral("</tr>");
    };
    for (const QVariantList &cells : table.Rows)
        html += row(cells, false);
    if (!table.Totals.isEmpty())
        html += row(table.Totals, true);
    return html + QStringLiteral("</table>");
}

// A report's table as the grid shows it, cells made into text only when they come into view:
// a year's arrivals are tens of thousands of rows.
class TReportTableModel : public QAbstractTableModel
{
public:
    TReportTableModel(const TTable &table, const QFont &font, QObject *parent)
        : QAbstractTableModel(parent), m_table(table), m_bold(font)
    {
        m_bold.setBold(true);
    }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_table.Rows.size()) + (m_table.Totals.isEmpty() ? 0 : 1);
    }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_table.Columns.size()); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const bool totals = index.row() >= m_table.Rows.size();
        const QVariantList &cells = totals ? m_table.Totals : m_table.Rows.at(index.row());
        switch (role) {
        case Qt::DisplayRole:
            return CellText(cells.value(index.column()));
        case Qt::TextAlignmentRole: {
            // The totals row's label reads from the left whatever its column holds.
            const bool right = m_table.Columns.at(index.column()).RightAligned() && !(totals && index.column() == 0);
            return int(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
        }
        case Qt::FontRole:
            return totals ? QVariant(m_bold) : QVariant();
        case Qt::BackgroundRole:
            return totals ? QVariant(QColor(0xE8, 0xE8, 0xE8)) : QVariant();
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_table.Columns.size())
            return m_table.Columns.at(section).Title;
        return {};
    }

private:
    TTable m_table;
    QFont m_bold;
};

} // namespace

TFReport::TFReport(const TDefinition &definition, QWidget *parent)
    : TMainLibraryClass(parent), m_definition(definition), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(definition.Name);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(definition.Title());
    resize(980, 600);
    smcReport = new TKalvMenuControl(this);
    smcReport->setObjectName(QStringLiteral("smcReport"));
    acReportShow = smcReport->AddCommand(QStringLiteral("acReportShow"), QStringLiteral("Покажи"),
                       [this] { acReportShowExecute(); });
    acReportPreview = smcReport->AddCommand(QStringLiteral("acReportPreview"), QStringLiteral("Преглед за печат"),
                          [this] { acReportPreviewExecute(); });
    acReportPrint = smcReport->AddCommand(QStringLiteral("acReportPrint"), QStringLiteral("Печат"),
                        [this] { acReportPrintExecute(); });
    acReportPdf = smcReport->AddCommand(QStringLiteral("acReportPdf"), QStringLiteral("Запис като PDF"),
                      [this] { acReportPdfExecute(); });
    acReportCsv = smcReport->AddCommand(QStringLiteral("acReportCsv"), QStringLiteral("Запис като CSV"),
                      [this] { acReportCsvExecute(); });
    acReportEsti = smcReport->AddCommand(QStringLiteral("acReportEsti"), QStringLiteral("Файл за ЕСТИ"),
                       [this] { acReportEstiExecute(); });
    acReportEsti->setVisible(definition.Esti);
    acClose = smcReport->AddCommand(QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });

    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(2, 2, 2, 2);
    gbReportParams = new QGroupBox(QStringLiteral("Параметри"), client);
    gbReportParams->setObjectName(QStringLiteral("gbReportParams"));
    auto *params = new QGridLayout(gbReportParams);
    auto label = [this](const char *name, const char *caption) {
        auto *result = new QLabel(QString::fromUtf8(caption), gbReportParams);
        result->setObjectName(QLatin1String(name));
        return result;
    };
    lInfoReportFrom = label("lInfoReportFrom", "От");
    lInfoReportDay = label("lInfoReportDay", "Ден");
    lInfoReportTo = label("lInfoReportTo", "До");
    lInfoReportHotel = label("lInfoReportHotel", "Хотел");
    dtpReportFrom = NewDatePicker(gbReportParams, QStringLiteral("dtpReportFrom"), QDate::currentDate());
    dtpReportTo = NewDatePicker(gbReportParams, QStringLiteral("dtpReportTo"), QDate::currentDate());
    cbReportHotel = new QComboBox(gbReportParams);
    cbReportHotel->setObjectName(QStringLiteral("cbReportHotel"));
    cbReportHotel->setMinimumWidth(220);
    params->addWidget(definition.Period ? lInfoReportFrom : lInfoReportDay, 0, 0);
    params->addWidget(dtpReportFrom, 0, 1);
    params->addWidget(lInfoReportTo, 0, 2);
    params->addWidget(dtpReportTo, 0, 3);
    params->addWidget(lInfoReportHotel, 0, 4);
    params->addWidget(cbReportHotel, 0, 5);
    pbReport = new QProgressBar(gbReportParams);
    pbReport->setObjectName(QStringLiteral("pbReport"));
    pbReport->setRange(0, 100);
    pbReport->setMaximumWidth(200);
    pbReport->hide();
    btnReportCancel = new QToolButton(gbReportParams);
    btnReportCancel->setObjectName(QStringLiteral("btnReportCancel"));
    btnReportCancel->setText(QStringLiteral("Отказ"));
    btnReportCancel->hide();
    connect(btnReportCancel, &QToolButton::clicked, this, [this] { btnReportCancelClick(); });
    // The register of documents: a buyer and a series as well.
    lInfoReportBuyer = label("lInfoReportBuyer", "Купувач");
    edReportBuyer = new QLineEdit(gbReportParams);
    edReportBuyer->setObjectName(QStringLiteral("edReportBuyer"));
    lInfoReportSeries = label("lInfoReportSeries", "Серия");
    cbReportSeries = new QComboBox(gbReportParams);
    cbReportSeries->setObjectName(QStringLiteral("cbReportSeries"));
    params->addWidget(lInfoReportBuyer, 1, 0);
    params->addWidget(edReportBuyer, 1, 1, 1, 3);
    params->addWidget(lInfoReportSeries, 1, 4);
    params->addWidget(cbReportSeries, 1, 5);
    for (QWidget *filter : std::initializer_list<QWidget *>{lInfoReportBuyer, edReportBuyer, lInfoReportSeries, cbReportSeries})
        filter->setVisible(definition.Documents);
    params->addWidget(pbReport, 0, 6);
    params->addWidget(btnReportCancel, 0, 7);
    params->setColumnStretch(8, 1);
    (definition.Period ? lInfoReportDay : lInfoReportFrom)->hide();
    lInfoReportTo->setVisible(definition.Period);
    dtpReportTo->setVisible(definition.Period);
    layout->addWidget(gbReportParams);
    pcReport = new QTabWidget(client);
    pcReport->setObjectName(QStringLiteral("pcReport"));
    layout->addWidget(pcReport, 1);
    setCentralWidget(client);
    FormInfo1 = new TFormInfo(this, definition.Name);
    FormInfo1->SetDesignedSize(size());
}

TFReport::~TFReport()
{
    // The thread tells this window what it found: it ends before the window goes.
    if (m_thread) {
        *m_cancel = true;
        m_thread->wait();
    }
}

void TFReport::SetDefaults(const QDate &day, const QString &hotelName)
{
    const bool month = m_definition.Period && m_definition.Id != rpArrivals && m_definition.Id != rpDepartures &&
                       m_definition.Id != rpFree;
    dtpReportFrom->setDate(month ? QDate(day.year(), day.month(), 1) : day);
    dtpReportTo->setDate(month ? QDate(day.year(), day.month(), day.daysInMonth()) : day);
    m_defaultHotel = hotelName;
}

void TFReport::SetPeriod(const QDate &from, const QDate &to)
{
    dtpReportFrom->setDate(from);
    dtpReportTo->setDate(to);
    acReportShowExecute();
}

bool TFReport::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadToolbarCaptions(smcReport);
    LoadContainerCaptions(gbReportParams);
    FillHotels();
    if (m_definition.Documents)
        FillSeries();
    ShowReport();
    return true;
}

void TFReport::FillHotels()
{
    cbReportHotel->clear();
    cbReportHotel->addItem(rptAllHotels, QVariant());
    try {
        for (const auto &[name, id] : Hotels())
            cbReportHotel->addItem(name, id);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
    const int chosen = cbReportHotel->findText(m_defaultHotel);
    cbReportHotel->setCurrentIndex(chosen > 0 ? chosen : 0);
}

void TFReport::FillSeries()
{
    cbReportSeries->clear();
    cbReportSeries->addItem(rptAllSeries, QVariant());
    try {
        for (const auto &[name, id] : Series())
            cbReportSeries->addItem(name, id);
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
}

TParams TFReport::Params() const
{
    TParams params;
    params.From = dtpReportFrom->date();
    params.To = m_definition.Period ? dtpReportTo->date() : params.From;
    params.Hotel = cbReportHotel->currentData();
    if (m_definition.Documents) {
        params.Buyer = edReportBuyer->text().trimmed();
        params.Series = cbReportSeries->currentData();
    }
    return params;
}

void TFReport::acReportShowExecute()
{
    if (m_definition.Period && dtpReportTo->date() < dtpReportFrom->date()) {
        TSystemWinOS::ShowMessageBox(rptPeriodInvalid, msgWarningTitle, 48);
        return;
    }
    ShowReport();
}

void TFReport::ShowReport()
{
    if (!Rights::Has(m_definition.Right)) {
        TSystemWinOS::ShowMessageBox(Rights::RefusalText(m_definition.Right), msgInformationTitle, 48);
        return;
    }
    if (m_thread)
        return;  // the one being read shows first
    QString connectionString, database;
    try {
        connectionString = LocalConnection().ConnectionString();
        database = LocalConnection().DatabaseName();
    } catch (const Exception &error) {
        TExceptionLogs::Show(error.Message());
        return;
    }
    const TReportId id = m_definition.Id;
    const TParams params = Params();
    auto cancel = std::make_shared<std::atomic_bool>(false);
    m_cancel = cancel;
    // On a connection of its own, so that the window and the board's ticks go on meanwhile.
    m_thread.reset(QThread::create([this, id, params, cancel, connectionString, database] {
        TReport report;
        QString failure;
        bool cancelled = false;
        try {
            TADOConnection own;
            own.AnnouncesLoss = false;
            own.SetConnectionString(connectionString);
            own.SetDefaultDatabase(database);
            own.Open();
            report = Run(id, params, own, [this, cancel](int percent) {
                QMetaObject::invokeMethod(this, [this, percent] { pbReport->setValue(percent); }, Qt::QueuedConnection);
                return !*cancel;
            });
        } catch (const ECancelled &) {
            cancelled = true;
        } catch (const Exception &error) {
            failure = error.Message();
        }
        QMetaObject::invokeMethod(
            this, [=] { ReportArrived(report, params, failure, cancelled); }, Qt::QueuedConnection);
    }));
    pbReport->setValue(0);
    pbReport->show();
    btnReportCancel->show();
    acReportShow->setEnabled(false);
    m_thread->start();
}

void TFReport::btnReportCancelClick()
{
    if (m_cancel)
        *m_cancel = true;
}

void TFReport::ReportArrived(const TReport &report, const TParams &params, const QString &failure, bool cancelled)
{
    m_thread->wait();
    m_thread.reset();
    pbReport->hide();
    btnReportCancel->hide();
    acReportShow->setEnabled(true);
    if (cancelled)
        return;  // what was shown stays
    if (!failure.isEmpty()) {
        TExceptionLogs::Show(failure);
        return;
    }
    m_report = report;
    m_shownParams = params;
    ShowTables();
}

void TFReport::ShowTables()
{
    const int front = pcReport->currentIndex();
    while (pcReport->count() > 0) {
        QWidget *page = pcReport->widget(0);
        pcReport->removeTab(0);
        delete page;
    }
    for (int i = 0; i < m_report.Tables.size(); ++i) {
        const TTable &table = m_report.Tables.at(i);
        pcReport->addTab(TableView(table, i), table.Title.isEmpty() ? m_definition.Title() : table.Title);
    }
    if (!m_report.Chart.isEmpty())
        pcReport->addTab(ChartView(pcReport), rptChart);
    pcReport->setCurrentIndex(std::max(0, std::min(front, pcReport->count() - 1)));
}

QTableView *TFReport::TableView(const TTable &table, int index)
{
    auto *view = new QTableView;
    view->setObjectName(QStringLiteral("grdReport%1").arg(index));
    auto *model = new TReportTableModel(table, view->font(), view);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->setDefaultSectionSize(22);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setResizeContentsPrecision(200);
    view->resizeColumnsToContents();
    for (int c = 0; c < model->columnCount(); ++c)
        view->setColumnWidth(c, std::max(view->columnWidth(c) + 12, 70));
    // A document's row (its key first) opens the document as it prints: a reprint.
    if (m_definition.Documents)
        connect(view, &QAbstractItemView::activated, this, [this, index](const QModelIndex &cell) {
            const QList<QVariantList> &rows = m_report.Tables.at(index).Rows;
            if (cell.isValid() && cell.row() < rows.size())
                emit DocumentRequested(rows.at(cell.row()).value(0).toInt());
        });
    return view;
}

QTableView *TFReport::Grid(int table) const
{
    return findChild<QTableView *>(QStringLiteral("grdReport%1").arg(table));
}

QWidget *TFReport::ChartView(QWidget *parent) const
{
    auto *chart = new QChart;
    auto *revenue = new QBarSet(rptRevenue);
    auto *occupancy = new QLineSeries;
    occupancy->setName(rptOccupancy);
    QStringList days;
    double top = 1;
    for (int i = 0; i < m_report.Chart.size(); ++i) {
        const TChartDay &day = m_report.Chart.at(i);
        *revenue << day.Revenue;
        occupancy->append(i, day.Occupancy);
        days.append(QString::number(day.Day.day()));
        top = std::max(top, day.Revenue);
    }
    auto *bars = new QBarSeries;
    bars->append(revenue);
    chart->addSeries(bars);
    chart->addSeries(occupancy);
    auto *axisX = new QBarCategoryAxis;
    axisX->append(days);
    auto *axisMoney = new QValueAxis;
    axisMoney->setRange(0, top * 1.1);
    axisMoney->setLabelFormat(QStringLiteral("%.0f"));
    axisMoney->setTitleText(rptRevenue);
    auto *axisPercent = new QValueAxis;
    axisPercent->setRange(0, 100);
    axisPercent->setLabelFormat(QStringLiteral("%.0f"));
    axisPercent->setTitleText(rptOccupancy);
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisMoney, Qt::AlignLeft);
    chart->addAxis(axisPercent, Qt::AlignRight);
    bars->attachAxis(axisX);
    bars->attachAxis(axisMoney);
    occupancy->attachAxis(axisX);
    occupancy->attachAxis(axisPercent);
    chart->setTitle(m_definition.Title());
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto *view = new QChartView(chart, parent);
    view->setObjectName(QStringLiteral("chvReport"));
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

QString TFReport::HeaderHtml() const
{
    const QString hotel = m_shownParams.Hotel.isNull() || !m_shownParams.Hotel.isValid()
                              ? rptAllHotels
                              : cbReportHotel->itemText(cbReportHotel->findData(m_shownParams.Hotel));
    const QString period = m_definition.Period
                               ? rptPeriod.arg(DateToStr(m_shownParams.From), DateToStr(m_shownParams.To))
                               : rptDay.arg(DateToStr(m_shownParams.From));
    QString who = KalvCLientInfo().LoginName;
    if (who.isEmpty())
        TSystemWinOS().GetLoginUserName(who);
    const QString printed = rptPrintedBy.arg(DateTimeToStr(QDateTime::currentDateTime()), who);
    return QStringLiteral("<h2>%1</h2><p>%2<br>%3<br>%4</p>")
        .arg(escaped(m_definition.Title()), escaped(rptHotelLine.arg(hotel)), escaped(period), escaped(printed));
}

std::unique_ptr<QTextDocument> TFReport::BuildDocument() const
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont(QStringLiteral("Sans"), 9));
    QString html = QStringLiteral("<html><body>") + HeaderHtml();
    for (const TTable &table : m_report.Tables)
        html += tableHtml(table);
    if (!m_report.Chart.isEmpty()) {
        QWidget holder;
        QWidget *view = ChartView(&holder);
        view->resize(900, 420);
        document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("chart.png")), view->grab().toImage());
        html += QStringLiteral("<p><img src=\"chart.png\" width=\"640\"></p>");
    }
    document->setHtml(html + QStringLiteral("</body></html>"));
    return document;
}

void TFReport::PreparePrinter(QPrinter &printer) const
{
    int widest = 0;
    for (const TTable &table : m_report.Tables)
        widest = std::max(widest, int(table.Columns.size()));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(widest > 6 ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(m_definition.Title());
}

bool TFReport::SaveAsPdf(const QString &fileName) const
{
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(fileName);
    PreparePrinter(pdf);
    BuildDocument()->print(&pdf);
    return QFileInfo::exists(fileName) && QFileInfo(fileName).size() > 0;
}

bool TFReport::SaveAsCsv(const QString &fileName) const
{
    if (m_report.Tables.isEmpty())
        return false;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(Csv(m_report, CsvStyleOfLanguage(CurrentLanguage)));
    return file.commit();
}

QString TFReport::SuggestedFileName(const QString &extension) const
{
    return ExportFileName(m_definition.Title(), m_shownParams.From,
                          m_definition.Period ? m_shownParams.To : m_shownParams.From, extension);
}

QString TFReport::AskFileName(const QString &extension, const QString &filter)
{
    return QFileDialog::getSaveFileName(this, windowTitle(), QDir::home().filePath(SuggestedFileName(extension)), filter);
}

void TFReport::acReportPreviewExecute()
{
    if (PreviewDialog)
        PreviewDialog->close();
    PreparePrinter(*m_printer);
    auto *dialog = new QPrintPreviewDialog(m_printer.get(), this);
    dialog->setObjectName(QStringLiteral("PreviewDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(m_definition.Title());
    dialog->resize(900, 700);
    connect(dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *printer) { BuildDocument()->print(printer); });
    PreviewDialog = dialog;
    dialog->open();
}

void TFReport::acReportPrintExecute()
{
    PreparePrinter(*m_printer);
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        BuildDocument()->print(m_printer.get());
}

void TFReport::acReportPdfExecute()
{
    SaveAs(QStringLiteral("pdf"), msgPdfFilter, [this](const QString &file) { return SaveAsPdf(file); });
}

void TFReport::acReportCsvExecute()
{
    SaveAs(QStringLiteral("csv"), rptCsvFilter, [this](const QString &file) { return SaveAsCsv(file); });
}

void TFReport::acReportEstiExecute()
{
    const QString file = AskFileName(QStringLiteral("csv"), rptCsvFilter);
    if (!file.isEmpty())
        SaveEstiFile(file);
}

bool TFReport::SaveEstiFile(const QString &fileName)
{
    Esti::TExport exported;
    try {
        exported = Esti::Export(m_shownParams.From, m_shownParams.To, m_shownParams.Hotel, QFileInfo(fileName).fileName(),
                                [&fileName](const QByteArray &content) {
                                    QSaveFile file(fileName);
                                    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
                                           file.commit();
                                });
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(error.Message(), msgWarningTitle, 48);
        return false;
    }
    if (!exported.Written) {
        TSystemWinOS::ShowMessageBox(rptNotSaved.arg(fileName), msgWarningTitle, 48);
        return false;
    }
    TSystemWinOS::ShowMessageBox(msgEstiExported.arg(exported.Sent).arg(exported.Left), msgInformationTitle, 64);
    acReportShowExecute();
    return true;
}

void TFReport::SaveAs(const QString &extension, const QString &filter, const std::function<bool(const QString &)> &write)
{
    const QString file = AskFileName(extension, filter);
    if (file.isEmpty())
        return;
    if (write(file))
        TSystemWinOS::ShowMessageBox(rptSaved.arg(file), msgInformationTitle, 64);
    else
        TSystemWinOS::ShowMessageBox(rptNotSaved.arg(file), msgWarningTitle, 48);
}

void TFReport::closeEvent(QCloseEvent *event)
{
    if (PreviewDialog)
        PreviewDialog->close();
    FormInfo1->Save();
    TMainLibraryClass::closeEvent(event);
}
