// Step cost: 出す and 戻す with the graph and the table shown and a full
// figure, each followed by the repaint it causes, over P's whole travel out
// and back; median per step against one frame at 60 Hz. And a drag of P
// across the whole base, against two frames.
#include "BenchQt.h"

#include <QCheckBox>
#include <QEvent>

namespace {

constexpr int rounds = 10;               // travels out and back
constexpr int stepsPerTravel = 20;       // x = 0 ... 10 cm in 0.5-cm steps
constexpr double frameMs = 1000.0 / 60;  // one frame at 60 Hz, 16.7 ms
constexpr double targetFraction = 0.1;

// Counts the board's paints, to show the timed steps really repainted.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    bench::LessonWindow window(argc, argv, "bench_step");
    Form1 &form = *window.form;
    form.controls().Check2->setChecked(true); // グラフ
    form.controls().Check3->setChecked(true); // 表
    bench::putFigure(form, bench::fullFigures[0]);
    QApplication::processEvents();

    PaintCounter counter;
    form.controls().kokuban->installEventFilter(&counter);
    std::cout << "bench_step: " << rounds << " travels of " << stepsPerTravel
              << " steps out and back, graph and table shown\n";

    std::vector<double> out, back;
    for (int round = 0; round <= rounds; ++round) {
        const bool warmUp = round == 0;
        for (int i = 0; i < stepsPerTravel; ++i) {
            const double ms = bench::timeMs([&] {
                form.susumu_Click();
                QApplication::processEvents();
            });
            if (!warmUp)
                out.push_back(ms);
        }
        for (int i = 0; i < stepsPerTravel; ++i) {
            const double ms = bench::timeMs([&] {
                form.modoru_Click();
                QApplication::processEvents();
            });
            if (!warmUp)
                back.push_back(ms);
        }
    }
    const int timedSteps = int(out.size() + back.size());
    const int boardPaints = counter.paints;

    // A drag of P across the whole base: pressed at B, moved to the end of
    // its way in one move, let go; then its repaint. Against two frames.
    std::vector<double> drags;
    for (int round = 0; round <= rounds; ++round) {
        const double ms = bench::timeMs([&] {
            form.kokuban_MouseDown(1, 0, board::sideAbX, board::baseY);
            form.kokuban_MouseMove(1, 0, float(motion::endPx), board::baseY);
            form.kokuban_MouseUp(1, 0, float(motion::endPx), board::baseY);
            QApplication::processEvents();
        });
        if (round > 0)
            drags.push_back(ms);
        form.Command2_Click();
        QApplication::processEvents();
    }
    const double dragMs = bench::median(drags);

    std::vector<double> all = out;
    all.insert(all.end(), back.begin(), back.end());
    const double stepMs = bench::median(all);
    const double fraction = stepMs / frameMs;
    std::cout << bench::format("  出す median %.3f ms, 戻す median %.3f ms; board painted %d times"
                               " in %d steps (warm-up included)\n",
                               bench::median(out), bench::median(back), boardPaints,
                               timedSteps + 2 * stepsPerTravel);
    if (boardPaints < timedSteps)
        bench::writeMeta("bench_step", "note",
                         "step cost: the board was not repainted after every step");

    bench::writeRows("bench_step", {
        {"3", "Step: 出す or 戻す + repaint, graph and table shown, full figure (median)",
         bench::format("%.3f ms (出す %.3f, 戻す %.3f)", stepMs, bench::median(out), bench::median(back)),
         bench::format("%.3f of a 16.7-ms frame", fraction),
         bench::format("≤ %.1f frame", targetFraction), fraction <= targetFraction},
        {"3b", "Drag of P across the whole base (20 steps) + repaint, graph and table shown (median)",
         bench::format("%.2f ms", dragMs), bench::format("%.2f frames", dragMs / frameMs), "≤ 2 frames",
         dragMs <= 2 * frameMs},
    });
    return 0;
}
