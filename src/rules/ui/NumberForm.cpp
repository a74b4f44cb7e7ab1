#include "NumberForm.h"

#include <QByteArray>

#include <cmath>
#include <limits>
#include <string>

namespace ui {
namespace {

constexpr int doubleDigits = 15; // significant digits of a double value
constexpr int floatDigits = 7;   // significant digits of a single value

// Qt's own conversion, in printf's %.*g form: the shortest digits up to
// `digits` significant ones, trailing zeros dropped, an exponent only where
// the number is too large or too small for plain digits. It is the same on
// every platform and in every locale.
QString formatGeneral(double value, int digits)
{
    if (value == 0)
        value = 0; // folds -0 into +0
    QString text = QString::number(value, 'g', digits);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    text.prepend(negative ? QLatin1Char('-') : QLatin1Char(' '));
    return text;
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

} // namespace

QString generalNumber(double value) { return formatGeneral(value, doubleDigits); }
QString generalNumber(float value) { return formatGeneral(double(value), floatDigits); }

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;

    // Collect the longest leading number as plain ASCII:
    // [sign] digits [. digits] [(E|D) [sign] digits].
    std::string number;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    long long integerDigits = 0;  // significant digits before the point
    long long fractionZeros = 0;  // zeros after the point before any other digit
    bool anyDigit = false;
    while (i < n && isDigit(text[i])) {
        if (integerDigits > 0 || text[i] != QLatin1Char('0'))
            ++integerDigits;
        number += char(text[i].unicode());
        anyDigit = true;
        ++i;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        number += '.';
        ++i;
        bool significant = integerDigits > 0;
        while (i < n && isDigit(text[i])) {
            significant = significant || text[i] != QLatin1Char('0');
            if (!significant)
                ++fractionZeros;
            number += char(text[i].unicode());
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit)
        return 0.0;

    long long exponent = 0;
    if (i < n) {
        const QChar e = text[i].toUpper();
        if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
            qsizetype j = i + 1;
            bool expNegative = false;
            if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) {
                expNegative = text[j] == QLatin1Char('-');
                ++j;
            }
            std::string expDigits;
            while (j < n && isDigit(text[j])) {
                expDigits += char(text[j].unicode());
                ++j;
            }
            if (!expDigits.empty()) {
                number += expNegative ? "e-" : "e";
                number += expDigits;
                // Only its rough size matters, for telling overflow from underflow.
                exponent = expDigits.size() > 12 ? 1'000'000'000'000LL : std::stoll(expDigits);
                if (expNegative)
                    exponent = -exponent;
            }
        }
    }

    // Qt's C-locale conversion: the program's locale never changes the point.
    bool ok = false;
    double value = QByteArray::fromStdString(number).toDouble(&ok);
    if (!ok) {
        // Out of range either way: the decimal exponent's sign tells which.
        const long long magnitude = (integerDigits > 0 ? integerDigits : -fractionZeros) + exponent;
        const bool overflow = magnitude > 0;
        value = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

QString halfWidthNumber(QStringView text)
{
    QString out = text.toString();
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u >= u'０' && u <= u'９')
            c = QChar(char16_t(u'0' + (u - u'０')));
        else if (u == u'．')
            c = QLatin1Char('.');
        else if (u == u'＋')
            c = QLatin1Char('+');
        else if (u == u'－' || u == u'\u2212')
            c = QLatin1Char('-');
        else if (u == u'\u3000')
            c = QLatin1Char(' ');
    }
    return out;
}

} // namespace ui
