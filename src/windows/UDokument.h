#pragma once
// A document as it prints: an issued invoice or note (and any other rich-text document of the
// front desk) in a print preview, in Bulgarian or English, printed or saved as PDF.

#include "framework/UMainLibraryClass.h"

#include "desk/UInvoiceText.h"

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QPrinter;
class QPrintPreviewWidget;
class QTextDocument;
class TFormInfo;
class TKalvMenuControl;

class TFDokument : public TMainLibraryClass
{
    Q_OBJECT
public:
    // The document's text in a language; fileName: what a PDF is offered to be called.
    using TSource = std::function<QString(InvoiceText::TLanguage)>;
    TFDokument(const QString &title, TSource source, const QString &fileName, QWidget *parent = nullptr);
    ~TFDokument() override;

    // An issued document of the invoices' register.
    static TFDokument *OfInvoice(int document, QWidget *parent = nullptr);

    bool InitializeWindow() override;
    InvoiceText::TLanguage Language() const;
    QString Html() const;
    bool SaveAsPdf(const QString &fileName);

    void acDokumentPrintExecute();
    void acDokumentPdfExecute();

    TKalvMenuControl *smcDokument;
    QAction *acDokumentPrint, *acDokumentPdf, *acClose;
    QComboBox *cbDokumentLanguage;
    QPrintPreviewWidget *ppDokument;
    TFormInfo *FormInfo1;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Paint(QPrinter *printer);

    QString m_title, m_fileName;
    TSource m_source;
    std::unique_ptr<QPrinter> m_printer;
};
