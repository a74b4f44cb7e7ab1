// The value table: for every whole centimetre P has reached, x in the upper
// row and y in the lower one.
#include "app/Form1.h"

#include "app/DesignFacts.h"
#include "motion/StripRules.h"
#include "table/TableLayout.h"
#include "ui/NumberForm.h"
#include "ui/Palette.h"

#include <cmath>

namespace {

const QColor valueBlue = ui::paletteColor(9);

} // namespace

void Form1::DrawTable(qint16 mode)
{
    using namespace table;
    hyo->setForeColor(mode == 0 ? valueBlue : app::panelCream);
    const double x = distance();
    auto write = [this](int left, int top, const QString &text) {
        hyo->setCurrentPos(QPointF(left, top));
        hyo->print(text);
    };
    auto record = [&](int column, const QString &xText, const QString &yText) {
        if (mode == 0)
            m_tableColumns[column] = QStringLiteral("χ %1, ｙ %2").arg(xText.trimmed(), yText.trimmed());
        else
            m_tableColumns.erase(column);
        announceTable();
    };
    if (x == 0) {
        // Written when the table is next needed: at start-up it is out of
        // view, and its font would only delay the first frame.
        hyo->drawWhenNeeded([write] {
            write(columnLeft(0, 0, false), xRowTop, QStringLiteral("0"));
            write(columnLeft(0, 0, true), yRowTop, QStringLiteral("0"));
        });
        record(0, QStringLiteral("0"), QStringLiteral("0"));
        return;
    }
    if (x != std::floor(x) || x < 1 || x > lastColumn)
        return; // half centimetres have no column
    const int column = int(x);
    const QString xText = ui::generalNumber(x);
    write(columnLeft(column, x, false), xRowTop, xText);
    // The lower row always shows y at this x, however the table was hidden
    // and shown; erasing recomputes the very text that was written, since
    // the strips up to x do not change while P stands at or beyond x.
    const float y = motion::areaAtCm(StepArea, column);
    TableY = y;
    const QString yText = ui::generalNumber(y);
    write(columnLeft(column, TableY, true), yRowTop, yText);
    record(column, xText, yText);
    if (mode != 0)
        TableY = motion::areaAtCm(StepArea, column - 1);
}

void Form1::clearTable()
{
    hyo->cls();
    m_tableColumns.clear();
    announceTable();
}

void Form1::announceTable()
{
    QStringList columns;
    for (const auto &[x, text] : m_tableColumns)
        columns << text;
    // Setting the description tells assistive technology that it changed.
    hyo->setAccessibleDescription(columns.join(QStringLiteral("; ")));
}
