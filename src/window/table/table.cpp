// The value table: for every whole centimetre P has reached, x in the upper
// row and y in the lower one.
#include "app/Form1.h"

#include "app/DesignFacts.h"
#include "motion/StripRules.h"
#include "table/TableLayout.h"
#include "ui/NumberForm.h"
#include "ui/Palette.h"

#include <QCheckBox>

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
            m_tableColumns[column] = TableEntry{xText.trimmed(), yText.trimmed()};
        else
            m_tableColumns.erase(column);
        announceTable();
    };
    if (x == 0) {
        // Out of view (at start-up) the column waits until the table is
        // first needed (drawWaitingPanels): its font would only delay the
        // first frame.
        m_tableStartWaits = !Check3->isChecked();
        if (!m_tableStartWaits)
            writeTableStart();
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

// The x = 0 column: "0" in both rows.
void Form1::writeTableStart()
{
    using namespace table;
    hyo->setForeColor(valueBlue);
    for (const bool yRow : {false, true}) {
        hyo->setCurrentPos(QPointF(columnLeft(0, 0, yRow), yRow ? yRowTop : xRowTop));
        hyo->print(QStringLiteral("0"));
    }
}

void Form1::clearTable()
{
    m_tableStartWaits = false; // nothing to write on a table cleared anew
    hyo->cls();
    m_tableColumns.clear();
    announceTable();
}

void Form1::announceTable()
{
    QStringList columns;
    for (const auto &[column, entry] : m_tableColumns)
        columns << QStringLiteral("χ %1, ｙ %2").arg(entry.x, entry.y);
    // Setting the description tells assistive technology that it changed.
    hyo->setAccessibleDescription(columns.join(QStringLiteral("; ")));
    emit tableChanged();
}
