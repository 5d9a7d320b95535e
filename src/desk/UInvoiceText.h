#pragma once
// What an issued document says on paper: its title, the seller and the buyer, the lines, the
// tax by rate, the total in words, how it is paid, and who made and took it. In Bulgarian, the
// language of tax documents here, or in English on request.

#include "UInvoices.h"

namespace InvoiceText {

enum TLanguage { lgBulgarian, lgEnglish };

// A whole number in words: "двеста и пет", "two hundred five". gender: the noun it counts
// (Bulgarian numerals agree with it: "един лев", "една стотинка", "едно евро").
enum TGender { gMasculine, gFeminine, gNeuter };
QString NumberInWords(qint64 number, TGender gender, TLanguage language);

// An amount with its currency in words, cents included: "сто двадесет и три евро и четиридесет
// и пет евроцента". A currency without words of its own is named by its code.
QString AmountInWords(const TDecimal &amount, const QString &currency, TLanguage language);

// The document as rich text, one page of A4 as a rule.
QString Html(const Invoices::TDocument &document, TLanguage language);

// Its title: "Фактура", "Кредитно известие", "Дебитно известие", "Проформа фактура".
QString Title(int kind, TLanguage language);

} // namespace InvoiceText
