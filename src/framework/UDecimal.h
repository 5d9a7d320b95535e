#pragma once
// Exact decimal amounts. Money is worked out on decimal digits, never on binary fractions, so
// that 12.345 × 3 rounds to 37.04 and a thousand charges of 0.10 add up to 100.00.

#include <QString>
#include <QVariant>
#include <vector>

class TDecimal
{
public:
    TDecimal() = default;
    explicit TDecimal(qint64 whole) : TDecimal(FromText(QString::number(whole))) {}

    // "-12.345", "7", ".5": digits with an optional sign and a "." as separator; raises EConvertError.
    static TDecimal FromText(const QString &text);
    // A number read from a server that keeps binary fractions: its shortest text of 15 digits.
    static TDecimal FromDouble(double value);
    // A stored amount: a number, a decimal text, or null (zero).
    static TDecimal FromVariant(const QVariant &value);

    TDecimal operator+(const TDecimal &other) const;
    TDecimal operator-(const TDecimal &other) const;
    TDecimal operator*(const TDecimal &other) const;
    TDecimal &operator+=(const TDecimal &other) { return *this = *this + other; }
    bool operator==(const TDecimal &other) const;
    bool operator!=(const TDecimal &other) const { return !(*this == other); }
    bool operator<(const TDecimal &other) const { return Compare(other) < 0; }
    bool IsZero() const { return m_digits.empty(); }
    bool IsNegative() const { return m_negative; }
    bool IsPositive() const { return !m_negative && !IsZero(); }

    // Rounded half away from zero to a number of decimal places.
    TDecimal Rounded(int places) const;
    TDecimal Cents() const { return Rounded(2); }
    // The amount in whole cents (rounded as Cents), and back: exact, from the decimal text.
    qint64 ToCents() const { return Cents().ToFixed(2).remove(QLatin1Char('.')).toLongLong(); }
    static TDecimal FromCents(qint64 cents);

    // The shortest exact text: "99.99", "100", "-0.5".
    QString ToString() const;
    // With a fixed number of places: "100.00".
    QString ToFixed(int places) const;
    double ToDouble() const { return ToString().toDouble(); }
    // How an amount is bound for storage: as its exact text, which every engine converts.
    QVariant ToVariant() const { return ToString(); }

private:
    int Compare(const TDecimal &other) const;
    static int CompareMagnitude(const TDecimal &a, const TDecimal &b);
    static std::vector<int> AddMagnitude(const std::vector<int> &a, const std::vector<int> &b);
    static std::vector<int> SubtractMagnitude(const std::vector<int> &a, const std::vector<int> &b);
    TDecimal WithScale(int scale) const;
    void Normalise();

    bool m_negative = false;
    std::vector<int> m_digits;  // least significant first, no leading zeros; empty is zero
    int m_scale = 0;            // digits after the decimal point
};
