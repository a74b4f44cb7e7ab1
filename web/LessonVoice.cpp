#include "LessonVoice.h"
#include "Paced.h"

#include "app/Form1.h"
#include "board/FigureWords.h"
#include "ui/NumberForm.h"
#include "ui/Surface.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <emscripten/val.h>

#include <functional>
#include <utility>

namespace browser {
namespace {

using emscripten::val;

val pageControls()
{
    val controls = val::global("kansuControls");
    return controls.isUndefined() || controls.isNull() ? val::undefined() : controls;
}

class Voice : public QObject
{
public:
    explicit Voice(Form1 &form)
        : QObject(&form), m_form(form), m_description(this, [this] { describeBoard(); }),
          m_table(this, [this] { showTable(); })
    {
        const Form1Controls &c = form.controls();
        for (QAbstractButton *button : {c.susumu, c.modoru, c.Command2, c.Command1})
            connect(button, &QAbstractButton::clicked, this, [this] { queue(place()); });
        connect(&form, &Form1::figureChanged, this, [this] {
            queue(QStringLiteral("封筒の中の図形は %1").arg(board::figureWords(m_form.scene().SlotPiece)));
            queue(place());
            m_description.now();
        });
        connect(&form, &Form1::runningChanged, this, [this](bool running) {
            if (running)
                return;
            queue(QStringLiteral("自動が止まりました。%1").arg(place()));
            m_description.now(); // where the run left P
            m_table.now();       // with the columns of its last steps
        });
        // The board's description and the table follow P as it moves; a
        // run's messages too, once a second.
        connect(&form, &Form1::distanceChanged, this, [this] {
            m_description.soon();
            if (m_form.isRunning()
                && (!m_lastRunMessage.isValid() || m_lastRunMessage.elapsed() >= runMessageMs)) {
                m_lastRunMessage.start();
                queue(place());
            }
        });
        connect(&form, &Form1::tableChanged, this, [this] { m_table.soon(); });
        // P let go after a drag, or taken to an x by the graph or the table.
        connect(&form, &Form1::pPlaced, this, [this] { queue(place()); });
        // A piece chosen by a click, a tap or a key, or the choice dropped:
        // the board's own words for it, with the keys that go on.
        connect(&form, &Form1::selectionChanged, this, [this] {
            queue(m_form.controls().kokuban->accessibleDescription());
            m_description.now();
        });
        m_description.now();
        m_table.now();
    }

private:
    // x as the read-out shows it, y as the graph has summed it.
    QString place() const
    {
        return QStringLiteral("χ は %1 cm、ｙ は %2 cm²")
            .arg(m_form.controls().Text1->text().trimmed(), ui::generalNumber(m_form.graph().GraphY()).trimmed());
    }

    // What one turn of the event loop has to say, said once at its end
    // (初期画面 changes the figure and then P, for one message).
    void queue(const QString &text)
    {
        if (!m_queued.contains(text))
            m_queued << text;
        if (m_queued.size() == 1)
            QTimer::singleShot(0, this, [this] {
                const QString message = m_queued.join(QStringLiteral("。"));
                m_queued.clear();
                val controls = pageControls();
                if (!controls.isUndefined())
                    controls.call<void>("say", message.toStdString());
            });
    }

    void describeBoard() const
    {
        val controls = pageControls();
        if (controls.isUndefined())
            return;
        const QString text =
            QStringLiteral("封筒ABCD（横10cm、縦6cm）の中の図形は %1。点Ｐは B から左へ %2 cm 動いた。%3")
                .arg(board::figureWords(m_form.scene().SlotPiece), m_form.controls().Text1->text().trimmed(),
                     m_form.controls().kokuban->accessibleDescription());
        controls.call<void>("describeBoard", text.toStdString());
    }

    void showTable() const
    {
        val controls = pageControls();
        if (controls.isUndefined())
            return;
        // One line per column, x and y apart by a tab: one string crosses
        // to the page, where an array would cost a crossing per value.
        QStringList lines;
        for (const auto &[column, entry] : m_form.tableEntries())
            lines << entry.x + QLatin1Char('\t') + entry.y;
        controls.call<void>("table", lines.join(QLatin1Char('\n')).toStdString());
    }

    Form1 &m_form;
    QStringList m_queued;
    QElapsedTimer m_lastRunMessage;
    Paced m_description; // the board's, for the page's board element
    Paced m_table;       // the HTML table
};

} // namespace

void speakForLesson(Form1 &form)
{
    new Voice(form);
}

} // namespace browser
