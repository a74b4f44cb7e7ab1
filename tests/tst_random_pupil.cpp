// A random pupil: long sequences of actions played on the shown window through
// real widget events, with the scene checked after every action (see
// PupilDriver.h). Each sequence runs inside the application's event loop, as
// the program does, so closing the window ends that loop with exit code 0.
//
// Environment:
//   KANSU_SEED          one seed or a comma-separated list (default: three fixed seeds)
//   KANSU_SOAK_ACTIONS  actions per seed (default 2000; `make soak` plays 100000)
#include "PupilDriver.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr qint64 defaultActionsPerSeed = 2000;
const std::array<std::uint32_t, 3> defaultSeeds = {20240611u, 7u, 314159u};

qint64 actionsPerSeed()
{
    bool ok = false;
    const qint64 n = qEnvironmentVariable("KANSU_SOAK_ACTIONS").toLongLong(&ok);
    return ok && n > 0 ? n : defaultActionsPerSeed;
}

std::vector<std::uint32_t> seeds()
{
    std::vector<std::uint32_t> list;
    for (const QString &part : qEnvironmentVariable("KANSU_SEED").split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint seed = part.trimmed().toUInt(&ok);
        if (ok)
            list.push_back(seed);
    }
    if (list.empty())
        list.assign(defaultSeeds.begin(), defaultSeeds.end());
    return list;
}

// Peak resident set size of this process so far, in KiB.
long peakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Present resident set size, in KiB (second field of /proc/self/statm, in pages).
long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// The offscreen platform warns at every change of the window's fixed size
// (グラフ and 表); thousands of those would exhaust QTest's warning budget
// and hide the counts printed at the end.
QtMessageHandler previousHandler = nullptr;

void dropSizeHintNoise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    previousHandler(type, context, message);
}

} // namespace

class RandomPupilTest : public QObject
{
    Q_OBJECT
    pupil::Tally m_tally;

private slots:
    void initTestCase()
    {
        testsupport::setUpTestApplication();
        // Each sequence ends by closing its window; the next one opens a new
        // window, which a quit posted for the last closed window must not reach.
        QApplication::setQuitOnLastWindowClosed(false);
        previousHandler = qInstallMessageHandler(dropSizeHintNoise);
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(previousHandler);
        qInfo("random pupil: %lld seeds, %lld actions (%lld fired from timers during runs), "
              "%lld runs, %lld drags, %lld clicks on disabled buttons, %lld windows closed "
              "(%lld part-way), %lld scene sweeps with %lld rule checks",
              m_tally.seeds, m_tally.actions, m_tally.timedActions, m_tally.runs, m_tally.drags,
              m_tally.disabledClicks, m_tally.closes, m_tally.earlyCloses, m_tally.sweeps,
              m_tally.checks);
    }

    // Runs first, while the peak resident size is still that of one window:
    // after 1,000 steps (500 出す/戻す pairs) and after 10,000 steps neither
    // the peak nor the present resident size may differ by more than 2 MiB
    // (a leak of 250 bytes a step would pass that).
    void memoryStaysFlat()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer holds freed memory in quarantine; resident sizes tell nothing here");
#endif
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form, testsupport::patienceMs));
        // Graph and table on, and a figure of every kind: each step paints,
        // fills, plots and writes.
        for (QCheckBox *box : {form.controls().Check2, form.controls().Check3})
            QTest::mouseClick(box, Qt::LeftButton);
        auto dragFromTray = [&](QPoint from, QPoint to) {
            QTest::mousePress(form.controls().kokuban, Qt::LeftButton, {}, from);
            QTest::mouseMove(form.controls().kokuban, to);
            QTest::mouseRelease(form.controls().kokuban, Qt::LeftButton, {}, to);
        };
        dragFromTray({320, 100}, {320, 240}); // square into slot 0
        dragFromTray({500, 100}, {400, 240}); // triangle around slot 2: slots 1..3
        dragFromTray({420, 100}, {480, 240}); // 2 x 6 cm into slot 4
        QCOMPARE(form.scene().SlotPiece, (board::Slots{1, 4, 5, 6, 3}));

        constexpr int stepsOneWay = 20; // B to the end of travel
        int stepsDone = 0;
        auto stepUntil = [&](int steps) {
            while (stepsDone < steps) {
                for (int i = 0; i < stepsOneWay; ++i)
                    QTest::mouseClick(form.controls().susumu, Qt::LeftButton);
                for (int i = 0; i < stepsOneWay; ++i)
                    QTest::mouseClick(form.controls().modoru, Qt::LeftButton);
                stepsDone += 2 * stepsOneWay;
                QCoreApplication::processEvents(); // let the window repaint
            }
            QCOMPARE(form.scene().Px, 300.0);
        };
        constexpr int warmUpSteps = 1000;
        constexpr int measuredSteps = 10000;
        constexpr long allowedGrowthKiB = 2048;
        stepUntil(warmUpSteps);
        const long peakWarm = peakRssKiB();
        const long nowWarm = residentKiB();
        QVERIFY(nowWarm > 0);
        stepUntil(measuredSteps);
        const long peakAfter = peakRssKiB();
        const long nowAfter = residentKiB();
        qInfo("resident KiB after %d steps: peak %ld, present %ld; after %d steps: peak %ld, present %ld",
              warmUpSteps, peakWarm, nowWarm, measuredSteps, peakAfter, nowAfter);
        QVERIFY2(peakAfter - peakWarm <= allowedGrowthKiB,
                 qPrintable(QStringLiteral("peak RSS grew by %1 KiB").arg(peakAfter - peakWarm)));
        QVERIFY2(nowAfter - nowWarm <= allowedGrowthKiB,
                 qPrintable(QStringLiteral("RSS grew by %1 KiB").arg(nowAfter - nowWarm)));
    }

    // Closing the window while a run waits ends the run without another step.
    void closingDuringARunEndsIt()
    {
        Form1 form;
        form.show();
        form.controls().Combo1->setCurrentText(QStringLiteral("2")); // 10 ms a step
        constexpr int closeAfterMs = 25;                  // within the third wait or so
        double pxAtClose = 0;
        QTimer::singleShot(closeAfterMs, &form, [&] {
            pxAtClose = form.scene().Px;
            form.close();
        });
        int code = -1;
        QTimer::singleShot(0, &form, [&] { QTest::mouseClick(form.controls().jidou, Qt::LeftButton); });
        code = QApplication::exec();
        QCOMPARE(code, 0);
        QVERIFY(form.isEnding());
        QVERIFY(form.isHidden());
        QVERIFY(pxAtClose < 300);
        QCOMPARE(form.scene().Px, pxAtClose);
    }

    void randomPupil_data()
    {
        QTest::addColumn<uint>("seed");
        for (std::uint32_t seed : seeds())
            QTest::addRow("seed %u", seed) << uint(seed);
    }

    void randomPupil()
    {
        QFETCH(uint, seed);
        const qint64 actions = actionsPerSeed();
        auto form = std::make_unique<Form1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get(), testsupport::patienceMs));

        pupil::PupilDriver driver(*form, seed, m_tally);
        QString fault;
        bool played = false;
        QObject scope;
        // Closing the window ends the program's event loop with code 0; a
        // window that closes without ending it fails here instead of hanging.
        constexpr int closeGraceMs = 10000;
        QTimer::singleShot(0, &scope, [&] {
            fault = driver.play(actions);
            played = true;
            QTimer::singleShot(closeGraceMs, &scope, [] { QCoreApplication::exit(3); });
        });
        const int code = QApplication::exec();
        ++m_tally.seeds;

        if (!fault.isEmpty()) // in full: QTest cuts long messages short
            std::fprintf(stderr, "seed %u %s\n", seed, fault.toUtf8().constData());
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("seed %1 %2").arg(seed).arg(fault.section(QLatin1Char('\n'), 0, 0))));
        QVERIFY(played);
        QVERIFY(form->isEnding());
        QCOMPARE(code, 0);
    }
};

// QTEST_MAIN, except that a long soak gets more than QTest's five minutes
// per test function (unless QTEST_FUNCTION_TIMEOUT says otherwise).
int main(int argc, char *argv[])
{
    constexpr qint64 msPerActionAllowed = 20; // ample, also under the sanitizers
    constexpr qint64 qtestDefaultMs = 300000;
    const qint64 timeoutMs = std::max(qtestDefaultMs, actionsPerSeed() * msPerActionAllowed);
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(timeoutMs));
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    RandomPupilTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_random_pupil.moc"
