// Hostile texts in the speed box. Whatever is in the box, the automatic run
// waits its leading number times 5 ms, halves rounded to the even neighbour;
// no number, zero or a negative one give no wait, and a wait beyond the
// largest 32-bit value is clamped to it. Full-width digits, point, plus and
// minus (and the minus sign U+2212) count as their ASCII forms, the
// ideographic space U+3000 as a blank. Nothing the pupil types may crash
// the program or make it misbehave (this suite also runs under the address
// and undefined-behaviour sanitizers).
//
// The expectations come from a parser written here from that rule alone,
// and, for the named rows, from hand-worked values.
#include "TestSupport.h"

#include "motion/RunRules.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <clocale>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <random>
#include <string>

namespace {

constexpr int msPerSpeedUnit = 5;
constexpr int longestWait = INT_MAX;
// Runs are played only for texts whose wait is at most this long; longer
// waits are checked through the rule alone.
constexpr int longestWaitPlayed = 20;
constexpr int stepsToLastHalf = 19; // B to x = 9.5: the run from there is one step
constexpr int longText = 10000;     // characters in the longest texts

// What the Japanese input method types for a digit, a point, a sign or a
// blank, read as ASCII; everything else as it is.
char16_t halfWidth(char16_t c)
{
    if (c >= 0xFF10 && c <= 0xFF19)
        return char16_t(u'0' + (c - 0xFF10));
    if (c == 0xFF0E)
        return u'.';
    if (c == 0xFF0B)
        return u'+';
    if (c == 0x3000)
        return u' ';
    return c == 0xFF0D || c == 0x2212 ? u'-' : c;
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// The leading number of `text` as plain ASCII, or an empty string when the
// text has none: blanks skipped, then [sign] digits [. digits] with at least
// one digit, then an exponent (E or D, either case, [sign] digits) if one
// follows in full.
std::string leadingNumberText(const QString &text)
{
    const qsizetype n = text.size();
    auto at = [&](qsizetype k) -> char16_t { return k < n ? halfWidth(text[k].unicode()) : u'\0'; };
    qsizetype i = 0;
    while (i < n && isBlank(at(i)))
        ++i;
    std::string number;
    if (at(i) == u'+' || at(i) == u'-')
        number += char(at(i++));
    bool anyDigit = false;
    while (isDigit(at(i))) {
        number += char(at(i++));
        anyDigit = true;
    }
    if (at(i) == u'.') {
        number += '.';
        ++i;
        while (isDigit(at(i))) {
            number += char(at(i++));
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return {};
    const char16_t e = at(i);
    if (e == u'e' || e == u'E' || e == u'd' || e == u'D') {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (at(j) == u'+' || at(j) == u'-')
            exponent += char(at(j++));
        if (isDigit(at(j))) {
            while (isDigit(at(j)))
                exponent += char(at(j++));
            number += exponent;
        }
    }
    return number;
}

// The wait the run must ask for with `text` in the speed box. The C
// library's own conversion, in the C locale, turns the digits into the
// nearest double (infinity beyond the largest, zero below the smallest).
int expectedWait(const QString &text)
{
    const std::string number = leadingNumberText(text);
    if (number.empty())
        return 0;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const double value = strtod_l(number.c_str(), nullptr, cLocale);
    const double ms = std::nearbyint(value * msPerSpeedUnit);
    if (!(ms > 0))
        return 0;
    return ms >= double(longestWait) ? longestWait : int(ms);
}

// A text shown in a message: control characters and long runs made readable.
QString shown(const QString &text)
{
    QString out;
    for (QChar c : text.left(60))
        out += c.unicode() < 0x20 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')) : QString(c);
    if (text.size() > 60)
        out += QStringLiteral("... (%1 characters)").arg(text.size());
    return out;
}

QString repeated(char16_t c, int count) { return QString(count, QChar(c)); }

// Texts built from the pieces a pupil's typing is made of: blanks, signs,
// digits, points, exponents and whatever follows. Half of them start with a
// small number, so that their runs are short enough to play.
QStringList generatedTexts(int count, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    auto pick = [&rng](const QStringList &choices) {
        return choices[std::uniform_int_distribution<int>(0, int(choices.size()) - 1)(rng)];
    };
    auto digits = [&rng](int most) {
        QString s;
        const int length = std::uniform_int_distribution<int>(0, most)(rng);
        for (int i = 0; i < length; ++i)
            s += QChar(u'0' + std::uniform_int_distribution<int>(0, 9)(rng));
        return s;
    };
    const QStringList leads = {"", "", " ", "  ", "\t", "\n", "\r\n ", QString(QChar(0x3000)), QString(QChar(0xA0))};
    const QStringList signs = {"", "", "", "+", "-", "--", "+-", "- "};
    const QStringList smallWholes = {"", "0", "1", "2", "3", "4", "00", "0003"};
    const QStringList exponents = {"", "", "", "e", "E0", "e-1", "e-3", "D0", "d-2", "e+", "e-400",
                                   "E-99999999999999999999", "e1", "e2", "E+400", "e99999999999999999999"};
    const QStringList tails = {"", "", "abc", " 5", "cm", QString(QChar(0)) + "7", "５０", ",000", "e", ".",
                               "..", "x10", "NaN", QString(QChar(0xD800)), "速度", "\t9", "-1", "1"};
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QString text = pick(leads) + pick(signs);
        if (i % 2 == 0) { // a small number, mostly short enough to run
            text += pick(smallWholes);
            if (rng() % 2)
                text += QLatin1Char('.') + digits(3);
            text += pick({"", "", "", "e0", "e-1", "D-2", "E-400"});
        } else {
            text += digits(12);
            if (rng() % 2)
                text += QLatin1Char('.') + digits(8);
            text += pick(exponents);
        }
        text += pick(tails);
        texts << text;
    }
    return texts;
}

// Texts of 10,000 characters and numbers at the edges of the double range.
QStringList longTexts(std::uint32_t seed)
{
    std::mt19937 rng(seed);
    QString junk;
    for (int i = 0; i < longText; ++i)
        junk += QChar(char16_t(std::uniform_int_distribution<int>(1, 0xFFFF)(rng)));
    QString letters;
    for (int i = 0; i < longText - 1; ++i)
        letters += QChar(char16_t(u'a' + i % 26));
    return {
        repeated(u'9', longText),
        repeated(u'0', longText - 1) + QStringLiteral("3"),
        QStringLiteral("0.") + repeated(u'0', longText - 3) + QStringLiteral("1"),
        QStringLiteral("1") + repeated(u'0', longText - 1),
        QStringLiteral("3") + letters,
        junk,
        QStringLiteral("2") + junk,
        repeated(u' ', longText),
        repeated(u' ', longText - 1) + QStringLiteral("4"),
        QStringLiteral("1e") + repeated(u'9', longText),
        QStringLiteral("1e-") + repeated(u'9', longText),
        QStringLiteral("0e") + repeated(u'9', longText),
        QStringLiteral("2") + QString(QChar(0)) + junk,
        repeated(u'-', longText),
        repeated(u'.', longText),
        // a fraction far below the smallest double, scaled back by a small
        // exponent: still far below it
        QStringLiteral("0.") + repeated(u'0', 400) + QStringLiteral("1e5"),
        QStringLiteral("0.") + repeated(u'0', 400) + QStringLiteral("1e300"),
        // the same fractions scaled back into range
        QStringLiteral("0.") + repeated(u'0', 300) + QStringLiteral("1e302"),
        QStringLiteral("0.") + repeated(u'0', 400) + QStringLiteral("1e402"),
        QStringLiteral("1") + repeated(u'0', 400) + QStringLiteral("e-400"),
        QStringLiteral("1") + repeated(u'0', 400) + QStringLiteral("e-900"),
    };
}

// Types `text` key by key into the emptied box.
void typeText(QLineEdit *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    testsupport::typeKeys(edit, text);
}

} // namespace

class HostileSpeedTest : public QObject
{
    Q_OBJECT

    QStringList m_texts; // every hostile text: the named rows' and the generated ones
    QStringList m_generated;

private slots:
    void initTestCase()
    {
        testsupport::setUpTestApplication();
        constexpr int generatedCount = 1200;
        m_generated = generatedTexts(generatedCount, 20240611u) + longTexts(7u);
    }

    void cleanupTestCase()
    {
        qInfo("hostile speed texts: %lld named, %lld generated or long", qlonglong(m_texts.size()),
              qlonglong(m_generated.size()));
    }

    // Hand-worked waits; the parser above must agree with them too.
    void namedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("wait");
        const QChar nul(0);
        auto row = [this](const char *name, const QString &text, int wait) {
            QTest::newRow(name) << text << wait;
            m_texts << text;
        };
        row("empty", "", 0);
        row("one blank", " ", 0);
        row("blanks", "     ", 0);
        row("tab then 3", "\t3", 15);
        row("line feed then 4", "\n4", 20);
        row("letters", "abc", 0);
        row("list 0", " 0", 0);
        row("list 10", "10", 50);
        row("list 50", "50", 250);
        row("list 200", "200", 1000);
        row("plus 3", "+3", 15);
        row("minus 7", "-7", 0);
        row("minus zero", "-0", 0);
        row("minus only", "-", 0);
        row("plus only", "+", 0);
        row("point only", ".", 0);
        row("point 5: 2.5 to even", ".5", 2);
        row("0.1: 0.5 to even", "0.1", 0);
        row("0.3: 1.5 to even", "0.3", 2);
        row("0.7: 3.5 to even", "0.7", 4);
        row("0.9: 4.5 to even", "0.9", 4);
        row("2.5: 12.5 to even", "2.5", 12);
        row("minus point 5", "-.5", 0);
        row("plus point 5", "+.5", 2);
        row("two points", "1.2.3", 6);
        row("point point 5", "..5", 0);
        row("sign blank digit", "- 5", 0);
        row("plus blank digit", "+ 5", 0);
        row("two minus signs", "--5", 0);
        row("plus minus", "+-5", 0);
        row("exponent", "1e1", 50);
        row("capital exponent", "1E1", 50);
        row("D exponent", "1D1", 50);
        row("negative exponent", "2e-1", 1);
        row("bare e", "1e", 5);
        row("e plus", "1e+", 5);
        row("e minus", "1e-", 5);
        row("exponent twice", "1e1e1", 50);
        row("1e400", "1e400", longestWait);
        row("-1e400", "-1e400", 0);
        row("1e-400", "1e-400", 0);
        row("1e308", "1e308", longestWait);
        row("smallest double", "4.9e-324", 0);
        row("long exponent", "1e99999999999999999999", longestWait);
        row("long negative exponent", "1e-99999999999999999999", 0);
        row("zero, long exponent", "0e99999999999999999999", 0);
        row("NaN", "NaN", 0);
        row("nan", "nan", 0);
        row("Infinity", "Infinity", 0);
        row("-inf", "-inf", 0);
        row("full-width 50", "５０", 250);
        row("full-width 5", "５", 25);
        row("full-width 10 then letters", "１０ｃｍ", 50);
        row("full-width 1.5: 7.5 to even", "１．５", 8);
        row("full-width digits, ASCII point", "１.５", 8);
        row("ASCII digits, full-width point", "2．5", 12);
        row("full-width minus 5", "－５", 0);
        row("full-width minus in the exponent", "2e－1", 1);
        row("minus sign in the exponent", "2e\u22121", 1);
        row("full-width plus 5", "＋５", 25);
        row("full-width plus 10", "＋１０", 50);
        row("full-width plus in the exponent", "1e＋1", 50);
        row("prolonged sound mark is no minus", "ー５", 0);
        row("full-width E is no exponent", "１Ｅ１", 5);
        row("0x10", "0x10", 0);
        row("&H10", "&H10", 0);
        row("1,000", "1,000", 5);
        row(" 50abc", " 50abc", 250);
        row("5 0", "5 0", 25);
        row("1_000", "1_000", 5);
        row("many leading zeros", "0000000000000000000004", 20);
        row("NUL after 5", QStringLiteral("5") + nul, 25);
        row("NUL then 5", QString(nul) + QStringLiteral("5"), 0);
        row("1 NUL 2", QStringLiteral("1") + nul + QStringLiteral("2"), 5);
        row("ideographic space then 5", QString(QChar(0x3000)) + QStringLiteral("5"), 25);
        row("ideographic space then full-width 10", QStringLiteral("　１０"), 50);
        row("blank and ideographic space then +10", QStringLiteral(" 　＋１０"), 50);
        row("no-break space then 5", QString(QChar(0xA0)) + QStringLiteral("5"), 0);
        row("Arabic-Indic digits", QStringLiteral("١٢"), 0);
        row("mathematical digit five", QStringLiteral("𝟓"), 0);
        row("lone surrogate then 5", QString(QChar(0xD800)) + QStringLiteral("5"), 0);
        row("3 then lone surrogate", QStringLiteral("3") + QChar(0xDC00), 15);
        row("largest wait", "429496729.4", longestWait);
        row("half below the largest, to even", "429496729.3", 2147483646);
        row("half above the largest", "429496729.5", longestWait);
        row("beyond the largest", "429496730", longestWait);
        row("largest 32-bit number", "2147483647", longestWait);
        row("tiny fraction, small exponent", QStringLiteral("0.") + repeated(u'0', 400) + QStringLiteral("1e5"), 0);
        row("tiny fraction scaled to 10", QStringLiteral("0.") + repeated(u'0', 400) + QStringLiteral("1e402"), 50);
        row("10,000 nines", repeated(u'9', longText), longestWait);
        row("10,000 characters ending in 3", repeated(u'0', longText - 1) + QStringLiteral("3"), 15);
        row("10,000 blanks", repeated(u' ', longText), 0);
    }

    void namedText()
    {
        QFETCH(QString, text);
        QFETCH(int, wait);
        QCOMPARE(expectedWait(text), wait); // the parser of this suite
        QCOMPARE(motion::waitForSpeedText(text), wait);
    }

    // Every generated and long text: the program's wait equals the parser's.
    void generatedText()
    {
        QStringList mismatches;
        for (const QString &text : std::as_const(m_generated)) {
            const int got = motion::waitForSpeedText(text);
            const int want = expectedWait(text);
            if (got != want)
                mismatches << QStringLiteral("'%1': %2 ms, expected %3").arg(shown(text)).arg(got).arg(want);
        }
        QVERIFY2(mismatches.isEmpty(), qPrintable(QStringLiteral("%1 of %2 texts:\n").arg(mismatches.size()).arg(m_generated.size()) +
                                                  mismatches.mid(0, 10).join(QLatin1Char('\n'))));
    }

    // The real box and a real run: from x = 9.5 the run takes one step and
    // asks for one wait, the one the box's text gives. Every text goes into
    // the box; those whose wait is short are also played, every third one
    // typed key by key rather than set.
    void runFromTheBox()
    {
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form, testsupport::patienceMs));
        for (int i = 0; i < stepsToLastHalf; ++i)
            QTest::mouseClick(form.controls().susumu, Qt::LeftButton);
        QCOMPARE(form.controls().Text1->text(), QStringLiteral(" 9.5"));

        QSignalSpy waits(&form, &Form1::waitStarted);
        QLineEdit *edit = form.controls().Combo1->lineEdit();
        const QStringList all = m_texts + m_generated;
        int played = 0, typed = 0, typedChanged = 0, tooLong = 0;
        for (qsizetype i = 0; i < all.size(); ++i) {
            const QString &text = all[i];
            const bool byKeys = i % 3 == 0 && text.size() <= 60;
            if (byKeys) {
                typeText(edit, text);
                ++typed;
            } else {
                form.controls().Combo1->setCurrentText(text);
                QCOMPARE(form.controls().Combo1->currentText(), text);
            }
            // What the pupil sees in the box is what the run reads.
            const QString inBox = form.controls().Combo1->currentText();
            if (byKeys && inBox != text)
                ++typedChanged; // characters the box does not take, or its completion
            const int want = expectedWait(inBox);
            // A text on which the rule and the parser disagree is reported by
            // namedText and generatedText; it is not played, lest the run
            // wait for days.
            if (want > longestWaitPlayed || motion::waitForSpeedText(inBox) != want) {
                ++tooLong;
                continue;
            }

            waits.clear();
            QElapsedTimer clock;
            clock.start();
            QTest::mouseClick(form.controls().jidou, Qt::LeftButton);
            testsupport::waitForRunEnd(form);
            const qint64 took = clock.elapsed();
            QVERIFY2(waits.size() == 1, qPrintable(QStringLiteral("'%1': %2 waits").arg(shown(inBox)).arg(waits.size())));
            QVERIFY2(waits.first().first().toInt() == want,
                     qPrintable(QStringLiteral("'%1': the run waited %2 ms, expected %3")
                                    .arg(shown(inBox)).arg(waits.first().first().toInt()).arg(want)));
            QVERIFY2(took >= want - 1, qPrintable(QStringLiteral("'%1': the run took %2 ms for a wait of %3")
                                                      .arg(shown(inBox)).arg(took).arg(want)));
            QCOMPARE(form.controls().Text1->text(), QStringLiteral(" 10.0"));
            QVERIFY(!form.isRunning() && form.controls().jidou->isEnabled() && !form.controls().tomeru->isEnabled());
            QTest::mouseClick(form.controls().modoru, Qt::LeftButton);
            QCOMPARE(form.controls().Text1->text(), QStringLiteral(" 9.5"));
            ++played;
        }
        qInfo("%lld texts in the box (%d typed key by key, %d of them shown otherwise than typed): "
              "%d runs played, %d texts with waits over %d ms checked by the rule alone",
              qlonglong(all.size()), typed, typedChanged, played, tooLong, longestWaitPlayed);
        QVERIFY(all.size() >= 1000);
        QVERIFY(played >= all.size() / 3);
    }
};

QTEST_MAIN(HostileSpeedTest)
#include "tst_hostile_speed.moc"
