#include "UDecimal.h"

#include "errors/UErrors.h"

#include <algorithm>

namespace {

EConvertError notANumber(const QString &text)
{
    return EConvertError(QStringLiteral("'%1' is not a valid decimal number").arg(text));
}

} // namespace

TDecimal TDecimal::FromText(const QString &input)
{
    const QString text = input.trimmed();
    int at = 0;
    TDecimal result;
    if (at < text.size() && (text.at(at) == QLatin1Char('-') || text.at(at) == QLatin1Char('+')))
        result.m_negative = text.at(at++) == QLatin1Char('-');
    QString digits;
    int scale = 0;
    bool point = false;
    for (; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits += c;
            scale += point ? 1 : 0;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits.isEmpty())
        throw notANumber(input);
    if (at < text.size()) {
        // An exponent, as a binary fraction's shortest text may carry one.
        if (text.at(at).toLower() != QLatin1Char('e'))
            throw notANumber(input);
        bool ok = false;
        const int exponent = text.mid(at + 1).toInt(&ok);
        if (!ok || exponent > 400 || exponent < -400)
            throw notANumber(input);
        scale -= exponent;
    }
    if (scale < 0) {
        digits += QString(-scale, QLatin1Char('0'));
        scale = 0;
    }
    for (int i = int(digits.size()) - 1; i >= 0; --i)
        result.m_digits.push_back(digits.at(i).digitValue());
    result.m_scale = scale;
    result.Normalise();
    return result;
}

TDecimal TDecimal::FromDouble(double value) { return FromText(QString::number(value, 'g', 15)); }

TDecimal TDecimal::FromVariant(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return FromDouble(value.toDouble());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return FromText(QString::number(value.toLongLong()));
    default:
        return value.toString().trimmed().isEmpty() ? TDecimal() : FromText(value.toString());
    }
}

void TDecimal::Normalise()
{
    size_t drop = 0;
    while (drop < m_digits.size() && m_scale > 0 && m_digits[drop] == 0) {
        ++drop;
        --m_scale;
    }
    m_digits.erase(m_digits.begin(), m_digits.begin() + long(drop));
    while (!m_digits.empty() && m_digits.back() == 0)
        m_digits.pop_back();
    if (m_digits.empty()) {
        m_negative = false;
        m_scale = 0;
    }
}

TDecimal TDecimal::WithScale(int scale) const
{
    TDecimal result = *this;
    if (scale > m_scale && !m_digits.empty())
        result.m_digits.insert(result.m_digits.begin(), size_t(scale - m_scale), 0);
    result.m_scale = std::max(scale, m_scale);
    return result;
}

int TDecimal::CompareMagnitude(const TDecimal &a, const TDecimal &b)
{
    const int scale = std::max(a.m_scale, b.m_scale);
    const TDecimal x = a.WithScale(scale), y = b.WithScale(scale);
    if (x.m_digits.size() != y.m_digits.size())
        return x.m_digits.size() < y.m_digits.size() ? -1 : 1;
    for (size_t i = x.m_digits.size(); i-- > 0;)
        if (x.m_digits[i] != y.m_digits[i])
            return x.m_digits[i] < y.m_digits[i] ? -1 : 1;
    return 0;
}

int TDecimal::Compare(const TDecimal &other) const
{
    if (m_negative != other.m_negative)
        return m_negative ? -1 : 1;
    const int magnitude = CompareMagnitude(*this, other);
    return m_negative ? -magnitude : magnitude;
}

bool TDecimal::operator==(const TDecimal &other) const { return Compare(other) == 0; }

std::vector<int> TDecimal::AddMagnitude(const std::vector<int> &a, const std::vector<int> &b)
{
    std::vector<int> sum;
    int carry = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
        const int digit = (i < a.size() ? a[i] : 0) + (i < b.size() ? b[i] : 0) + carry;
        sum.push_back(digit % 10);
        carry = digit / 10;
    }
    return sum;
}

// a - b where |a| >= |b|.
std::vector<int> TDecimal::SubtractMagnitude(const std::vector<int> &a, const std::vector<int> &b)
{
    std::vector<int> difference;
    int borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int digit = a[i] - (i < b.size() ? b[i] : 0) - borrow;
        borrow = digit < 0 ? 1 : 0;
        difference.push_back(digit + borrow * 10);
    }
    return difference;
}

TDecimal TDecimal::operator+(const TDecimal &other) const
{
    const int scale = std::max(m_scale, other.m_scale);
    const TDecimal x = WithScale(scale), y = other.WithScale(scale);
    TDecimal result;
    result.m_scale = scale;
    if (x.m_negative == y.m_negative) {
        result.m_digits = AddMagnitude(x.m_digits, y.m_digits);
        result.m_negative = x.m_negative;
    } else if (CompareMagnitude(x, y) >= 0) {
        result.m_digits = SubtractMagnitude(x.m_digits, y.m_digits);
        result.m_negative = x.m_negative;
    } else {
        result.m_digits = SubtractMagnitude(y.m_digits, x.m_digits);
        result.m_negative = y.m_negative;
    }
    result.Normalise();
    return result;
}

TDecimal TDecimal::operator-(const TDecimal &other) const
{
    TDecimal negated = other;
    if (!negated.m_digits.empty())
        negated.m_negative = !negated.m_negative;
    return *this + negated;
}

TDecimal TDecimal::operator*(const TDecimal &other) const
{
    TDecimal result;
    if (m_digits.empty() || other.m_digits.empty())
        return result;
    std::vector<int> product(m_digits.size() + other.m_digits.size() + 1, 0);
    for (size_t i = 0; i < m_digits.size(); ++i)
        for (size_t j = 0; j < other.m_digits.size(); ++j)
            product[i + j] += m_digits[i] * other.m_digits[j];
    for (size_t i = 0; i + 1 < product.size(); ++i) {
        product[i + 1] += product[i] / 10;
        product[i] %= 10;
    }
    result.m_digits = product;
    result.m_scale = m_scale + other.m_scale;
    result.m_negative = m_negative != other.m_negative;
    result.Normalise();
    return result;
}

TDecimal TDecimal::Rounded(int places) const
{
    if (m_scale <= places)
        return *this;
    const size_t drop = size_t(m_scale - places);
    TDecimal result;
    result.m_negative = m_negative;
    result.m_scale = places;
    result.m_digits.assign(m_digits.begin() + long(std::min(drop, m_digits.size())), m_digits.end());
    // Half away from zero: the magnitude goes up when the first dropped digit is 5 or more.
    if (drop <= m_digits.size() && m_digits[drop - 1] >= 5)
        result.m_digits = AddMagnitude(result.m_digits, {1});
    result.Normalise();
    return result;
}

QString TDecimal::ToString() const
{
    if (m_digits.empty())
        return QStringLiteral("0");
    QString text;
    for (size_t i = m_digits.size(); i-- > 0;)
        text += QChar(QLatin1Char(char('0' + m_digits[i])));
    if (m_scale > 0) {
        if (text.size() <= m_scale)
            text.prepend(QString(m_scale - int(text.size()) + 1, QLatin1Char('0')));
        text.insert(text.size() - m_scale, QLatin1Char('.'));
    }
    return m_negative ? QLatin1Char('-') + text : text;
}

QString TDecimal::ToFixed(int places) const
{
    const TDecimal rounded = Rounded(places);
    QString text = rounded.ToString();
    if (places <= 0)
        return text;
    const int point = int(text.indexOf(QLatin1Char('.')));
    const int have = point < 0 ? 0 : int(text.size()) - point - 1;
    if (point < 0)
        text += QLatin1Char('.');
    return text + QString(places - have, QLatin1Char('0'));
}

TDecimal TDecimal::FromCents(qint64 cents)
{
    const qint64 magnitude = cents < 0 ? -cents : cents;
    return FromText(QStringLiteral("%1%2.%3")
                        .arg(cents < 0 ? QStringLiteral("-") : QString())
                        .arg(magnitude / 100)
                        .arg(magnitude % 100, 2, 10, QLatin1Char('0')));
}
