#include "UFaktura.h"

#include "desk/UInvoiceText.h"
#include "desk/URights.h"
#include "desk/UVat.h"

#include "controls/KalvMenu.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "framework/UDecimal.h"
#include "framework/UFormatSettings.h"
#include "framework/UStdCtrls.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Invoices;

namespace {

QString money(const TDecimal &amount) { return amount.Cents().ToFixed(2); }

// An amount as the desk takes them typed; a clear refusal otherwise, the field marked.
TDecimal typedAmount(const QString &text, const QString &refusal, QWidget *field = nullptr)
{
    try {
        return AmountFromText(text);
    } catch (const Exception &) {
        if (field)
            TMainLibraryClass::MarkControlFailed(field);
        throw EFrontDeskRefused(refusal);
    }
}

QComboBox *choiceBox(QWidget *parent, const QString &name, const QStringList &items)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    return box;
}

} // namespace

TFFaktura::TFFaktura(QWidget *parent) : TRegisterWindow(QStringLiteral("FFaktura"), parent)
{
    acFakturaIssue = AddCommand(QStringLiteral("tbFakturaIssue"), QStringLiteral("acFakturaIssue"), QStringLiteral("Издай"),
                                [this] { acFakturaIssueExecute(); });
    acFakturaShow = AddCommand(QStringLiteral("tbFakturaShow"), QStringLiteral("acFakturaShow"), QStringLiteral("Покажи"),
                               [this] { acFakturaShowExecute(); });
    acFakturaCredit = AddCommand(QStringLiteral("tbFakturaCredit"), QStringLiteral("acFakturaCredit"),
                                 QStringLiteral("Кредитно известие"), [this] { acFakturaCreditExecute(); });
    acFakturaDebit = AddCommand(QStringLiteral("tbFakturaDebit"), QStringLiteral("acFakturaDebit"),
                                QStringLiteral("Дебитно известие"), [this] { acFakturaDebitExecute(); });
    acFakturaNew = AddCommand(QStringLiteral("tbFakturaNew"), QStringLiteral("acFakturaNew"), QStringLiteral("Нова фактура"),
                              [this] { acFakturaNewExecute(); });
    acClose = AddCommand(QStringLiteral("tbClose"), QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    Pages()->setObjectName(QStringLiteral("pcFaktura"));
    Grid()->setObjectName(QStringLiteral("DBGridFaktura"));
    Placement()->setObjectName(QStringLiteral("fiFaktura"));
    resize(820, 660);

    tsFakturaLines = AddSheet(QStringLiteral("tsFakturaLines"), QStringLiteral("Редове"));
    // The rows take the page's whole width: a list, not a column of fields.
    gbFakturaLines = new QGroupBox(QStringLiteral("Какво се фактурира"), tsFakturaLines);
    gbFakturaLines->setObjectName(QStringLiteral("gbFakturaLines"));
    gbFakturaLines->setMinimumSize(780, 230);
    auto *linesLayout = new QVBoxLayout(gbFakturaLines);
    lblFakturaMode = new QLabel(gbFakturaLines);
    lblFakturaMode->setObjectName(QStringLiteral("lblFakturaMode"));
    linesLayout->addWidget(lblFakturaMode);
    tblFakturaLines = new QTableWidget(0, 4, gbFakturaLines);
    tblFakturaLines->setObjectName(QStringLiteral("tblFakturaLines"));
    tblFakturaLines->verticalHeader()->hide();
    tblFakturaLines->horizontalHeader()->setSectionResizeMode(colText, QHeaderView::Stretch);
    tblFakturaLines->setSelectionBehavior(QAbstractItemView::SelectRows);
    linesLayout->addWidget(tblFakturaLines, 1);
    static_cast<QBoxLayout *>(tsFakturaLines->layout())->addWidget(gbFakturaLines, 1);

    tsFakturaBuyer = AddSheet(QStringLiteral("tsFakturaBuyer"), QStringLiteral("Купувач"));
    gbFakturaBuyer = AddGroupBox(tsFakturaBuyer, QStringLiteral("gbFakturaBuyer"), QStringLiteral("Купувач"));
    chkFakturaPerson = new QCheckBox(QStringLiteral("Физическо лице"), gbFakturaBuyer);
    chkFakturaPerson->setObjectName(QStringLiteral("chkFakturaPerson"));
    PlaceRow(gbFakturaBuyer, chkFakturaPerson);
    cbFakturaEik = AddLookupBox(gbFakturaBuyer, QStringLiteral("lFakturaEik"), QStringLiteral("ЕИК"),
                                QStringLiteral("cbFakturaEik"), QStringLiteral("Kupuvachi"), QStringLiteral("q177"));
    auto edit = [this](const char *label, const char *caption, const char *name) {
        return AddEdit(gbFakturaBuyer, QLatin1String(label), QString::fromUtf8(caption), QLatin1String(name));
    };
    edFakturaName = edit("lFakturaName", "Наименование", "edFakturaName");
    edFakturaVat = edit("lFakturaVat", "ИН по ДДС", "edFakturaVat");
    edFakturaAddress = edit("lFakturaAddress", "Адрес", "edFakturaAddress");
    edFakturaMol = edit("lFakturaMol", "МОЛ", "edFakturaMol");
    edFakturaPersonal = edit("lFakturaPersonal", "ЕГН", "edFakturaPersonal");

    tsFakturaDocument = AddSheet(QStringLiteral("tsFakturaDocument"), QStringLiteral("Документ"));
    gbFakturaDocument = AddGroupBox(tsFakturaDocument, QStringLiteral("gbFakturaDocument"), QStringLiteral("Документ"));
    cbFakturaKind = choiceBox(gbFakturaDocument, QStringLiteral("cbFakturaKind"),
                              {InvoiceText::Title(dkInvoice, InvoiceText::lgBulgarian),
                               InvoiceText::Title(dkProforma, InvoiceText::lgBulgarian), QStringLiteral("Авансова фактура")});
    PlaceRow(gbFakturaDocument, cbFakturaKind, AddLabel(gbFakturaDocument, QStringLiteral("lFakturaKind"), QStringLiteral("Вид")));
    cbFakturaSeries = choiceBox(gbFakturaDocument, QStringLiteral("cbFakturaSeries"), {});
    PlaceRow(gbFakturaDocument, cbFakturaSeries,
             AddLabel(gbFakturaDocument, QStringLiteral("lFakturaSeries"), QStringLiteral("Серия")));
    dtpFakturaTaxEvent = AddDate(gbFakturaDocument, QStringLiteral("lFakturaTaxEvent"),
                                 QStringLiteral("Дата на данъчното събитие"), QStringLiteral("dtpFakturaTaxEvent"),
                                 QDate::currentDate());
    cbFakturaMethod = choiceBox(gbFakturaDocument, QStringLiteral("cbFakturaMethod"),
                                {FrontDesk::PaymentMethodName(FrontDesk::pmCash), FrontDesk::PaymentMethodName(FrontDesk::pmCard),
                                 FrontDesk::PaymentMethodName(FrontDesk::pmTransfer)});
    PlaceRow(gbFakturaDocument, cbFakturaMethod,
             AddLabel(gbFakturaDocument, QStringLiteral("lFakturaMethod"), QStringLiteral("Начин на плащане")));
    edFakturaAdvance = AddEdit(gbFakturaDocument, QStringLiteral("lFakturaAdvance"), QStringLiteral("Аванс с ДДС"),
                               QStringLiteral("edFakturaAdvance"));
    cbFakturaAdvanceRate = choiceBox(gbFakturaDocument, QStringLiteral("cbFakturaAdvanceRate"), {});
    PlaceRow(gbFakturaDocument, cbFakturaAdvanceRate,
             AddLabel(gbFakturaDocument, QStringLiteral("lFakturaAdvanceRate"), QStringLiteral("ДДС ставка на аванса")));

    connect(chkFakturaPerson, &QCheckBox::toggled, this, &TFFaktura::FitToChoices);
    connect(cbFakturaKind, &QComboBox::currentIndexChanged, this, &TFFaktura::FitToChoices);
    // An ЕИК chosen from the list or typed and left brings the buyer of the register.
    connect(cbFakturaEik, &QComboBox::activated, this, &TFFaktura::FillBuyerOfEik);
    connect(cbFakturaEik->lineEdit(), &QLineEdit::editingFinished, this, &TFFaktura::FillBuyerOfEik);
    Pages()->setCurrentWidget(tsFakturaLines);
}

QString TFFaktura::ListSql() const
{
    return QStringLiteral("SELECT q182, q183, q184, q185, q186, q208, q188, q187 FROM Fakturi WHERE q124 = :iBooking "
                          "ORDER BY q182");
}

QList<TParameter> TFFaktura::ListParameters() const { return {{QStringLiteral("iBooking"), m_booking}}; }

QList<TGridColumn> TFFaktura::GridColumns() const
{
    const auto kind = [](const TField &field) { return InvoiceText::Title(field.AsInteger(), InvoiceText::lgBulgarian); };
    const auto amount = [](const TField &field) { return money(TDecimal::FromVariant(field.Value())); };
    const auto day = [](const TField &field) { return field.IsNull() ? QString() : field.AsDate().toString(QStringLiteral("dd.MM.yyyy")); };
    return {{"q182", colID, 50},          {"q183", colDocumentKind, 140, false, kind}, {"q184", colDocumentNumber, 100},
            {"q185", colDocumentIssued, 90, false, day}, {"q186", colDocumentTaxEvent, 90, false, day},
            {"q208", colBuyerName, 200},  {"q188", colDocumentTotal, 90, false, amount}};
}

void TFFaktura::LoadCaptions()
{
    LoadFormCaption(this);
    LoadToolbarCaptions(Toolbar());
    LoadContainerCaptions(Pages());
    LoadContainerCaptions(gbFakturaLines);
    for (QGroupBox *box : {gbFakturaBuyer, gbFakturaDocument}) {
        LoadContainerCaptions(box);
        FitRows(box);
    }
    tblFakturaLines->setHorizontalHeaderLabels({QString(), colDocumentLine, colDocumentLeft, colDocumentAmount});
}

bool TFFaktura::InitializeWindow()
{
    const bool done = TRegisterWindow::InitializeWindow();
    try {
        if (const std::optional<FrontDesk::TFolio> folio = FrontDesk::ReadFolio(m_booking)) {
            m_hotel = folio->Booking.Hotel;
            // The guest is the buyer until a company is named.
            chkFakturaPerson->setChecked(true);
            edFakturaName->setText(folio->Booking.Guest.Name);
            edFakturaAddress->setText(folio->Booking.Guest.Address);
            edFakturaPersonal->setText(folio->Booking.Guest.PersonalNumber);
        }
        FillSeries();
        cbFakturaAdvanceRate->clear();
        for (const QString &name : SelectorValues(QStringLiteral("SELECT q164 FROM DDSStavki ORDER BY q165 DESC")))
            cbFakturaAdvanceRate->addItem(name);
        cbFakturaAdvanceRate->setCurrentText(Vat::AccommodationCode());
        dtpFakturaTaxEvent->setDate(FrontDesk::Today());
        FillLines();
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
    FitToChoices();
    return done;
}

void TFFaktura::FillSeries()
{
    cbFakturaSeries->clear();
    TADOConnection &connection = LocalConnection();
    TTransaction transaction(connection);
    auto series = OpenQuery(connection, QStringLiteral("SELECT q171, q172, q174 FROM FakturiSerii WHERE q1 IS NULL OR "
                                                       "q1 = :iHotel ORDER BY q171"),
                            {{"iHotel", m_hotel.isNull() ? QVariant(0) : m_hotel}});
    for (series->First(); !series->Eof(); series->Next())
        cbFakturaSeries->addItem(QStringLiteral("%1 (%2)").arg(series->FieldByName(QStringLiteral("q172")).AsString().trimmed(),
                                                              series->FieldByName(QStringLiteral("q174")).AsString().trimmed()),
                                 series->FieldByName(QStringLiteral("q171")).AsInteger());
    transaction.Commit();
}

// The lines of what is issued next: the booking's unbilled rows, or the rows of the invoice a
// note is made to with the amount the note takes off or adds.
void TFFaktura::FillLines()
{
    const bool note = m_noteTo > 0;
    QList<TLine> lines;
    if (note) {
        if (const std::optional<TDocument> invoice = Read(m_noteTo))
            lines = invoice->Lines;
        lblFakturaMode->setText((m_noteKind == dkCredit ? msgFakturaCreditTo : msgFakturaDebitTo).arg(m_noteToNumber));
    } else {
        lines = Unbilled(m_booking);
        lblFakturaMode->setText(msgFakturaOfBooking.arg(m_booking));
    }
    tblFakturaLines->setRowCount(0);
    for (const TLine &line : std::as_const(lines)) {
        if (note && line.Deducts > 0)
            continue;
        const int row = tblFakturaLines->rowCount();
        tblFakturaLines->insertRow(row);
        auto *chosen = new QTableWidgetItem;
        chosen->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        chosen->setCheckState(note ? Qt::Unchecked : Qt::Checked);
        chosen->setData(Qt::UserRole, line.Charge);
        tblFakturaLines->setItem(row, colChosen, chosen);
        auto *text = new QTableWidgetItem(line.Text);
        text->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        tblFakturaLines->setItem(row, colText, text);
        auto *left = new QTableWidgetItem(money(line.Gross));
        left->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        left->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        tblFakturaLines->setItem(row, colLeft, left);
        // A note's amount is typed; an invoice bills each row whole.
        auto *amount = new QTableWidgetItem(money(line.Gross));
        amount->setFlags(note ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::ItemIsEnabled);
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        tblFakturaLines->setItem(row, colAmount, amount);
    }
    tblFakturaLines->setColumnHidden(colAmount, !note);
    tblFakturaLines->resizeColumnToContents(colChosen);
}

void TFFaktura::FitToChoices()
{
    const bool person = chkFakturaPerson->isChecked();
    for (QWidget *company : std::initializer_list<QWidget *>{cbFakturaEik, edFakturaVat, edFakturaMol})
        company->setEnabled(!person);
    edFakturaPersonal->setEnabled(person);
    const bool note = m_noteTo > 0;
    const bool advance = !note && cbFakturaKind->currentIndex() == kcAdvance;
    cbFakturaKind->setEnabled(!note);
    cbFakturaSeries->setEnabled(!note && cbFakturaKind->currentIndex() != kcProforma);
    edFakturaAdvance->setEnabled(advance);
    cbFakturaAdvanceRate->setEnabled(advance);
    tblFakturaLines->setEnabled(!advance);
    acFakturaNew->setEnabled(note);
}

void TFFaktura::FillBuyerOfEik()
{
    const QString eik = cbFakturaEik->currentText().trimmed();
    if (eik.isEmpty())
        return;
    try {
        if (const std::optional<TBuyer> buyer = FindBuyer(eik)) {
            chkFakturaPerson->setChecked(false);
            edFakturaName->setText(buyer->Name);
            edFakturaVat->setText(buyer->VatNumber);
            edFakturaAddress->setText(buyer->Address);
            edFakturaMol->setText(buyer->Accountable);
        }
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
}

TBuyer TFFaktura::Buyer() const
{
    TBuyer buyer;
    buyer.Person = chkFakturaPerson->isChecked();
    buyer.Name = edFakturaName->text().trimmed();
    buyer.Address = edFakturaAddress->text().trimmed();
    if (buyer.Person) {
        buyer.PersonalNumber = edFakturaPersonal->text().trimmed();
    } else {
        buyer.Eik = cbFakturaEik->currentText().trimmed();
        buyer.VatNumber = Invoices::Compact(edFakturaVat->text());
        buyer.Accountable = edFakturaMol->text().trimmed();
    }
    return buyer;
}

QList<int> TFFaktura::ChosenCharges() const
{
    QList<int> charges;
    for (int row = 0; row < tblFakturaLines->rowCount(); ++row)
        if (tblFakturaLines->item(row, colChosen)->checkState() == Qt::Checked)
            charges.append(tblFakturaLines->item(row, colChosen)->data(Qt::UserRole).toInt());
    return charges;
}

QList<TNoteLine> TFFaktura::ChosenNoteLines() const
{
    QList<TNoteLine> lines;
    for (int row = 0; row < tblFakturaLines->rowCount(); ++row) {
        if (tblFakturaLines->item(row, colChosen)->checkState() != Qt::Checked)
            continue;
        lines.append({tblFakturaLines->item(row, colChosen)->data(Qt::UserRole).toInt(),
                      typedAmount(tblFakturaLines->item(row, colAmount)->text(),
                                  msgNoteLineInvalid.arg(tblFakturaLines->item(row, colText)->text()))});
    }
    return lines;
}

void TFFaktura::acFakturaIssueExecute()
{
    int document = 0;
    try {
        const int series = cbFakturaSeries->currentData().toInt();
        const int method = cbFakturaMethod->currentIndex();
        if (m_noteTo > 0) {
            document = IssueNote(m_noteKind, m_noteTo, ChosenNoteLines(), dtpFakturaTaxEvent->date());
        } else if (cbFakturaKind->currentIndex() == kcAdvance) {
            const TDecimal amount = typedAmount(edFakturaAdvance->text(), msgAdvanceInvalid, edFakturaAdvance);
            const QVariant rate = LocalConnection().Column(QStringLiteral("SELECT MIN(q165) FROM DDSStavki WHERE q164 = ?"),
                                                           {cbFakturaAdvanceRate->currentText()}).value(0);
            document = IssueAdvance(m_booking, amount, Vat::BasisPointsOf(TDecimal::FromVariant(rate)), Buyer(), series,
                                    dtpFakturaTaxEvent->date(), method);
        } else {
            const QList<int> charges = ChosenCharges();
            if (charges.isEmpty())
                throw EFrontDeskRefused(msgInvoiceNothing.arg(m_booking));
            document = Issue(cbFakturaKind->currentIndex() == kcProforma ? dkProforma : dkInvoice, m_booking, charges,
                             Buyer(), series, dtpFakturaTaxEvent->date(), method);
        }
    } catch (const EFrontDeskRefused &refusal) {
        LocalConnection().RollbackIfOpen();
        TKalvApplication::ShowDefaultError(refusal.Message());
        return;
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
        return;
    }
    Issued(document);
}

void TFFaktura::Issued(int document)
{
    m_noteTo = 0;
    m_noteToNumber.clear();
    ReloadList();
    FillSeries();
    FillLines();
    FitToChoices();
    emit DocumentRequested(document);
}

int TFFaktura::ChosenDocument() const
{
    const QModelIndex current = Grid()->currentIndex();
    return current.isValid() ? ListValue(current.row(), QStringLiteral("q182")).toInt() : 0;
}

void TFFaktura::RowChosen(int row)
{
    const int document = ListValue(row, QStringLiteral("q182")).toInt();
    if (document > 0)
        emit DocumentRequested(document);
}

void TFFaktura::acFakturaShowExecute()
{
    if (const int document = ChosenDocument())
        emit DocumentRequested(document);
}

void TFFaktura::StartNote(TKind kind)
{
    const QModelIndex current = Grid()->currentIndex();
    const int invoice = ChosenDocument();
    if (invoice <= 0 || ListValue(current.row(), QStringLiteral("q183")).toInt() != dkInvoice) {
        TKalvApplication::ShowDefaultError(msgNoteNoInvoice);
        return;
    }
    m_noteKind = kind;
    m_noteTo = invoice;
    m_noteToNumber = ListValue(current.row(), QStringLiteral("q184")).toString().trimmed();
    try {
        FillLines();
    } catch (const Exception &error) {
        LocalConnection().RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
    FitToChoices();
    Pages()->setCurrentWidget(tsFakturaLines);
}

void TFFaktura::acFakturaCreditExecute() { StartNote(dkCredit); }

void TFFaktura::acFakturaDebitExecute() { StartNote(dkDebit); }

void TFFaktura::acFakturaNewExecute()
{
    m_noteTo = 0;
    m_noteToNumber.clear();
    FillLines();
    FitToChoices();
}
