#include "UDokument.h"

#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextDocument>

TFDokument::TFDokument(const QString &title, TSource source, const QString &fileName, QWidget *parent)
    : TPrintWindow(QStringLiteral("Dokument"), QMarginsF(15, 12, 15, 12), parent), m_title(title), m_fileName(fileName),
      m_source(std::move(source))
{
    resize(760, 820);
    smcDokument = m_toolbar;
    acDokumentPrint = m_print;
    acDokumentPdf = m_pdf;
    acClose = m_close;
    ppDokument = m_preview;
    auto *languageLabel = new QLabel(QStringLiteral("Език на документа"), this);
    languageLabel->setObjectName(QStringLiteral("lDokumentLanguage"));
    cbDokumentLanguage = new QComboBox(this);
    cbDokumentLanguage->setObjectName(QStringLiteral("cbDokumentLanguage"));
    // Each language named in itself: whoever reads the document chooses it.
    cbDokumentLanguage->addItems({QStringLiteral("Български"), QStringLiteral("English")});
    languageLabel->setBuddy(cbDokumentLanguage);
    TopRow()->addWidget(languageLabel);
    TopRow()->addWidget(cbDokumentLanguage);
    TopRow()->addStretch(1);
    connect(cbDokumentLanguage, &QComboBox::currentIndexChanged, this, [this] { ppDokument->updatePreview(); });
    m_placement->SetDesignedSize(size());
}

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

