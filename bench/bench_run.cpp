// Automatic run at speed "10": how much CPU the process burns while the run
// waits between steps (a spinning wait would burn all of it), and how closely
// the steps keep the 50-ms pace.
#include "BenchQt.h"
#include "app/DesignFacts.h"

#include "motion/RunRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>

#include <cmath>

namespace {

constexpr int runs = 5;
const QString speedText = QStringLiteral("10");
constexpr double targetCpuPercent = 1.2;
constexpr double targetIntervalPercent = 2.0;

// The floor under row 4a: what this machine and its display spend on a bare
// window of the lesson's compact size whose one small label changes at the
// run's pace, with nothing else drawn (a timer, an event loop turn, a small
// repaint and its flush per interval). Process CPU over wall time, percent.
double bareTimerCpuPercent(int intervals, int waitMs)
{
    QWidget window; // the program's window without graph and table
    window.resize(app::clientSizeFromOuterTwips(app::compactWidthTwips, app::compactHeightTwips));
    QLabel count(QStringLiteral("0.0"), &window);
    count.setGeometry(app::placeOf("Text1")); // the x read-out's place and size
    window.show();
    QApplication::processEvents();
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    int ticks = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        count.setText(QString::number(++ticks));
        if (ticks == intervals)
            loop.quit();
    });
    const double cpuBefore = bench::processCpuMs();
    tick.start(waitMs);
    const double wall = bench::timeMs([&] { loop.exec(); });
    return 100 * (bench::processCpuMs() - cpuBefore) / wall;
}

} // namespace

int main(int argc, char *argv[])
{
    bench::LessonWindow window(argc, argv, "bench_run");
    Form1 &form = *window.form;
    form.controls().Check2->setChecked(true); // グラフ
    form.controls().Check3->setChecked(true); // 表
    bench::putFigure(form, bench::fullFigures[0]);
    form.controls().Combo1->setCurrentText(speedText);
    const int waitMs = motion::waitForSpeedText(speedText);
    QApplication::processEvents();

    // Each step writes the x read-out (its moments give the step intervals);
    // each wait starts once the step's drawing is done. Both marks carry the
    // process CPU time too, to split an interval into the step's own work and
    // the wait, in which the window repaints.
    struct Mark
    {
        bench::Clock::time_point at;
        double cpuMs;
    };
    std::vector<Mark> steps, waitStarts;
    bool recording = false;
    QObject::connect(&form, &Form1::distanceChanged, [&] {
        if (recording)
            steps.push_back({bench::Clock::now(), bench::processCpuMs()});
    });
    QObject::connect(&form, &Form1::waitStarted, [&](int) {
        if (recording)
            waitStarts.push_back({bench::Clock::now(), bench::processCpuMs()});
    });

    std::cout << "bench_run: " << runs << " automatic runs at speed \"10\" (" << waitMs
              << "-ms waits), graph and table shown\n";
    double cpuMs = 0, wallMs = 0;
    std::vector<double> intervals, stepWall, stepCpu, waitWall, waitCpu;
    int waits = 0;
    for (int run = 0; run < runs; ++run) {
        form.Command2_Click(); // P back to B
        QApplication::processEvents();
        steps.clear();
        waitStarts.clear();
        recording = true;
        const double cpuBefore = bench::processCpuMs();
        const double wall = bench::timeMs([&] {
            form.jidou_Click();
            while (form.isRunning()) // the run goes on from the event loop
                QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        });
        cpuMs += bench::processCpuMs() - cpuBefore;
        wallMs += wall;
        recording = false;
        waits += int(waitStarts.size());
        for (std::size_t i = 1; i < steps.size(); ++i)
            intervals.push_back(bench::msBetween(steps[i - 1].at, steps[i].at));
        for (std::size_t i = 0; i < waitStarts.size() && i < steps.size(); ++i) {
            stepWall.push_back(bench::msBetween(steps[i].at, waitStarts[i].at));
            stepCpu.push_back(waitStarts[i].cpuMs - steps[i].cpuMs);
            if (i + 1 < steps.size()) {
                waitWall.push_back(bench::msBetween(waitStarts[i].at, steps[i + 1].at));
                waitCpu.push_back(steps[i + 1].cpuMs - waitStarts[i].cpuMs);
            }
        }
    }
    if (intervals.empty()) {
        std::cerr << "bench_run: the automatic run made no steps\n";
        return 1;
    }

    const double cpuPercent = 100 * cpuMs / wallMs;
    window.form->hide();
    const double floorPercent = bareTimerCpuPercent(int(intervals.size()), waitMs);
    const double interval = bench::mean(intervals);
    const double offPercent = 100 * (interval - waitMs) / waitMs;
    std::cout << bench::format("  %d waits, %zu intervals (median %.2f ms, min %.2f, max %.2f)\n",
                               waits, intervals.size(), bench::median(intervals),
                               *std::min_element(intervals.begin(), intervals.end()),
                               *std::max_element(intervals.begin(), intervals.end()));
    std::cout << bench::format("  read-out to wait (rest of the step): %.3f ms wall, %.3f ms CPU (means)\n"
                               "  wait to next read-out:               %.3f ms wall, %.3f ms CPU (means)\n",
                               bench::mean(stepWall), bench::mean(stepCpu), bench::mean(waitWall),
                               bench::mean(waitCpu));

    bench::writeRows("bench_run", {
        {"4a", "Automatic run at speed \"10\": process CPU over wall time during 自動",
         bench::format("%.2f %% (%.0f ms CPU in %.0f ms)", cpuPercent, cpuMs, wallMs),
         "a spinning wait ≈ 100 %", bench::format("≤ %.1f %%", targetCpuPercent),
         cpuPercent <= targetCpuPercent},
        {"4c", "The floor under 4a: a bare window whose one label changes at the same pace",
         bench::format("%.2f %%", floorPercent), "timer, event loop, small repaint and flush",
         "none: the floor of 4a", false, false},
        {"4b", "Automatic run at speed \"10\": mean step interval",
         bench::format("%.2f ms", interval),
         bench::format("wait %d ms; %+.2f %%", waitMs, offPercent),
         bench::format("within ±%.0f %%", targetIntervalPercent),
         std::abs(offPercent) <= targetIntervalPercent},
    });
    return 0;
}
