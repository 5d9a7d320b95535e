#pragma once
// A document as it prints: an issued invoice or note (and any other rich-text document of the
// front desk) in a print preview, in Bulgarian or English, printed or saved as PDF.

#include "framework/UPrintWindow.h"

#include "desk/UInvoiceText.h"

#include <functional>

class QComboBox;

class TFDokument : public TPrintWindow
{
    Q_OBJECT
public:
    // The document's text in a language; fileName: what a PDF is offered to be called.
    using TSource = std::function<QString(InvoiceText::TLanguage)>;
    TFDokument(const QString &title, TSource source, const QString &fileName, QWidget *parent = nullptr);

    // An issued document of the invoices' register.
    static TFDokument *OfInvoice(int document, QWidget *parent = nullptr);

    bool InitializeWindow() override;
    InvoiceText::TLanguage Language() const;
    QString Html() const;

    TKalvMenuControl *smcDokument;
    QAction *acDokumentPrint, *acDokumentPdf, *acClose;
    QComboBox *cbDokumentLanguage;
    QPrintPreviewWidget *ppDokument;

protected:
    void Paint(QPrinter *printer) override;
    QString SuggestedFileName() const override { return m_fileName; }

private:
    QString m_title, m_fileName;
    TSource m_source;
};
