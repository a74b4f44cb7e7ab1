#include "LessonVoice.h"

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

namespace browser {
namespace {

using emscripten::val;

// During an automatic run, a message at most this often (ms): a screen
// reader that is still speaking the last one would otherwise fall behind.
constexpr qint64 runMessageMs = 1000;

val pageControls()
{
    val controls = val::global("kansuControls");
    return controls.isUndefined() || controls.isNull() ? val::undefined() : controls;
}

class Voice : public QObject
{
public:
    explicit Voice(Form1 &form) : QObject(&form), m_form(form)
    {
        const Form1Controls &c = form.controls();
        for (QAbstractButton *button : {c.susumu, c.modoru, c.Command2, c.Command1})
            connect(button, &QAbstractButton::clicked, this, [this] { queue(place()); });
        connect(&form, &Form1::figureChanged, this, [this] {
            queue(QStringLiteral("封筒の中の図形は %1").arg(board::figureWords(m_form.scene().SlotPiece)));
            queue(place());
            describeBoard();
        });
        connect(&form, &Form1::runningChanged, this, [this](bool running) {
            if (running)
                return;
            queue(QStringLiteral("自動が止まりました。%1").arg(place()));
            describeBoard(); // where the run left P
            if (m_tablePending)
                showTable(); // and the columns its last steps added
        });
        // During an automatic run the board's description, like the run's
        // messages, follows P once a second (runMessageMs): a new text at
        // every step (20 a second at speed "10") would have the browser lay
        // it out again at every step, for nobody to read.
        connect(&form, &Form1::distanceChanged, this, [this] {
            if (!m_form.isRunning()) {
                describeBoard();
                return;
            }
            if (!m_lastRunMessage.isValid() || m_lastRunMessage.elapsed() >= runMessageMs) {
                m_lastRunMessage.start();
                describeBoard();
                queue(place());
            }
        });
        // P let go after a drag, or taken to an x by the graph or the table.
        connect(&form, &Form1::pPlaced, this, [this] { queue(place()); });
        // The table too follows a run once a second: a column added at
        // every step would have the browser lay the table out again at
        // every step, which on a slow processor costs the run its pace.
        connect(&form, &Form1::tableChanged, this, [this] {
            if (m_form.isRunning() && m_lastRunTable.isValid() && m_lastRunTable.elapsed() < runMessageMs) {
                m_tablePending = true;
                return;
            }
            m_lastRunTable.start();
            showTable();
        });
        // A piece chosen by a click, a tap or a key, or the choice dropped:
        // the board's own words for it, with the keys that go on.
        connect(&form, &Form1::selectionChanged, this, [this] {
            queue(m_form.controls().kokuban->accessibleDescription());
            describeBoard();
        });
        describeBoard();
        showTable();
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

    void showTable()
    {
        m_tablePending = false;
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
    QElapsedTimer m_lastRunTable;
    bool m_tablePending = false; // columns a run added that the page has not been told
};

} // namespace

void speakForLesson(Form1 &form)
{
    new Voice(form);
}

} // namespace browser
