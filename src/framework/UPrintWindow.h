#pragma once
// The pattern every printed document of the desk shares: a print preview of A4 pages with a row
// of the document's own choices above it, and commands to print, to save as PDF and to close.
// A document says how its pages are painted and what its PDF is called.

#include "UMainLibraryClass.h"

#include <QMarginsF>
#include <memory>

class QAction;
class QHBoxLayout;
class QPrinter;
class QPrintPreviewWidget;
class TFormInfo;
class TKalvMenuControl;

class TPrintWindow : public TMainLibraryClass
{
    Q_OBJECT
public:
    // name: the document's part of its component names ("AdresniKarti": FAdresniKarti,
    // smcAdresniKarti, acAdresniKartiPrint, acAdresniKartiPdf, ppAdresniKarti).
    // margins: the page's, in millimetres (none given: the printer's own).
    TPrintWindow(const QString &name, const QMarginsF &margins = {}, QWidget *parent = nullptr);
    ~TPrintWindow() override;

    bool SaveAsPdf(const QString &fileName);
    void PrintExecute();
    void PdfExecute();

protected:
    virtual void Paint(QPrinter *printer) = 0;
    virtual QString SuggestedFileName() const = 0;
    // The document went to a printer or a PDF file.
    virtual void Issued() {}
    // The row above the preview, for the document's own choices.
    QHBoxLayout *TopRow() const { return m_topRow; }
    void closeEvent(QCloseEvent *event) override;

    TKalvMenuControl *m_toolbar;
    QAction *m_print, *m_pdf, *m_close;
    QPrintPreviewWidget *m_preview;
    TFormInfo *m_placement;

private:
    void SetUpPage(QPrinter &printer) const;
    QMarginsF m_margins;
    std::unique_ptr<QPrinter> m_printer;
    QHBoxLayout *m_topRow;
};
