#include "UInvoiceText.h"

#include <QStringList>

namespace InvoiceText {

namespace {

// Every word a document prints, in its two languages: the one place to change a heading.
struct TWord {
    const char *Bulgarian, *English;
};

enum TLabel {
    lbOriginal, lbNumber, lbIssued, lbTaxEvent, lbAdvancePaid, lbToInvoice, lbSeller, lbBuyer, lbEik, lbVatNumber,
    lbAddress, lbAccountable, lbPersonalNumber, lbLineNo, lbLineText, lbQuantity, lbUnitNet, lbRate, lbNet, lbTax,
    lbGross, lbBaseAt, lbTaxAt, lbTotalNet, lbTotalTax, lbTotal, lbInWords, lbMethod, lbBank, lbIban, lbMadeBy,
    lbReceivedBy, lbNotTax, lbOutsideVat, lbAdvanceNote, lbBooking, lbHotel
};

const TWord kLabels[] = {
    {"Оригинал", "Original"},
    {"№", "No."},
    {"Дата на издаване", "Date of issue"},
    {"Дата на данъчното събитие", "Date of the taxable supply"},
    {"Дата на получаване на аванса", "Date the advance was received"},
    {"към фактура № %1 от %2", "to invoice No. %1 of %2"},
    {"Доставчик", "Supplier"},
    {"Получател", "Recipient"},
    {"ЕИК", "UIC (ЕИК)"},
    {"ИН по ДДС", "VAT No."},
    {"Адрес", "Address"},
    {"МОЛ", "Accountable person"},
    {"ЕГН", "Personal No."},
    {"№", "No."},
    {"Наименование", "Description"},
    {"Кол.", "Qty"},
    {"Ед. цена без ДДС", "Unit price excl. VAT"},
    {"ДДС %", "VAT %"},
    {"Стойност без ДДС", "Amount excl. VAT"},
    {"ДДС", "VAT"},
    {"Стойност с ДДС", "Amount incl. VAT"},
    {"Данъчна основа %1%", "Tax base %1%"},
    {"ДДС %1%", "VAT %1%"},
    {"Общо данъчна основа", "Total tax base"},
    {"Общо ДДС", "Total VAT"},
    {"Сума за плащане", "Amount due"},
    {"Словом", "In words"},
    {"Начин на плащане", "Payment method"},
    {"Банка", "Bank"},
    {"IBAN", "IBAN"},
    {"Съставил", "Issued by"},
    {"Получил", "Received by"},
    {"Проформата не е данъчен документ.", "A proforma is not a tax document."},
    {"Основание за неначисляване на ДДС: %1", "Reason no VAT is charged: %1"},
    {"Фактура за получено авансово плащане.", "Invoice of an advance payment received."},
    {"Резервация", "Booking"},
    {"Обект", "Premises"},
};

QString label(TLabel which, TLanguage language)
{
    const TWord &word = kLabels[which];
    return QString::fromUtf8(language == lgEnglish ? word.English : word.Bulgarian);
}

// Titles by kind (Invoices::TKind) and payment methods by FrontDesk::TPaymentMethod.
const TWord kTitles[] = {{"Фактура", "Invoice"},
                         {"Кредитно известие", "Credit note"},
                         {"Дебитно известие", "Debit note"},
                         {"Проформа фактура", "Proforma invoice"}};
const TWord kMethods[] = {{"В брой", "Cash"}, {"С карта", "Card"}, {"По банков път", "Bank transfer"}};

// What a currency's units are called: the whole unit (its gender, one, many) and its cent.
struct TCurrencyWords {
    const char *Code;
    TGender WholeGender;
    TWord One, Many;
    TGender CentGender;
    TWord Cent, Cents;
};
const TCurrencyWords kCurrencies[] = {
    {"EUR", gNeuter, {"евро", "euro"}, {"евро", "euro"}, gMasculine, {"евроцент", "cent"}, {"евроцента", "cents"}},
    {"BGN", gMasculine, {"лев", "lev"}, {"лева", "leva"}, gFeminine, {"стотинка", "stotinka"}, {"стотинки", "stotinki"}},
};

// Bulgarian: the words of 1..999 (the "и" before the last one added by the caller).
QStringList bulgarianTriplet(int n, TGender gender)
{
    static const char *const ones[] = {"", "един", "два", "три", "четири", "пет", "шест", "седем", "осем", "девет"};
    static const char *const teens[] = {"десет",        "единадесет",   "дванадесет",    "тринадесет",   "четиринадесет",
                                        "петнадесет",   "шестнадесет",  "седемнадесет",  "осемнадесет",  "деветнадесет"};
    static const char *const tens[] = {"", "", "двадесет", "тридесет", "четиридесет", "петдесет", "шестдесет",
                                       "седемдесет", "осемдесет", "деветдесет"};
    static const char *const hundreds[] = {"", "сто", "двеста", "триста", "четиристотин", "петстотин", "шестстотин",
                                           "седемстотин", "осемстотин", "деветстотин"};
    auto unit = [gender](int digit) {
        if (digit == 1)
            return QString::fromUtf8(gender == gMasculine ? "един" : gender == gFeminine ? "една" : "едно");
        if (digit == 2)
            return QString::fromUtf8(gender == gMasculine ? "два" : "две");
        return QString::fromUtf8(ones[digit]);
    };
    QStringList words;
    if (n / 100 > 0)
        words << QString::fromUtf8(hundreds[n / 100]);
    const int rest = n % 100;
    if (rest >= 10 && rest < 20) {
        words << QString::fromUtf8(teens[rest - 10]);
    } else {
        if (rest / 10 > 0)
            words << QString::fromUtf8(tens[rest / 10]);
        if (rest % 10 > 0)
            words << unit(rest % 10);
    }
    return words;
}

// "сто двадесет и три": "и" before the last word of a group of more than one.
QString joinedWithAnd(QStringList words)
{
    if (words.size() >= 2)
        words.insert(words.size() - 1, QStringLiteral("и"));
    return words.join(QLatin1Char(' '));
}

QString bulgarianWords(qint64 number, TGender gender)
{
    if (number == 0)
        return QStringLiteral("нула");
    struct TGroup {
        QStringList Digits;
        QString Text;
    };
    QList<TGroup> groups;
    const qint64 billions = number / 1000000000, millions = number / 1000000 % 1000, thousands = number / 1000 % 1000,
                 rest = number % 1000;
    if (billions > 0) {
        const QStringList digits = bulgarianTriplet(int(billions % 1000), gMasculine);
        groups.append({digits, billions == 1 ? QStringLiteral("един милиард") : joinedWithAnd(digits) + QStringLiteral(" милиарда")});
    }
    if (millions > 0) {
        const QStringList digits = bulgarianTriplet(int(millions), gMasculine);
        groups.append({digits, millions == 1 ? QStringLiteral("един милион") : joinedWithAnd(digits) + QStringLiteral(" милиона")});
    }
    if (thousands > 0) {
        const QStringList digits = bulgarianTriplet(int(thousands), gFeminine);
        groups.append({digits, thousands == 1 ? QStringLiteral("хиляда") : joinedWithAnd(digits) + QStringLiteral(" хиляди")});
    }
    if (rest > 0) {
        const QStringList digits = bulgarianTriplet(int(rest), gender);
        groups.append({digits, joinedWithAnd(digits)});
    }
    // "хиляда и пет", "две хиляди и сто": the last group takes the "и" when it is one word.
    QStringList texts;
    for (int i = 0; i < groups.size(); ++i) {
        const bool last = i == groups.size() - 1;
        if (last && i > 0 && groups.at(i).Digits.size() == 1)
            texts << QStringLiteral("и");
        texts << groups.at(i).Text;
    }
    return texts.join(QLatin1Char(' '));
}

QString englishTriplet(int n)
{
    static const char *const small[] = {"",        "one",     "two",       "three",    "four",     "five",    "six",
                                        "seven",   "eight",   "nine",      "ten",      "eleven",   "twelve",  "thirteen",
                                        "fourteen", "fifteen", "sixteen",  "seventeen", "eighteen", "nineteen"};
    static const char *const tens[] = {"", "", "twenty", "thirty", "forty", "fifty", "sixty", "seventy", "eighty", "ninety"};
    QStringList words;
    if (n / 100 > 0)
        words << QString::fromUtf8(small[n / 100]) + QStringLiteral(" hundred");
    const int rest = n % 100;
    if (rest > 0 && rest < 20)
        words << QString::fromUtf8(small[rest]);
    else if (rest >= 20)
        words << QString::fromUtf8(tens[rest / 10]) + (rest % 10 ? QStringLiteral("-") + QString::fromUtf8(small[rest % 10]) : QString());
    return words.join(QLatin1Char(' '));
}

QString englishWords(qint64 number)
{
    if (number == 0)
        return QStringLiteral("zero");
    static const char *const scales[] = {"billion", "million", "thousand", ""};
    const qint64 divisors[] = {1000000000, 1000000, 1000, 1};
    QStringList words;
    for (int i = 0; i < 4; ++i) {
        const int part = int(number / divisors[i] % 1000);
        if (part == 0)
            continue;
        words << englishTriplet(part);
        if (*scales[i])
            words << QString::fromUtf8(scales[i]);
    }
    return words.join(QLatin1Char(' '));
}

QString text(const TWord &word, TLanguage language)
{
    return QString::fromUtf8(language == lgEnglish ? word.English : word.Bulgarian);
}

QString escaped(const QString &value) { return value.toHtmlEscaped(); }

QString day(const QDate &date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }

QString money(const TDecimal &amount) { return amount.Cents().ToFixed(2); }

qint64 scaled(const TDecimal &amount, int places)
{
    return amount.Rounded(places).ToFixed(places).remove(QLatin1Char('.')).toLongLong();
}

// An amount over a quantity, to the cent, halves away from zero; exact on the decimals.
QString unitPrice(const TDecimal &amount, const TDecimal &quantity)
{
    const qint64 cents = amount.ToCents() * 1000, thousandths = scaled(quantity, 3);
    const qint64 magnitude = (2 * (cents < 0 ? -cents : cents) + thousandths) / (2 * thousandths);
    const qint64 unit = (cents < 0) != (thousandths < 0) ? -magnitude : magnitude;
    return QStringLiteral("%1%2.%3")
        .arg(unit < 0 ? QStringLiteral("-") : QString())
        .arg((unit < 0 ? -unit : unit) / 100)
        .arg((unit < 0 ? -unit : unit) % 100, 2, 10, QLatin1Char('0'));
}

QString percent(const TDecimal &rate)
{
    QString value = rate.Cents().ToFixed(2);
    while (value.endsWith(QLatin1Char('0')))
        value.chop(1);
    if (value.endsWith(QLatin1Char('.')))
        value.chop(1);
    return value;
}

// The party's block: name, numbers, address, the accountable person.
QString partyHtml(const QString &title, const QList<QPair<TLabel, QString>> &rows, const QString &name, TLanguage language)
{
    QString html = QStringLiteral("<td width='50%' valign='top' style='border:1px solid #888; padding:6px'><b>%1</b><br/>"
                                  "<span style='font-size:11pt'><b>%2</b></span>")
                       .arg(escaped(title), escaped(name));
    for (const auto &[which, value] : rows)
        if (!value.trimmed().isEmpty())
            html += QStringLiteral("<br/>%1: %2").arg(escaped(label(which, language)), escaped(value));
    return html + QStringLiteral("</td>");
}

QString headHtml(const Invoices::TDocument &document, TLanguage language)
{
    QString html = QStringLiteral("<h2 align='center' style='margin-bottom:0'>%1</h2>")
                       .arg(escaped(Title(document.Kind, language).toUpper()));
    if (document.Kind != Invoices::dkProforma)
        html += QStringLiteral("<p align='center' style='margin-top:2px'><b>%1 %2</b> &nbsp; %3</p>")
                    .arg(escaped(label(lbNumber, language)), escaped(document.Number), escaped(label(lbOriginal, language)));
    if (!document.RefersNumber.isEmpty())
        html += QStringLiteral("<p align='center'>%1</p>")
                    .arg(escaped(label(lbToInvoice, language).arg(document.RefersNumber, day(document.RefersIssued))));
    html += QStringLiteral("<p>%1: %2<br/>%3: %4<br/>%5: %6</p>")
                .arg(escaped(label(lbIssued, language)), day(document.Issued),
                     escaped(label(document.Advance ? lbAdvancePaid : lbTaxEvent, language)), day(document.TaxEvent),
                     escaped(label(lbBooking, language)), QString::number(document.Booking));
    return html;
}

QString partiesHtml(const Invoices::TDocument &document, TLanguage language)
{
    const Invoices::TSeller &seller = document.Seller;
    const Invoices::TBuyer &buyer = document.Buyer;
    const QString sellerName = seller.Name.isEmpty() ? seller.Hotel : seller.Name;
    QList<QPair<TLabel, QString>> buyerRows;
    if (buyer.Person)
        buyerRows = {{lbPersonalNumber, buyer.PersonalNumber}, {lbAddress, buyer.Address}};
    else
        buyerRows = {{lbEik, buyer.Eik}, {lbVatNumber, buyer.VatNumber}, {lbAddress, buyer.Address},
                     {lbAccountable, buyer.Accountable}};
    return QStringLiteral("<table width='100%' cellspacing='0' cellpadding='0'><tr>") +
           partyHtml(label(lbSeller, language),
                     {{lbEik, seller.Eik}, {lbVatNumber, seller.VatNumber}, {lbAddress, seller.Address},
                      {lbAccountable, seller.Accountable}, {lbHotel, seller.Name.isEmpty() ? QString() : seller.Hotel}},
                     sellerName, language) +
           partyHtml(label(lbBuyer, language), buyerRows, buyer.Name, language) + QStringLiteral("</tr></table>");
}

QString linesHtml(const Invoices::TDocument &document, TLanguage language)
{
    QString html = QStringLiteral("<br/><table width='100%' cellspacing='0' cellpadding='3' border='1' "
                                  "style='border-collapse:collapse; border-color:#888'><tr style='background:#eee'>");
    // The description takes what the figures leave.
    const QList<QPair<TLabel, int>> headings = {{lbLineNo, 4},  {lbLineText, 36}, {lbQuantity, 7}, {lbUnitNet, 11},
                                                {lbRate, 7},    {lbNet, 12},      {lbTax, 10},     {lbGross, 13}};
    for (const auto &[heading, width] : headings)
        html += QStringLiteral("<th width='%1%'>%2</th>").arg(width).arg(escaped(label(heading, language)));
    html += QStringLiteral("</tr>");
    int number = 0;
    for (const Invoices::TLine &line : document.Lines) {
        // The law asks the unit price without the tax (ЗДДС, чл. 114, ал. 1, т. 10).
        const TDecimal quantity = line.Quantity.IsZero() ? TDecimal(1) : line.Quantity;
        html += QStringLiteral("<tr><td align='right'>%1</td><td>%2</td><td align='right'>%3</td><td align='right'>%4</td>"
                               "<td align='right'>%5</td><td align='right'>%6</td><td align='right'>%7</td>"
                               "<td align='right'>%8</td></tr>")
                    .arg(++number)
                    .arg(escaped(line.Text), escaped(quantity.ToString()), unitPrice(line.Net, quantity),
                         percent(line.Percent), money(line.Net), money(line.Tax), money(line.Gross));
    }
    return html + QStringLiteral("</table>");
}

QString totalsHtml(const Invoices::TDocument &document, TLanguage language)
{
    const QString currency = escaped(document.Currency);
    QString html = QStringLiteral("<br/><table align='right' cellspacing='0' cellpadding='2'>");
    auto row = [&](const QString &name, const TDecimal &amount, bool bold) {
        html += QStringLiteral("<tr><td>%1%2%3</td><td align='right' style='padding-left:20px'>%1%4 %5%3</td></tr>")
                    .arg(bold ? QStringLiteral("<b>") : QString(), escaped(name), bold ? QStringLiteral("</b>") : QString(),
                         money(amount), currency);
    };
    for (const Vat::TRateTotal &rate : document.ByRate) {
        const QString rateText = percent(Vat::PercentOf(rate.BasisPoints));
        row(label(lbBaseAt, language).arg(rateText), rate.Net, false);
        row(label(lbTaxAt, language).arg(rateText), rate.Tax, false);
    }
    row(label(lbTotalNet, language), document.Net, false);
    row(label(lbTotalTax, language), document.Tax, false);
    row(label(lbTotal, language), document.Gross, true);
    return html + QStringLiteral("</table><br clear='all'/>");
}

QString footHtml(const Invoices::TDocument &document, TLanguage language)
{
    QString html = QStringLiteral("<p>%1: <i>%2</i></p>")
                       .arg(escaped(label(lbInWords, language)),
                            escaped(AmountInWords(document.Gross, document.Currency, language)));
    const bool outside = std::any_of(document.ByRate.cbegin(), document.ByRate.cend(),
                                     [](const Vat::TRateTotal &rate) { return rate.BasisPoints == 0; });
    if (outside && !document.OutsideBasis.isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(escaped(label(lbOutsideVat, language).arg(document.OutsideBasis)));
    if (document.Advance)
        html += QStringLiteral("<p>%1</p>").arg(escaped(label(lbAdvanceNote, language)));
    if (document.Kind == Invoices::dkProforma)
        html += QStringLiteral("<p><b>%1</b></p>").arg(escaped(label(lbNotTax, language)));
    if (document.Method >= 0 && document.Method < int(std::size(kMethods))) {
        html += QStringLiteral("<p>%1: %2").arg(escaped(label(lbMethod, language)), escaped(text(kMethods[document.Method], language)));
        if (document.Method == 2 && !document.Seller.Iban.isEmpty())
            html += QStringLiteral("<br/>%1: %2 &nbsp; %3: %4")
                        .arg(escaped(label(lbIban, language)), escaped(document.Seller.Iban), escaped(label(lbBank, language)),
                             escaped(document.Seller.Bank));
        html += QStringLiteral("</p>");
    }
    html += QStringLiteral("<br/><table width='100%'><tr><td>%1: %2</td><td align='right'>%3: ____________________</td>"
                           "</tr></table>")
                .arg(escaped(label(lbMadeBy, language)), escaped(document.Operator), escaped(label(lbReceivedBy, language)));
    return html;
}

} // namespace

QString NumberInWords(qint64 number, TGender gender, TLanguage language)
{
    const bool negative = number < 0;
    const qint64 magnitude = negative ? -number : number;
    const QString words = language == lgEnglish ? englishWords(magnitude) : bulgarianWords(magnitude, gender);
    if (!negative)
        return words;
    return (language == lgEnglish ? QStringLiteral("minus ") : QStringLiteral("минус ")) + words;
}

QString AmountInWords(const TDecimal &amount, const QString &currency, TLanguage language)
{
    QString digits = amount.Cents().ToFixed(2);
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative)
        digits.remove(0, 1);
    const qint64 whole = digits.section(QLatin1Char('.'), 0, 0).toLongLong();
    const int cents = digits.section(QLatin1Char('.'), 1, 1).toInt();
    const TCurrencyWords *words = nullptr;
    for (const TCurrencyWords &known : kCurrencies)
        if (currency.compare(QLatin1String(known.Code), Qt::CaseInsensitive) == 0)
            words = &known;
    QString result;
    if (words) {
        result = NumberInWords(whole, words->WholeGender, language) + QLatin1Char(' ') +
                 text(whole == 1 ? words->One : words->Many, language);
        if (cents > 0)
            result += (language == lgEnglish ? QStringLiteral(" and ") : QStringLiteral(" и ")) +
                      NumberInWords(cents, words->CentGender, language) + QLatin1Char(' ') +
                      text(cents == 1 ? words->Cent : words->Cents, language);
    } else {
        result = NumberInWords(whole, gMasculine, language) + QLatin1Char(' ') + currency +
                 QStringLiteral(" %1/100").arg(cents, 2, 10, QLatin1Char('0'));
    }
    if (negative)
        result = (language == lgEnglish ? QStringLiteral("minus ") : QStringLiteral("минус ")) + result;
    return result.left(1).toUpper() + result.mid(1);
}

QString Title(int kind, TLanguage language)
{
    return kind >= 0 && kind < int(std::size(kTitles)) ? text(kTitles[kind], language) : QString();
}

QString Html(const Invoices::TDocument &document, TLanguage language)
{
    return QStringLiteral("<html><body style='font-family:\"DejaVu Sans\"; font-size:9pt'>") + headHtml(document, language) +
           partiesHtml(document, language) + linesHtml(document, language) + totalsHtml(document, language) +
           footHtml(document, language) + QStringLiteral("</body></html>");
}

} // namespace InvoiceText
