// The value table: for every whole centimetre P has reached, x in the upper
// row and y in the lower one.
#include "app/Form1.h"

#include "motion/StripRules.h"
#include "table/TableLayout.h"
#include "ui/NumberForm.h"
#include "ui/Palette.h"

#include <cmath>

namespace {

const QColor valueBlue = ui::paletteColor(9);
const QColor eraseCream = ui::colorFromBgr(0x00C0FFFF);

} // namespace

void Form1::DrawTable(qint16 mode)
{
    using namespace table;
    hyo->setForeColor(mode == 0 ? valueBlue : eraseCream);
    const double x = distance();
    auto write = [this](int left, int top, const QString &text) {
        hyo->setCurrentPos(QPointF(left, top));
        hyo->print(text);
    };
    if (x == 0) {
        write(columnLeft(0, 0, false), xRowTop, QStringLiteral("0"));
        write(columnLeft(0, 0, true), yRowTop, QStringLiteral("0"));
        return;
    }
    if (x != std::floor(x) || x < 1 || x > lastColumn)
        return; // half centimetres have no column
    const int column = int(x);
    write(columnLeft(column, x, false), xRowTop, ui::generalNumber(x));
    // The lower row always shows y at this x, however the table was hidden
    // and shown; erasing recomputes the very text that was written, since
    // the strips up to x do not change while P stands at or beyond x.
    const float y = float(motion::areaUpTo(StepArea, 2 * column));
    TableY = y;
    write(columnLeft(column, TableY, true), yRowTop, ui::generalNumber(y));
    if (mode != 0)
        TableY = float(motion::areaUpTo(StepArea, 2 * column - 2));
}
