#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <utility>

namespace browser {

// During an automatic run, a message at most this often (ms): a screen
// reader that is still speaking the last one would otherwise fall behind.
inline constexpr qint64 runMessageMs = 1000;

// A text of the page's that may change at every step of P (20 a second
// during a run at speed "10", as fast as the pointer during a drag): each
// new text has the browser lay it out again, for nobody to read, and on a
// slow processor that costs the run its pace and the drag its frames. It
// is told at once when it was last told a second ago or more
// (runMessageMs), else once that second is over, as it is by then.
class Paced
{
public:
    Paced(QObject *owner, std::function<void()> tell) : m_tell(std::move(tell))
    {
        m_later.setSingleShot(true);
        QObject::connect(&m_later, &QTimer::timeout, owner, [this] { now(); });
    }

    void soon()
    {
        if (m_later.isActive())
            return;
        if (m_last.isValid() && m_last.elapsed() < runMessageMs)
            m_later.start(int(runMessageMs - m_last.elapsed()));
        else
            now();
    }

    void now()
    {
        m_later.stop();
        m_last.start();
        m_tell();
    }

private:
    std::function<void()> m_tell;
    QElapsedTimer m_last;
    QTimer m_later;
};

} // namespace browser
