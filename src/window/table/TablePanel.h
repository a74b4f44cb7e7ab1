#pragma once

#include "motion/StripRules.h"
#include "ui/GraphicControls.h"
#include "ui/Surface.h"

#include <QObject>
#include <QString>

#include <map>

class QWidget;

namespace table {

// The value table: its surface (hyo) with its headings and rules, and for
// every whole centimetre P has reached, x in the upper row and y in the
// lower one. It keeps y as it wrote it last, and what each column shows.
class TablePanel : public QObject
{
    Q_OBJECT
public:
    // The table's windowless controls under their design names.
    struct Controls
    {
        ui::LabelControl *Label5 = nullptr; // "χ"
        ui::LabelControl *Label7 = nullptr; // "ｙ"
        ui::LineControl *Line2 = nullptr;   // heading column rule
        ui::LineControl *Line3 = nullptr;   // rule between the x and y rows
    };

    // The table's surface at `place` in the window (window pixels).
    TablePanel(QWidget *window, QRect place);

    ui::Surface &surface() { return m_hyo; }
    const ui::Surface &surface() const { return m_hyo; }
    const Controls &controls() const { return m_controls; }

    // The column of x (cm): written (mode 0, blue) or erased (mode 1, in
    // the cream); half centimetres have none. y comes from the strips the
    // figure gave P's steps. The x = 0 column is "0" in both rows; out of
    // view (tableShown false) it waits until drawWaiting.
    void DrawTable(qint16 mode, double x, const motion::StripTable &strips, bool tableShown);
    // The table cleared, its columns forgotten.
    void clear();
    // Cleared, and y back to 0: the table starts afresh at x = 0.
    void restart();
    // Writes the x = 0 column if it waits.
    void drawWaiting();

    double TableY() const { return m_tableY; } // cm², of the column written last

    // What a column shows (the whole x -> its two texts as written,
    // without the leading blank), for assistive technology: the canvas
    // itself holds only pixels.
    struct Entry
    {
        QString x;
        QString y;
    };
    const std::map<int, Entry> &entries() const { return m_columns; }

signals:
    // A column was written or erased, or the table cleared (entries).
    void changed();

private:
    void writeStart();
    void announce();

    ui::Surface &m_hyo;
    Controls m_controls;
    double m_tableY = 0;
    bool m_startWaits = false;
    std::map<int, Entry> m_columns;
};

} // namespace table
