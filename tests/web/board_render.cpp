// The desktop's pictures of the board for the browser's tests to compare
// with. Builds a few figures through the lesson window's own handlers (the
// board's mouse handlers with board pixels, 出す, 方眼) on the offscreen
// platform at one device pixel per pixel, and after chosen numbers of steps
// writes the board as the window shows it: its canvas with every line,
// shape and label over it and the read-out and small box on it.
//
//   web_board_render OUTPUT_DIR
//
// writes OUTPUT_DIR/figures.json and one PNG per picture. The manifest
// lists each figure's drags (board pixels: press, release), whether the
// grid is on, and per picture the number of 出す from B, the read-out's
// text and the boxes (board pixels: x, y, w, h) where text is drawn: the
// labels shown and the read-out's inside. Glyphs come from the face the
// program finds here and from the subset bundled with the browser build,
// rasterised by two builds of the font engine, so only the pixels outside
// those boxes are expected to match exactly. A label's box is where its
// glyphs fall here, a pixel more all round.
#include "app/Application.h"
#include "app/Form1.h"
#include "board/ClickRules.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cstdio>
#include <vector>

namespace {

// Where the pointer goes down on a template in the tray and the middle of
// slot k in the envelope: the points the keys click (board pixels).
const QPoint squareInTray = board::trayPoint(0).toPoint(), rect2x4InTray = board::trayPoint(1).toPoint(),
             rect2x6InTray = board::trayPoint(2).toPoint(), triangleInTray = board::trayPoint(3).toPoint();
QPoint slot(int k) { return board::slotPoint(k).toPoint(); }
constexpr QPoint aboveEnvelope{420, 160}; // a release here takes a piece away

struct Drag {
    QPoint from, to;
};

struct Figure {
    const char *name;
    bool grid;
    std::vector<Drag> drags;
    std::vector<int> steps; // pictures after this many 出す from B, ascending
};

// Each figure in a window of its own, as each in a fresh page: the board's
// pen turns yellow at the first drop and stays so.
const std::vector<Figure> figures = {
    {"empty", false, {}, {0, 4}},
    {"flat pieces", false,
     {{squareInTray, slot(0)}, {rect2x4InTray, slot(1)}, {rect2x6InTray, slot(3)}, {rect2x4InTray, slot(4)}},
     {0, 3, 8, 13, 20}},
    {"triangle", false,
     {{triangleInTray, slot(2)}, {squareInTray, slot(0)}, {rect2x6InTray, slot(4)}},
     {0, 1, 9, 14, 20}},
    {"grid", true, {{rect2x6InTray, slot(0)}, {triangleInTray, slot(3)}}, {0, 4, 11, 17}},
    {"taken away", false,
     {{squareInTray, slot(0)}, {rect2x4InTray, slot(1)}, {slot(1), aboveEnvelope}},
     {0, 6}},
};

QJsonArray point(QPoint p) { return {p.x(), p.y()}; }
QJsonArray box(QRect r) { return {r.x(), r.y(), r.width(), r.height()}; }

// A drag as the pointer makes it: down, a few moves on the way, up.
void drag(Form1 &form, const Drag &d)
{
    constexpr int moves = 8;
    constexpr int left = 1; // the handlers take every button alike
    form.kokuban_MouseDown(left, 0, float(d.from.x()), float(d.from.y()));
    for (int i = 1; i <= moves; ++i) {
        const QPointF at = QPointF(d.from) + QPointF(d.to - d.from) * (double(i) / moves);
        form.kokuban_MouseMove(left, 0, float(at.x()), float(at.y()));
    }
    form.kokuban_MouseUp(left, 0, float(d.to.x()), float(d.to.y()));
}

QImage boardPicture(Form1 &form)
{
    return form.controls().kokuban->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The pixels of `a` and `b` that differ, as their bounding box.
QRect differing(const QImage &a, const QImage &b)
{
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The boxes on the board where glyphs are drawn: each label shown, the box
// it sizes itself to together with the pixels its glyphs touch here (found
// by drawing the board without it), grown by a pixel all round for the
// other font engine; and the read-out's inside.
QJsonArray textBoxes(Form1 &form, const QImage &board)
{
    QJsonArray boxes;
    std::vector<ui::LabelControl *> labels = {form.controls().Label1, form.controls().Label2};
    for (ui::LabelControl *label : form.controls().Label4)
        labels.push_back(label);
    for (ui::LabelControl *label : form.controls().Label9)
        labels.push_back(label);
    for (ui::LabelControl *label : labels) {
        if (!label || !label->isVisible() || label->caption().isEmpty())
            continue;
        label->setVisible(false);
        const QRect ink = differing(board, boardPicture(form));
        label->setVisible(true);
        boxes.append(box((label->geometry() | ink).adjusted(-1, -1, 1, 1)));
    }
    QLineEdit *text = form.controls().Text1;
    QStyleOptionFrame frame;
    frame.initFrom(text);
    frame.rect = text->rect();
    frame.lineWidth = text->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, text);
    const QRect inside = text->style()->subElementRect(QStyle::SE_LineEditContents, &frame, text);
    boxes.append(box(inside.translated(text->pos())));
    return boxes;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    // The pictures are of design pixels, one device pixel each.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    QApplication app(argc, argv);
    setUpApplication(app);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }

    QJsonArray cases;
    QRect boardInWindow;
    int pictures = 0;
    for (const Figure &figure : figures) {
        Form1 form;
        form.show();
        QApplication::processEvents();
        boardInWindow = form.controls().kokuban->geometry();
        if (figure.grid)
            form.controls().Check1->setChecked(true);
        QJsonArray drags;
        for (const Drag &d : figure.drags) {
            drag(form, d);
            drags.append(QJsonArray{point(d.from), point(d.to)});
        }
        QJsonArray shots;
        int taken = 0;
        for (int steps : figure.steps) {
            for (; taken < steps; ++taken)
                form.susumu_Click();
            QApplication::processEvents();
            const QImage board = boardPicture(form);
            if (board.devicePixelRatio() != 1.0 || board.size() != form.controls().kokuban->size()) {
                std::fprintf(stderr, "the board came out at %gx its size\n", board.devicePixelRatio());
                return 1;
            }
            const QString file = QStringLiteral("%1-%2.png").arg(QString::fromLatin1(figure.name).replace(' ', '-')).arg(steps);
            if (!board.save(out.filePath(file))) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(file)));
                return 1;
            }
            shots.append(QJsonObject{{"steps", steps},
                                     {"png", file},
                                     {"x", form.controls().Text1->text()},
                                     {"textBoxes", textBoxes(form, board)}});
            ++pictures;
        }
        cases.append(QJsonObject{{"name", QString::fromLatin1(figure.name)},
                                 {"grid", figure.grid},
                                 {"drags", drags},
                                 {"shots", shots}});
    }
    const QJsonObject manifest{{"board", box(boardInWindow)}, {"figures", cases}};
    QFile file(out.filePath(QStringLiteral("figures.json")));
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(manifest).toJson()) < 0) {
        std::fprintf(stderr, "cannot write figures.json\n");
        return 1;
    }
    std::printf("%d pictures of %lld figures in %s\n", pictures, qlonglong(cases.size()), argv[1]);
    return 0;
}
