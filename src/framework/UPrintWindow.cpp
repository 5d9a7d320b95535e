#include "UPrintWindow.h"

#include "FormInfo.h"
#include "controls/KalvMenu.h"
#include "errors/UExceptionLogs.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QVBoxLayout>

void TPrintWindow::SetUpPage(QPrinter &printer) const
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    if (!m_margins.isNull())
        printer.setPageMargins(m_margins, QPageLayout::Millimeter);
}

TPrintWindow::TPrintWindow(const QString &name, const QMarginsF &margins, QWidget *parent)
    : TMainLibraryClass(parent), m_margins(margins), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("F") + name);
    setAttribute(Qt::WA_DeleteOnClose);
    SetUpPage(*m_printer);
    m_toolbar = new TKalvMenuControl(this);
    m_toolbar->setObjectName(QStringLiteral("smc") + name);
    m_print = m_toolbar->AddCommand(QStringLiteral("ac%1Print").arg(name), QStringLiteral("Печат"), [this] { PrintExecute(); });
    m_pdf = m_toolbar->AddCommand(QStringLiteral("ac%1Pdf").arg(name), QStringLiteral("Запис като PDF"), [this] { PdfExecute(); });
    m_close = m_toolbar->AddCommand(QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(2, 2, 2, 2);
    m_topRow = new QHBoxLayout;
    layout->addLayout(m_topRow);
    m_preview = new QPrintPreviewWidget(m_printer.get(), client);
    m_preview->setObjectName(QStringLiteral("pp") + name);
    layout->addWidget(m_preview, 1);
    setCentralWidget(client);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) { Paint(printer); });
    m_placement = new TFormInfo(this, objectName());
}

TPrintWindow::~TPrintWindow() = default;

bool TPrintWindow::SaveAsPdf(const QString &fileName)
{
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(fileName);
    SetUpPage(pdf);
    pdf.setDocName(windowTitle());
    Paint(&pdf);
    return QFileInfo::exists(fileName) && QFileInfo(fileName).size() > 0;
}

void TPrintWindow::PrintExecute()
{
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() == QDialog::Accepted) {
        m_preview->print();
        Issued();
    }
}

void TPrintWindow::PdfExecute()
{
    const QString file =
        QFileDialog::getSaveFileName(this, windowTitle(), QDir::home().filePath(SuggestedFileName()), msgPdfFilter);
    if (file.isEmpty())
        return;
    if (SaveAsPdf(file)) {
        Issued();
        TSystemWinOS::ShowMessageBox(msgPrinted.arg(file), msgInformationTitle, 64);
    }
    else
        TExceptionLogs::Show(file);
}

void TPrintWindow::closeEvent(QCloseEvent *event)
{
    m_placement->Save();
    TMainLibraryClass::closeEvent(event);
}
