// The random pupil's actions and the rules it checks the scene against:
// see PupilDriver.h.
#include "PupilDriver.h"

#include "TestSupport.h"

#include "app/WindowSizes.h"
#include "board/Geometry.h"
#include "board/SlotRules.h"
#include "graph/GraphScale.h"
#include "motion/RunRules.h"
#include "motion/StripRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace pupil {

namespace geometry {

// Board pixels (20 px = 1 cm). The pick-up areas of the four templates at
// their tray homes, strict bounds, above board::trayBottom: square, 2 x 4,
// 2 x 6, triangle.
struct Span {
    int left, right;
};
constexpr std::array<Span, 4> trayAreas = [] {
    std::array<Span, 4> areas{};
    for (std::size_t i = 0; i < areas.size(); ++i)
        areas[i] = {board::trayHomes[i].left, board::trayHomes[i].left + board::trayHomes[i].width};
    return areas;
}();
constexpr int boardWidth = app::placeOf("kokuban").width();
constexpr int boardHeight = app::placeOf("kokuban").height();

// Everything RedrawBoard paints lies in the band of rectangle ABCD (rows 180
// to 300) between the grid's ends (columns 20 to 580); a 2-px pen with round
// caps reaches at most this far beyond its end points.
constexpr int penReach = 3;
constexpr int gridLeft = 20;
constexpr int gridRight = 580;
constexpr int paintedTop = board::envelopeTop - penReach;
constexpr int paintedBottom = board::baseY + penReach;
constexpr int paintedLeft = gridLeft - penReach;
constexpr int paintedRight = gridRight + penReach;

} // namespace geometry

// Speeds the pupil picks for a run, with the wait each must give (5 ms per unit).
struct Speed {
    const char *text;
    int waitMs;
};
constexpr std::array<Speed, 3> runSpeeds = {{{" 0", 0}, {"1", 5}, {"2", 10}}};

PupilDriver::PupilDriver(Form1 &form, std::uint32_t seed, Tally &tally)
    : m_form(form), m_controls(form.controls()), m_scene(form.scene()), m_rng(seed), m_tally(tally)
{
    m_green.assign(geometry::boardWidth, testsupport::boardGreen);
}

QString PupilDriver::play(qint64 count)
{
    // The window may also be closed part-way, in about one sequence in
    // four, at a random action or during a run's wait.
    m_closeChance = 0.25 / double(std::max<qint64>(count, 1));
    checkScene("start");
    for (qint64 i = 0; i < count && ok() && !m_form.isEnding(); ++i)
        playOne();
    if (!m_form.isEnding())
        closeWindow();
    return QStringList{m_fault, m_paintFault}.join(QLatin1Char('\n')).trimmed();
}

// ---- randomness ---------------------------------------------------------
int PupilDriver::uniform(int lo, int hi)
{
    return std::uniform_int_distribution<int>(lo, hi)(m_rng);
}

bool PupilDriver::chance(double p)
{
    return std::bernoulli_distribution(p)(m_rng);
}

template <std::size_t N>
int PupilDriver::weighted(const std::array<double, N> &weights)
{
    return std::discrete_distribution<int>(weights.begin(), weights.end())(m_rng);
}

// ---- log and faults -------------------------------------------------------
bool PupilDriver::ok() const
{
    return m_fault.isEmpty();
}

void PupilDriver::log(const QString &what)
{
    constexpr std::size_t kept = 60;
    m_log.push_back(QStringLiteral("#%1%2 %3")
                        .arg(m_played)
                        .arg(m_depth > 0 ? QStringLiteral(" (in wait)") : QString())
                        .arg(what));
    if (m_log.size() > kept)
        m_log.pop_front();
}

QString PupilDriver::logTail() const
{
    QStringList lines;
    for (const QString &line : m_log)
        lines << QStringLiteral("    ") + line;
    return lines.join(QLatin1Char('\n'));
}

QString PupilDriver::faultText(const QString &what) const
{
    return QStringLiteral("after action #%1: %2\n  last actions:\n%3").arg(m_played).arg(what, logTail());
}

void PupilDriver::fail(const QString &what)
{
    if (ok())
        m_fault = faultText(what);
}

void PupilDriver::expect(bool holds, const QString &what)
{
    ++m_tally.checks;
    if (!holds)
        fail(what);
}

// ---- the scene rules -------------------------------------------------------
double PupilDriver::x() const
{
    return (board::sideAbX - m_scene.Px) / board::pixelsPerCm;
}

void PupilDriver::checkScene(const char *when)
{
    if (!ok() || m_form.isEnding())
        return;
    ++m_tally.sweeps;
    const auto where = QString::fromLatin1(when);
    const double px = m_scene.Px;
    expect(px >= motion::endPx && px <= board::sideAbX && std::fmod(px, motion::stepPx) == 0,
           QStringLiteral("%1: Px = %2 is not a multiple of 10 in 100..300").arg(where).arg(px));
    const QString shown = m_controls.Text1->text();
    const QString readOut = QLatin1Char(' ') + QString::number(x(), 'f', 1);
    expect(shown == readOut && shown == motion::distanceText(x()),
           QStringLiteral("%1: Text1 '%2' for Px = %3, expected '%4'").arg(where, shown).arg(px).arg(readOut));
    expect(m_controls.Shape1->left() == int(px) - board::pDotOffset &&
               m_controls.Label4[8]->left() == int(px) - board::pLabelOffset,
           QStringLiteral("%1: P's dot at %2 and label at %3 for Px = %4")
               .arg(where).arg(m_controls.Shape1->left()).arg(m_controls.Label4[8]->left()).arg(px));

    expect(m_controls.Label4[6]->isVisible() == (px != board::sideAbX),
           QStringLiteral("%1: the label χcm is %2 at Px = %3")
               .arg(where, m_controls.Label4[6]->isVisible() ? QStringLiteral("shown") : QStringLiteral("hidden")).arg(px));
    if (m_controls.Check4->isChecked()) { // the red bar runs from B to P, or is parked while P is at B
        const QLine bar = m_controls.Line5[4]->line();
        const bool alongBase = bar == QLine(board::sideAbX, board::baseY, int(px), board::baseY);
        const bool parked = bar.y1() == board::parkedBarY && bar.y2() == board::parkedBarY && px == board::sideAbX;
        expect(alongBase || parked, QStringLiteral("%1: the red bar runs (%2,%3)-(%4,%5) at Px = %6")
                                        .arg(where).arg(bar.x1()).arg(bar.y1()).arg(bar.x2()).arg(bar.y2()).arg(px));
    }
    expect(m_controls.Picture1->isHidden() != m_controls.Check5->isChecked(),
           QStringLiteral("%1: the cover does not follow 封筒をかくす").arg(where));
    expect(m_form.outerWidthTwips() == (m_controls.Check2->isChecked() ? app::graphWidthTwips : app::compactWidthTwips) &&
               m_form.outerHeightTwips() == (m_controls.Check3->isChecked() ? app::tableHeightTwips : app::compactHeightTwips),
           QStringLiteral("%1: the window is %2 x %3 twips").arg(where).arg(m_form.outerWidthTwips()).arg(m_form.outerHeightTwips()));

    const auto &codes = m_scene.SlotPiece;
    const QString figure = figureText(codes);
    expect(board::holdsWholePieces(codes),
           QStringLiteral("%1: slots %2 do not hold whole pieces").arg(where, figure));
    const double y = testsupport::areaOut(codes, x());
    expect(std::abs(m_form.graph().GraphY() - y) < 1e-6,
           QStringLiteral("%1: GraphY = %2 at x = %3 with slots %4, the figure gives %5")
               .arg(where).arg(m_form.graph().GraphY()).arg(x()).arg(figure).arg(y));
    // The graph's pen stands on the point of (x, y): 30 px per cm from
    // x = 35, 7.5 px per cm² up from y = 480, a whole pixel.
    const double penX = graph::originX + graph::pixelsPerCmOfX * x();
    const int penY = int(std::nearbyint(graph::originY - graph::pixelsPerCm2OfY * y));
    expect(m_form.graph().LastGx() == penX && m_form.graph().LastGy() == penY,
           QStringLiteral("%1: the graph pen is at (%2,%3), the point of x = %4, y = %5 is (%6,%7)")
               .arg(where).arg(m_form.graph().LastGx()).arg(m_form.graph().LastGy()).arg(x()).arg(y).arg(penX).arg(penY));

    const bool running = m_form.isRunning();
    expect(m_controls.susumu->isEnabled() == !running && m_controls.modoru->isEnabled() == !running &&
               m_controls.Command1->isEnabled() == !running && m_controls.jidou->isEnabled() == !running &&
               m_controls.tomeru->isEnabled() == running,
           QStringLiteral("%1: buttons %2 while %3")
               .arg(where, buttonText(), running ? QStringLiteral("running") : QStringLiteral("idle")));

    if (!m_buttonHeld)
        expect(templatesHome(), QStringLiteral("%1: templates not at their tray homes").arg(where));
    checkBoardOutsideBand(where);
}

bool PupilDriver::templatesHome() const
{
    // Top edges of the three rectangles and the triangle's hypotenuse at
    // their tray homes, and all eight dimension labels shown.
    bool home = m_controls.Line6[0]->line() == QLine(300, 85, 340, 85) &&
                m_controls.Line7[0]->line() == QLine(350, 45, 390, 45) &&
                m_controls.Line9[0]->line() == QLine(400, 5, 440, 5) &&
                m_controls.Line8[2]->line() == QLine(570, 5, 450, 125);
    for (const ui::LabelControl *label : m_controls.Label9)
        home = home && label->isVisible();
    return home;
}

// The board canvas holds nothing outside the envelope's band: the tray,
// the labels and the read-out are controls above the canvas, never on it.
void PupilDriver::checkBoardOutsideBand(const QString &where)
{
    const QImage &canvas = m_controls.kokuban->canvas();
    ++m_tally.checks;
    if (canvas.width() != geometry::boardWidth || canvas.height() != geometry::boardHeight) {
        fail(QStringLiteral("%1: board canvas is %2 x %3").arg(where).arg(canvas.width()).arg(canvas.height()));
        return;
    }
    const std::size_t rowBytes = std::size_t(geometry::boardWidth) * sizeof(QRgb);
    for (int row = 0; row < geometry::boardHeight; ++row) {
        const auto *line = reinterpret_cast<const QRgb *>(canvas.constScanLine(row));
        const bool band = row >= geometry::paintedTop && row <= geometry::paintedBottom;
        bool green = true;
        if (!band) {
            green = std::memcmp(line, m_green.data(), rowBytes) == 0;
        } else {
            const std::size_t leftBytes = std::size_t(geometry::paintedLeft) * sizeof(QRgb);
            const int right = geometry::paintedRight + 1;
            green = std::memcmp(line, m_green.data(), leftBytes) == 0 &&
                    std::memcmp(line + right, m_green.data(),
                                std::size_t(geometry::boardWidth - right) * sizeof(QRgb)) == 0;
        }
        if (!green) {
            auto probed = [band](int column) {
                return !band || column < geometry::paintedLeft || column > geometry::paintedRight;
            };
            int column = 0;
            while (column + 1 < geometry::boardWidth && (!probed(column) || line[column] == m_green[0]))
                ++column;
            if (m_paintFault.isEmpty())
                m_paintFault = faultText(QStringLiteral("%1: board canvas pixel (%2,%3) is #%4 outside the envelope's band")
                     .arg(where).arg(column).arg(row).arg(line[column] & 0xffffff, 6, 16, QLatin1Char('0')));
            return;
        }
    }
}

bool PupilDriver::wholeColumn(double x)
{
    return x >= 1 && x == std::floor(x);
}

// The column the table has just written (P arrived at a whole x with 表
// on, or 表 came on at a whole x) shows y at that x.
void PupilDriver::checkWrittenColumn(const char *when)
{
    if (!m_controls.Check3->isChecked() || !wholeColumn(x()))
        return;
    const double y = testsupport::areaOut(m_scene.SlotPiece, x());
    expect(std::abs(m_form.table().TableY() - y) < 1e-6,
           QStringLiteral("%1: the table wrote y = %2 at x = %3 with slots %4, the figure gives %5")
               .arg(QString::fromLatin1(when)).arg(m_form.table().TableY()).arg(x())
               .arg(figureText(m_scene.SlotPiece)).arg(y));
}

// 戻す with 表 on takes the table back to exactly what it showed before
// the matching 出す: an erased column leaves no pixel behind.
void PupilDriver::checkTableRestored()
{
    if (m_tableBeforeStep.empty())
        return;
    const QImage before = m_tableBeforeStep.back();
    m_tableBeforeStep.pop_back();
    if (!m_controls.Check3->isChecked() || before.isNull())
        return;
    const QImage &now = m_controls.hyo->canvas();
    ++m_tally.checks;
    if (now == before)
        return;
    QRect changed;
    for (int row = 0; row < now.height(); ++row)
        for (int col = 0; col < now.width(); ++col)
            if (now.pixel(col, row) != before.pixel(col, row))
                changed |= QRect(col, row, 1, 1);
    fail(QStringLiteral("戻す to x = %1 left the table changed in (%2,%3)-(%4,%5)")
             .arg(x()).arg(changed.left()).arg(changed.top()).arg(changed.right()).arg(changed.bottom()));
}

QString PupilDriver::buttonText() const
{
    auto on = [](const QPushButton *b) { return b->isEnabled() ? '+' : '-'; };
    return QStringLiteral("出す%1 戻す%2 初期画面%3 自動%4 ストップ%5")
        .arg(on(m_controls.susumu)).arg(on(m_controls.modoru)).arg(on(m_controls.Command1))
        .arg(on(m_controls.jidou)).arg(on(m_controls.tomeru));
}

QString PupilDriver::figureText(const board::Slots &codes)
{
    return QStringLiteral("[%1 %2 %3 %4 %5]")
        .arg(codes[0]).arg(codes[1]).arg(codes[2]).arg(codes[3]).arg(codes[4]);
}

// ---- what a click on a disabled button must leave alone -----------------
struct PupilDriver::Snapshot {
    double px, graphY, tableY;
    QString readOut, speed;
    board::Slots codes;
    motion::StripTable strips;
    qint16 stopFlag;
    bool running;
    QString buttons;
    std::array<bool, 5> checks;
    QImage board;
    bool operator==(const Snapshot &) const = default;
};

PupilDriver::Snapshot PupilDriver::snapshot() const
{
    return {m_scene.Px, m_form.graph().GraphY(), m_form.table().TableY(), m_controls.Text1->text(),
            m_controls.Combo1->currentText(), m_scene.SlotPiece, m_scene.StepArea,
            m_scene.StopFlag, m_form.isRunning(), buttonText(),
            {m_controls.Check1->isChecked(), m_controls.Check2->isChecked(), m_controls.Check3->isChecked(),
             m_controls.Check4->isChecked(), m_controls.Check5->isChecked()},
            m_controls.kokuban->canvas()};
}

// ---- actions ----------------------------------------------------------------

void PupilDriver::playOne()
{
    ++m_tally.actions;
    ++m_played;
    if (chance(m_closeChance)) {
        ++m_tally.earlyCloses;
        closeWindow();
        return;
    }
    constexpr std::array<double, 10> weights = {20, 12, 3, 2, 2, 2, 10, 16, 3, 1};
    switch (Action(weighted(weights))) {
    case StepOut: clickButton(m_controls.susumu, "出す"); break;
    case StepBack: clickButton(m_controls.modoru, "戻す"); break;
    case BackToStart: clickButton(m_controls.Command2, "最初に"); break;
    case InitialScreen: clickButton(m_controls.Command1, "初期画面"); break;
    case Stop: clickButton(m_controls.tomeru, "ストップ"); break;
    case AutoRun: autoRun(); break;
    case CheckBox: clickCheckBox(); break;
    case Drag: drag(); break;
    case TypeSpeed: typeSpeed(); break;
    case TypeReadOut: typeIntoReadOut(); break;
    }
    checkScene("after action");
}

// A real click; a disabled button must change nothing at all.
void PupilDriver::clickButton(QPushButton *button, const char *name)
{
    const bool enabled = button->isEnabled();
    log(QStringLiteral("click %1%2").arg(QString::fromUtf8(name),
                                         enabled ? QString() : QStringLiteral(" (disabled)")));
    if (enabled) {
        const double xBefore = x();
        const QImage tableBefore = m_controls.hyo->canvas();
        QTest::mouseClick(button, Qt::LeftButton);
        if (button == m_controls.susumu) {
            checkWrittenColumn("出す");
            // From B, 出す first writes the x = 0 column, which 戻す
            // leaves standing: nothing to compare with there.
            if (x() != xBefore && m_controls.Check3->isChecked())
                m_tableBeforeStep.push_back(xBefore == 0 ? QImage() : tableBefore);
        } else if (button == m_controls.modoru) {
            if (x() != xBefore)
                checkTableRestored();
        } else {
            m_tableBeforeStep.clear(); // 最初に and 初期画面 start the table afresh
        }
        return;
    }
    ++m_tally.disabledClicks;
    const Snapshot before = snapshot();
    QTest::mouseClick(button, Qt::LeftButton);
    expect(snapshot() == before,
           QStringLiteral("a click on the disabled %1 changed the scene").arg(QString::fromUtf8(name)));
}

void PupilDriver::clickCheckBox()
{
    std::vector<QCheckBox *> boxes = {m_controls.Check1, m_controls.Check2, m_controls.Check3, m_controls.Check4};
    if (m_controls.Check2->isChecked()) // 封筒をかくす is in view only in the wide window
        boxes.push_back(m_controls.Check5);
    QCheckBox *box = boxes[std::size_t(uniform(0, int(boxes.size()) - 1))];
    const bool was = box->isChecked();
    log(QStringLiteral("click check box '%1' (was %2)").arg(box->text()).arg(was ? "on" : "off"));
    QTest::mouseClick(box, Qt::LeftButton);
    expect(box->isChecked() != was,
           QStringLiteral("the click on check box '%1' did not toggle it").arg(box->text()));
    if (box == m_controls.Check3) {
        m_tableBeforeStep.clear();
        checkWrittenColumn("表");
    }
    if (box == m_controls.Check5)
        expect(m_controls.Picture1->isVisible() == box->isChecked(), QStringLiteral("the cover does not follow 封筒をかくす"));
}

// ---- the board: press, move, release -----------------------------------------
QPoint PupilDriver::pressPoint()
{
    switch (weighted(std::array<double, 3>{40, 35, 25})) {
    case 0: { // a tray pick-up area, bounds included
        const auto area = geometry::trayAreas[std::size_t(uniform(0, 3))];
        return {uniform(area.left, area.right), uniform(0, board::trayBottom)};
    }
    case 1: return slotPoint();
    default: return anyPoint();
    }
}

QPoint PupilDriver::releasePoint()
{
    switch (weighted(std::array<double, 3>{45, 25, 30})) {
    case 0: return slotPoint();
    case 1: return {uniform(0, geometry::boardWidth), uniform(0, board::envelopeTop)};
    default: return anyPoint();
    }
}

QPoint PupilDriver::slotPoint()
{
    const int slot = uniform(0, board::slotCount - 1);
    return {board::slotLeft(slot) + uniform(0, board::slotWidth),
            uniform(board::envelopeTop, board::baseY)};
}

// Anywhere, the board's edges and a margin beyond them included (a held
// button keeps the pointer's events on the board).
QPoint PupilDriver::anyPoint()
{
    constexpr int beyond = 60;
    return {uniform(-beyond, geometry::boardWidth + beyond),
            uniform(-beyond, geometry::boardHeight + beyond)};
}

Qt::MouseButton PupilDriver::anyMouseButton()
{
    constexpr std::array<Qt::MouseButton, 3> buttons = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    return buttons[std::size_t(uniform(0, 2))];
}

// What a press lifts, worked out from the tray and the slots.
std::optional<std::pair<int, std::optional<int>>> PupilDriver::liftAt(QPoint p) const
{
    if (p.y() < board::trayBottom) {
        for (int kind = 0; kind < 4; ++kind) {
            const auto area = geometry::trayAreas[std::size_t(kind)];
            if (p.x() > area.left && p.x() < area.right)
                return std::pair{kind + 1, std::optional<int>()};
        }
        return std::nullopt;
    }
    const auto slot = slotUnder(p);
    if (slot && m_scene.SlotPiece[std::size_t(*slot)] != 0)
        return std::pair{m_scene.SlotPiece[std::size_t(*slot)], slot};
    return std::nullopt;
}

std::optional<int> PupilDriver::slotUnder(QPoint p)
{
    if (p.y() <= board::envelopeTop || p.y() >= board::baseY)
        return std::nullopt;
    for (int i = 0; i < board::slotCount; ++i)
        if (p.x() > board::slotLeft(i) && p.x() < board::slotLeft(i) + board::slotWidth)
            return i;
    return std::nullopt;
}

// The slots after a release of `held` at p, from the rules of building.
board::Slots PupilDriver::slotsAfterRelease(board::Slots s, int held, std::optional<int> from, QPoint p)
{
    auto clearTriangleAt = [&s](int i) {
        const int first = i - (s[std::size_t(i)] - 4);
        for (int t = std::max(first, 0); t < std::min(first + 3, board::slotCount); ++t)
            s[std::size_t(t)] = 0;
    };
    if (p.y() < board::envelopeTop) { // taken away
        if (from) {
            if (held >= 4)
                clearTriangleAt(*from);
            else
                s[std::size_t(*from)] = 0;
        }
        return s;
    }
    const auto k = slotUnder(p);
    if (!k || s[std::size_t(*k)] != 0)
        return s;
    if (held <= 3) {
        s[std::size_t(*k)] = held;
    } else if (*k >= 1 && *k <= 3) {
        for (int n : {*k - 1, *k + 1})
            if (s[std::size_t(n)] >= 4)
                clearTriangleAt(n);
        s[std::size_t(*k - 1)] = 4;
        s[std::size_t(*k)] = 5;
        s[std::size_t(*k + 1)] = 6;
    }
    return s;
}

QString PupilDriver::pointText(QPoint p)
{
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

void PupilDriver::drag()
{
    ++m_tally.drags;
    const QPoint press = pressPoint();
    const QPoint release = releasePoint();
    const Qt::MouseButton button = anyMouseButton();
    const int moves = uniform(0, 3);
    log(QStringLiteral("drag %1 -> %2, %3 moves, button %4")
            .arg(pointText(press), pointText(release)).arg(moves).arg(int(button)));

    const auto lifted = liftAt(press);
    if (lifted)
        m_tableBeforeStep.clear(); // a drop takes P back to B
    const board::Slots slotsBefore = m_scene.SlotPiece;
    const double pxBefore = m_scene.Px;
    QTest::mousePress(m_controls.kokuban, button, {}, press);
    m_buttonHeld = true;
    // As far as a drag starts: short of it, the press would be a click,
    // which chooses rather than drops.
    QTest::mouseMove(m_controls.kokuban, press + QPoint(QGuiApplication::styleHints()->startDragDistance(), 0));
    for (int i = 0; i < moves; ++i)
        QTest::mouseMove(m_controls.kokuban, chance(0.5) ? anyPoint() : releasePoint());
    QTest::mouseMove(m_controls.kokuban, release);
    QTest::mouseRelease(m_controls.kokuban, button, {}, release);
    m_buttonHeld = false;
    if (m_form.isEnding())
        return;

    const bool dropped = lifted && (release.y() < board::envelopeTop ||
                                    (release.y() > board::envelopeTop && release.y() < board::baseY));
    const auto expected = dropped ? slotsAfterRelease(slotsBefore, lifted->first, lifted->second, release)
                                  : slotsBefore;
    expect(m_scene.SlotPiece == expected,
           QStringLiteral("drag %1 -> %2 of %3 left slots %4, expected %5")
               .arg(pointText(press), pointText(release))
               .arg(lifted ? lifted->first : 0)
               .arg(figureText(m_scene.SlotPiece), figureText(expected)));
    expect(m_scene.Px == (dropped ? board::sideAbX : pxBefore),
           QStringLiteral("drag %1 -> %2 left Px = %3").arg(pointText(press), pointText(release)).arg(m_scene.Px));
    expect(m_scene.DragPiece == 0, QStringLiteral("a piece is still held after the release"));
}

// ---- typing -----------------------------------------------------------------
QString PupilDriver::hostileText()
{
    static const QStringList samples = {
        QStringLiteral(" 0"), QStringLiteral("10"), QStringLiteral("5"), QStringLiteral("1"),
        QStringLiteral("abc"), QStringLiteral("-7"), QStringLiteral("+3"), QStringLiteral("1e400"),
        QStringLiteral("1e-400"), QStringLiteral("NaN"), QStringLiteral("-inf"), QStringLiteral("0x10"),
        QStringLiteral("1,000"), QStringLiteral(" 50abc"), QStringLiteral("..."), QStringLiteral("2.5e0"),
        QStringLiteral("９"), QStringLiteral("速度"), QStringLiteral("1D1"), QStringLiteral("\t3")};
    if (chance(0.1)) { // a long run of printable junk
        QString junk;
        const int length = uniform(50, 400);
        for (int i = 0; i < length; ++i)
            junk += QChar(uniform(0x20, 0x7e));
        return junk;
    }
    return samples[uniform(0, int(samples.size()) - 1)];
}

void PupilDriver::typeSpeed()
{
    QLineEdit *edit = m_controls.Combo1->lineEdit();
    switch (uniform(0, 3)) {
    case 0: {
        const QString text = hostileText();
        log(QStringLiteral("select all in 速度 and type '%1'").arg(text.left(40)));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        testsupport::typeKeys(edit, text);
        break;
    }
    case 1: {
        const QString text = hostileText();
        log(QStringLiteral("type '%1' at the end of 速度").arg(text.left(40)));
        QTest::keyClick(edit, Qt::Key_End);
        testsupport::typeKeys(edit, text);
        break;
    }
    case 2:
        log(QStringLiteral("backspace in 速度"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        break;
    default: {
        const bool down = chance(0.5);
        log(QStringLiteral("arrow %1 in 速度").arg(down ? "down" : "up"));
        QTest::keyClick(edit, down ? Qt::Key_Down : Qt::Key_Up);
        break;
    }
    }
}

// The read-out carries x; typing into it must change nothing.
void PupilDriver::typeIntoReadOut()
{
    const QString text = hostileText();
    log(QStringLiteral("type '%1' into the read-out").arg(text.left(40)));
    const QString before = m_controls.Text1->text();
    QTest::keyClick(m_controls.Text1, Qt::Key_A, Qt::ControlModifier);
    testsupport::typeKeys(m_controls.Text1, text);
    QTest::keyClick(m_controls.Text1, Qt::Key_Backspace);
    expect(m_controls.Text1->text() == before,
           QStringLiteral("typing changed the read-out to '%1'").arg(m_controls.Text1->text()));
}

// ---- the automatic run and what happens during its waits ----------------------
struct PupilDriver::RunWatch {
    bool stopAsked = false; // ストップ was clicked while enabled
    int waitsAfterStop = 0;
    int waits = 0;
    std::optional<double> pxAtClose;
};

void PupilDriver::autoRun()
{
    const bool enabled = m_controls.jidou->isEnabled();
    if (!enabled) {
        clickButton(m_controls.jidou, "自動");
        return;
    }
    // A typed speed whose wait is short stays; otherwise a short one is chosen.
    const QString typed = m_controls.Combo1->currentText();
    if (motion::waitForSpeedText(typed) > runSpeeds.back().waitMs || chance(0.7))
        m_controls.Combo1->setCurrentText(QString::fromLatin1(runSpeeds[std::size_t(uniform(0, 2))].text));
    const QString speed = m_controls.Combo1->currentText();
    const int waitMs = motion::waitForSpeedText(speed);
    ++m_tally.runs;

    m_tableBeforeStep.clear();
    RunWatch watch;
    auto scope = std::make_unique<QObject>(); // its end cancels the timers still pending
    const int stepsLeft = int((m_scene.Px - motion::endPx) / motion::stepPx);
    const int span = std::max(1, (m_scene.Px == motion::endPx ? 20 : stepsLeft) * waitMs);
    const int timed = uniform(0, 6);
    log(QStringLiteral("click 自動 at speed '%1' (%2 ms), %3 timed actions").arg(speed.left(40)).arg(waitMs).arg(timed));
    for (int i = 0; i < timed; ++i)
        scheduleTimed(scope.get(), uniform(0, span), watch);
    QObject::connect(&m_form, &Form1::waitStarted, scope.get(), [this, &watch](int ms) {
        ++watch.waits;
        if (watch.stopAsked)
            ++watch.waitsAfterStop;
        expect(m_form.isRunning(), QStringLiteral("a wait started outside a run"));
        expect(ms == motion::waitForSpeedText(m_controls.Combo1->currentText()) && ms <= runSpeeds.back().waitMs,
               QStringLiteral("the run waits %1 ms with the speed '%2'").arg(ms).arg(m_controls.Combo1->currentText()));
        checkWrittenColumn("run step");
        checkScene("run step");
    });
    QTest::mouseClick(m_controls.jidou, Qt::LeftButton);
    testsupport::waitForRunEnd(m_form);
    scope.reset();
    const double pxAtEnd = m_scene.Px;
    const bool endedRunning = m_form.isRunning();
    const qint16 stopFlagAtEnd = m_scene.StopFlag;
    releaseHeldButton(); // a button still held from a wait comes up now
    log(QStringLiteral("run ended after %1 waits, x = %2").arg(watch.waits).arg(x()));

    if (m_form.isEnding()) {
        expect(watch.pxAtClose && pxAtEnd == *watch.pxAtClose,
               QStringLiteral("the run took a step after the window closed"));
        return;
    }
    expect(!endedRunning && stopFlagAtEnd == 0,
           QStringLiteral("the run left running = %1, StopFlag = %2").arg(endedRunning).arg(stopFlagAtEnd));
    expect(watch.waits >= 1, QStringLiteral("the run took no step"));
    if (watch.stopAsked)
        expect(watch.waitsAfterStop == 0,
               QStringLiteral("the run went on for %1 waits after ストップ").arg(watch.waitsAfterStop));
    else
        expect(pxAtEnd == motion::endPx, QStringLiteral("the run ended at Px = %1 without ストップ").arg(pxAtEnd));
}

void PupilDriver::scheduleTimed(QObject *scope, int delayMs, RunWatch &watch)
{
    QTimer::singleShot(delayMs, scope, [this, scope, &watch] {
        // Only while the run goes on: the run goes on from the event
        // loop, whose turn that ends it may hold timers due as well.
        if (!ok() || m_form.isEnding() || !m_form.isRunning())
            return;
        ++m_tally.actions;
        ++m_played;
        ++m_tally.timedActions;
        ++m_depth;
        playTimed(scope, watch);
        --m_depth;
        checkScene("after timed action");
    });
}

void PupilDriver::playTimed(QObject *scope, RunWatch &watch)
{
    constexpr double timedCloseBoost = 5; // timed actions are few; close among them more often
    if (chance(m_closeChance * timedCloseBoost)) {
        ++m_tally.earlyCloses;
        closeWindow(&watch);
        return;
    }
    constexpr std::array<double, 9> weights = {20, 10, 10, 5, 15, 10, 15, 5, 10};
    switch (TimedAction(weighted(weights))) {
    case TimedStop:
        if (m_controls.tomeru->isEnabled())
            watch.stopAsked = true;
        clickButton(m_controls.tomeru, "ストップ");
        expect(!watch.stopAsked || m_scene.StopFlag == 1, QStringLiteral("ストップ did not ask the run to stop"));
        break;
    case TimedBackToStart:
        clickButton(m_controls.Command2, "最初に");
        expect(m_scene.Px == board::sideAbX, QStringLiteral("最初に during a run left Px = %1").arg(m_scene.Px));
        break;
    case TimedDrag:
        if (m_buttonHeld)
            releaseHeldButton();
        else
            drag();
        break;
    case TimedPress: // hold the button across the run's next steps
        if (m_buttonHeld) {
            releaseHeldButton();
        } else {
            const QPoint p = pressPoint();
            m_heldButton = anyMouseButton();
            log(QStringLiteral("press at %1 and hold").arg(pointText(p)));
            QTest::mousePress(m_controls.kokuban, m_heldButton, {}, p);
            m_buttonHeld = true;
            QTest::mouseMove(m_controls.kokuban, releasePoint());
            scheduleTimed(scope, uniform(0, 30), watch);
        }
        break;
    case TimedCheckBox: clickCheckBox(); break;
    case TimedSpeed: {
        const QString speed = QString::fromLatin1(runSpeeds[std::size_t(uniform(0, 2))].text);
        log(QStringLiteral("speed '%1'").arg(speed));
        m_controls.Combo1->setCurrentText(speed);
        break;
    }
    case TimedDisabledClick: {
        const std::array<std::pair<QPushButton *, const char *>, 4> disabled = {
            {{m_controls.susumu, "出す"}, {m_controls.modoru, "戻す"}, {m_controls.Command1, "初期画面"}, {m_controls.jidou, "自動"}}};
        const auto &[button, name] = disabled[std::size_t(uniform(0, 3))];
        clickButton(button, name);
        break;
    }
    case TimedSecondRun: {
        log(QStringLiteral("自動's handler called again"));
        const Snapshot before = snapshot();
        m_form.jidou_Click();
        expect(snapshot() == before, QStringLiteral("a second 自動 during a run changed the scene"));
        break;
    }
    case TimedChain:
        log(QStringLiteral("schedule one more timed action"));
        scheduleTimed(scope, uniform(0, 40), watch);
        break;
    }
}

void PupilDriver::releaseHeldButton()
{
    if (!m_buttonHeld)
        return;
    const QPoint p = releasePoint();
    log(QStringLiteral("release at %1").arg(pointText(p)));
    QTest::mouseRelease(m_controls.kokuban, m_heldButton, {}, p);
    m_buttonHeld = false;
    ++m_tally.drags;
}

// ---- the end --------------------------------------------------------------------
void PupilDriver::closeWindow(RunWatch *run)
{
    releaseHeldButton();
    if (run)
        run->pxAtClose = m_scene.Px; // no step may follow
    const bool byButton = chance(0.3);
    log(byButton ? QStringLiteral("click 終了") : QStringLiteral("close the window"));
    ++m_tally.closes;
    if (byButton)
        QTest::mouseClick(m_controls.end, Qt::LeftButton);
    else
        m_form.close();
    expect(m_form.isEnding() && m_form.isHidden(),
           QStringLiteral("closing left ending = %1, hidden = %2").arg(m_form.isEnding()).arg(m_form.isHidden()));
}

} // namespace pupil
