#include "UDokument.h"

#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextDocument>
#include <QVBoxLayout>

TFDokument::TFDokument(const QString &title, TSource source, const QString &fileName, QWidget *parent)
    : TMainLibraryClass(parent), m_title(title), m_fileName(fileName), m_source(std::move(source)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("FDokument"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(760, 820);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    smcDokument = new TKalvMenuControl(this);
    smcDokument->setObjectName(QStringLiteral("smcDokument"));
    acDokumentPrint = smcDokument->AddCommand(QStringLiteral("acDokumentPrint"), QStringLiteral("Печат"),
                                              [this] { acDokumentPrintExecute(); });
    acDokumentPdf = smcDokument->AddCommand(QStringLiteral("acDokumentPdf"), QStringLiteral("Запис като PDF"),
                                            [this] { acDokumentPdfExecute(); });
    acClose = smcDokument->AddCommand(QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *row = new QHBoxLayout;
    auto *languageLabel = new QLabel(QStringLiteral("Език на документа"), client);
    languageLabel->setObjectName(QStringLiteral("lDokumentLanguage"));
    cbDokumentLanguage = new QComboBox(client);
    cbDokumentLanguage->setObjectName(QStringLiteral("cbDokumentLanguage"));
    // Each language named in itself: whoever reads the document chooses it.
    cbDokumentLanguage->addItems({QStringLiteral("Български"), QStringLiteral("English")});
    languageLabel->setBuddy(cbDokumentLanguage);
    row->addWidget(languageLabel);
    row->addWidget(cbDokumentLanguage);
    row->addStretch(1);
    layout->addLayout(row);
    ppDokument = new QPrintPreviewWidget(m_printer.get(), client);
    ppDokument->setObjectName(QStringLiteral("ppDokument"));
    layout->addWidget(ppDokument, 1);
    setCentralWidget(client);
    connect(ppDokument, &QPrintPreviewWidget::paintRequested, this, &TFDokument::Paint);
    connect(cbDokumentLanguage, &QComboBox::currentIndexChanged, this, [this] { ppDokument->updatePreview(); });
    FormInfo1 = new TFormInfo(this, QStringLiteral("FDokument"));
    FormInfo1->SetDesignedSize(size());
}

TFDokument::~TFDokument() = default;

TFDokument *TFDokument::OfInvoice(int document, QWidget *parent)
{
    const std::optional<Invoices::TDocument> read = Invoices::Read(document);
    if (!read)
        return nullptr;
    const Invoices::TDocument shown = *read;
    const QString title = InvoiceText::Title(shown.Kind, InvoiceText::lgBulgarian) +
                          (shown.Number.isEmpty() ? QString() : QStringLiteral(" № ") + shown.Number);
    const QString file = QStringLiteral("%1-%2.pdf")
                             .arg(InvoiceText::Title(shown.Kind, InvoiceText::lgEnglish).toLower().replace(QLatin1Char(' '), QLatin1Char('-')),
                                  shown.Number.isEmpty() ? QString::number(shown.Id) : shown.Number);
    return new TFDokument(title, [shown](InvoiceText::TLanguage language) { return InvoiceText::Html(shown, language); },
                          file, parent);
}

bool TFDokument::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    setWindowTitle(m_title);
    LoadToolbarCaptions(smcDokument);
    LoadComponentCaptions(findChild<QLabel *>(QStringLiteral("lDokumentLanguage")));
    ppDokument->updatePreview();
    return true;
}

InvoiceText::TLanguage TFDokument::Language() const
{
    return cbDokumentLanguage->currentIndex() == 1 ? InvoiceText::lgEnglish : InvoiceText::lgBulgarian;
}

QString TFDokument::Html() const { return m_source(Language()); }

void TFDokument::Paint(QPrinter *printer)
{
    QTextDocument text;
    text.setHtml(Html());
    text.print(printer);
}

bool TFDokument::SaveAsPdf(const QString &fileName)
{
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(fileName);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    pdf.setDocName(m_title);
    Paint(&pdf);
    return QFileInfo::exists(fileName) && QFileInfo(fileName).size() > 0;
}

void TFDokument::acDokumentPrintExecute()
{
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        ppDokument->print();
}

void TFDokument::acDokumentPdfExecute()
{
    const QString file = QFileDialog::getSaveFileName(this, windowTitle(), QDir::home().filePath(m_fileName), msgPdfFilter);
    if (file.isEmpty())
        return;
    if (SaveAsPdf(file))
        TSystemWinOS::ShowMessageBox(msgPrinted.arg(file), msgInformationTitle, 64);
    else
        TExceptionLogs::Show(file);
}

void TFDokument::closeEvent(QCloseEvent *event)
{
    FormInfo1->Save();
    TMainLibraryClass::closeEvent(event);
}
