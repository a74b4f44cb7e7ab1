// The value table: for every whole centimetre P has reached, x in the upper
// row and y in the lower one.
#include "TablePanel.h"

#include "app/DesignFacts.h"
#include "table/TableLayout.h"
#include "ui/Fonts.h"
#include "ui/NumberForm.h"
#include "ui/Palette.h"

#include <QStringList>

#include <cmath>
#include <utility>

namespace table {

namespace {

const QColor valueBlue = ui::paletteColor(9);

} // namespace

TablePanel::TablePanel(QWidget *window, QRect place)
    : m_hyo(*new ui::Surface(window, place, app::panelCream))
{
    m_hyo.setForeColor(Qt::black);
    m_hyo.setCanvasFont(ui::designFont(14.25, true));

    // Nearest the viewer first: the rules lie over the headings, so the
    // column rule shows its full width beside "χ", whose box reaches it.
    constexpr int ruleWidth = 3;
    ui::ControlLayer &layer = m_hyo.controls();
    m_controls.Line3 = layer.add<ui::LineControl>(Qt::black, ruleWidth, QLine(8, 56, 600, 56));
    m_controls.Line2 = layer.add<ui::LineControl>(Qt::black, ruleWidth, QLine(32, 8, 32, 104));
    const QFont headingFont = ui::designFont(24, true);
    m_controls.Label5 =
        layer.add<ui::LabelControl>(QStringLiteral("χ"), headingFont, Qt::black, app::panelCream);
    m_controls.Label5->setBox(app::placeOf("Label5"));
    m_controls.Label7 =
        layer.add<ui::LabelControl>(QStringLiteral("ｙ"), headingFont, Qt::black, app::panelCream);
    m_controls.Label7->setBox(app::placeOf("Label7"));
}

void TablePanel::DrawTable(qint16 mode, double x, const motion::StripTable &strips, bool tableShown)
{
    m_hyo.setForeColor(mode == 0 ? valueBlue : app::panelCream);
    auto write = [this](int left, int top, const QString &text) {
        m_hyo.setCurrentPos(QPointF(left, top));
        m_hyo.print(text);
    };
    auto record = [&](int column, const QString &xText, const QString &yText) {
        if (mode == 0)
            m_columns[column] = Entry{xText.trimmed(), yText.trimmed()};
        else
            m_columns.erase(column);
        announce();
    };
    if (x == 0) {
        // Out of view (at start-up) the column waits until the table is
        // first needed: its font would only delay the first frame.
        m_startWaits = !tableShown;
        if (!m_startWaits)
            writeStart();
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
    const float y = motion::areaAtCm(strips, column);
    m_tableY = y;
    const QString yText = ui::generalNumber(y);
    write(columnLeft(column, m_tableY, true), yRowTop, yText);
    record(column, xText, yText);
    if (mode != 0)
        m_tableY = motion::areaAtCm(strips, column - 1);
}

// The x = 0 column: "0" in both rows.
void TablePanel::writeStart()
{
    m_hyo.setForeColor(valueBlue);
    for (const bool yRow : {false, true}) {
        m_hyo.setCurrentPos(QPointF(columnLeft(0, 0, yRow), yRow ? yRowTop : xRowTop));
        m_hyo.print(QStringLiteral("0"));
    }
}

void TablePanel::restart()
{
    m_tableY = 0;
    clear();
}

void TablePanel::clear()
{
    m_startWaits = false; // nothing to write on a table cleared anew
    m_hyo.cls();
    m_columns.clear();
    announce();
}

void TablePanel::drawWaiting()
{
    if (std::exchange(m_startWaits, false))
        writeStart();
}

void TablePanel::announce()
{
    QStringList columns;
    for (const auto &[column, entry] : m_columns)
        columns << QStringLiteral("χ %1, ｙ %2").arg(entry.x, entry.y);
    // Setting the description tells assistive technology that it changed.
    m_hyo.setAccessibleDescription(columns.join(QStringLiteral("; ")));
    emit changed();
}

} // namespace table
