// RedrawBoard: the whole board repainted with a full figure at every position
// of P, mean per call, as a multiple of one full clear of the board canvas
// (every pixel painted the background colour once). The board's own clear
// only repaints what was drawn on, so the unit is a fill of a canvas of the
// board's size. Grid off and grid on, at scale 1 and, in a child process of
// this program, at scale factor 1.5.
#include "BenchQt.h"

#include "board/Geometry.h"

#include <QCheckBox>
#include <QProcess>

namespace {

constexpr int rounds = 60; // batches of each kind, alternating
constexpr double targetGridOff = 1.2;
constexpr double targetGridOn = 2.0;
const char *const scaledArgument = "--scaled"; // the child run at a fractional scale
const char *const scaledFactor = "1.5";

struct Means
{
    double clsUs = 0;
    double redrawUs = 0;
};

// Alternates a batch of clears with a batch of redraws (every full figure at
// every position) so both see the same machine noise. The figure of each is
// the mean per call within a batch; the median over the batches keeps a
// batch that the machine interrupted from swaying it.
Means measure(Form1 &form)
{
    constexpr int callsPerBatch = int(bench::fullFigures.size()) * bench::positionCount;
    std::vector<double> clsUs, redrawUs;
    QImage board = form.controls().kokuban->canvas().copy(); // the board's size and format
    const QColor background = form.controls().kokuban->backColor();
    for (int round = 0; round < rounds; ++round) {
        clsUs.push_back(bench::timeMs([&] {
                            for (int i = 0; i < callsPerBatch; ++i)
                                board.fill(background);
                        })
                        * 1e3 / callsPerBatch);
        redrawUs.push_back(bench::timeMs([&] {
                               for (const bench::Figure &figure : bench::fullFigures) {
                                   for (int px = bench::firstPx; px >= bench::lastPx; px -= bench::stepPx)
                                       SceneSetUp::showFigure(form, figure, qint16(px));
                               }
                           })
                           * 1e3 / callsPerBatch);
        QApplication::processEvents(); // paint outside the timed batches
    }
    return {bench::median(clsUs), bench::median(redrawUs)};
}

// Unit costs of what a redraw is made of, printed below the figures so a
// missed target shows where the time goes. Leaves the board cleared.
void printUnitCosts(Form1 &form)
{
    using namespace board;
    constexpr int repeats = 2000;
    ui::Surface &board = *form.controls().kokuban;
    const auto perCallUs = [&](auto &&work) {
        return bench::timeMs([&] {
                   for (int i = 0; i < repeats; ++i)
                       work(i);
               })
               * 1e3 / repeats;
    };
    const QPointF top(sideAbX, envelopeTop), base(sideAbX, baseY);
    board.cls();
    const double lineUs = perCallUs([&](int) { board.line(top, base); });
    form.controls().Check1->setChecked(false);
    const double gridUs = perCallUs([&](int) { form.board().DrawGrid(); });

    // A 2 x 6 cm rectangle left of AB, refilled in two greys in turn (never
    // the outline's colour): every fill repaints its whole inside.
    board.cls();
    constexpr int left = sideAbX - 2 * slotWidth;
    board.setFillStyle(ui::Surface::FillStyle::Transparent); // the outline only
    form.board().ShadeRect2x6(qint16(left));
    const QPointF seed(left + slotWidth / 2, baseY - pixelsPerCm);
    const QColor border = board.foreColor();
    board.setFillStyle(ui::Surface::FillStyle::Solid);
    const std::array<QColor, 2> fills{QColor(192, 192, 192), QColor(128, 128, 128)};
    const double fillUs = perCallUs([&](int i) {
        board.setFillColor(fills[std::size_t(i % 2)]);
        if (!board.floodFillBorder(seed, border))
            std::cerr << "bench_board: the unit-cost fill found no inside\n";
    });
    board.cls();
    std::cout << bench::format("  unit costs: one 2-px canvas line %.1f µs;"
                               " DrawGrid %.1f µs; flood fill of a 2x6-cm piece %.1f µs\n",
                               lineUs, gridUs, fillUs);
}

bench::Row row(const std::string &order, const std::string &what, const Means &m, double target)
{
    const double ratio = m.redrawUs / m.clsUs;
    return {order, what, bench::format("%.1f µs per call", m.redrawUs),
            bench::format("full clear %.1f µs; ratio %.2f×", m.clsUs, ratio),
            bench::format("≤ %.1f× a full clear", target), ratio <= target};
}

} // namespace

int main(int argc, char *argv[])
{
    const bool scaled = argc > 1 && std::string(argv[1]) == scaledArgument;
    const std::string self = argv[0];
    bench::LessonWindow window(argc, argv, scaled ? "bench_board_scaled" : "bench_board");
    Form1 &form = *window.form;
    std::cout << "bench_board: RedrawBoard vs a full clear of the board canvas, " << rounds << " rounds"
              << (scaled ? bench::format(", scale factor %s", scaledFactor) : std::string()) << "\n";

    bench::putFigure(form, bench::fullFigures[0]);
    measure(form); // warm-up: caches, glyphs, first allocations
    const Means gridOff = measure(form);
    form.controls().Check1->setChecked(true);
    const Means gridOn = measure(form);
    form.controls().Check1->setChecked(false);
    printUnitCosts(form);

    const std::string at = scaled ? bench::format(", scale factor %s", scaledFactor) : std::string();
    const std::string sub = scaled ? "2c" : "2a", subGrid = scaled ? "2d" : "2b";
    bench::writeRows(scaled ? "bench_board_scaled" : "bench_board", {
        row(sub, "RedrawBoard, full figure at Px = 300…100, grid off" + at + " (mean per call)", gridOff,
            targetGridOff),
        row(subGrid, "RedrawBoard, full figure at Px = 300…100, grid on" + at + " (mean per call)", gridOn,
            targetGridOn),
    });
    if (scaled)
        return 0;
    // The same at a fractional scale, where every surface pixel is a block
    // of device pixels.
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scaledFactor));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QString::fromStdString(self), {QString::fromLatin1(scaledArgument)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        std::cerr << "bench_board: the run at scale factor " << scaledFactor << " did not finish\n";
    return 0;
}
