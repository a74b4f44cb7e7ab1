// 自動 and ストップ: P steps forward on its own, with a wait between steps
// taken from the speed box, while the window keeps handling the pupil's input.
#include "app/Form1.h"

#include "motion/RunRules.h"
#include "motion/StripRules.h"

#include <QComboBox>
#include <QPushButton>

#include <algorithm>

void Form1::jidou_Click()
{
    if (m_running)
        return; // one run at a time
    if (Px == motion::endPx)
        Command2_Click();
    m_running = true;
    showRunState(true);
    m_runClock.start();
    m_stepDueNs = 0; // the first step is due now
    while (StopFlag != 1 && Px != motion::endPx) {
        susumu_Click();
        WaitMs(motion::waitForSpeedText(Combo1->currentText())); // read afresh each time
        if (m_ending)
            return; // 終了 or the window closed during the wait
    }
    StopFlag = 0;
    m_running = false;
    showRunState(false);
}

void Form1::tomeru_Click()
{
    // The wait in progress ends now, however long the speed made it; the
    // run sees the request at its next test, before another step, and
    // gives the buttons back.
    StopFlag = 1;
    if (m_running)
        m_waiter.cutShort();
    else
        jidou->setEnabled(true);
}

void Form1::WaitMs(int ms)
{
    emit waitStarted(ms);
    constexpr qint64 nsPerMs = 1'000'000;
    const qint64 now = m_runClock.nsecsElapsed();
    if (ms <= 0) {
        m_stepDueNs = now; // a later wait counts from this step
        return;            // no wait, and no events handled
    }
    // Steps keep the chosen pace: each is due `ms` after the one before, so
    // the time a step takes to draw, and a wait that ends late, come off the
    // next wait instead of adding up. A run that has fallen behind (a step
    // that took longer than the interval, a stalled or suspended machine)
    // starts its pace afresh: the next step comes a full interval from now,
    // never at once after the late one. The window always gets a look at
    // its events (repaints, ストップ) between two steps.
    const qint64 intervalNs = qint64(ms) * nsPerMs;
    m_stepDueNs += intervalNs;
    if (m_stepDueNs <= now)
        m_stepDueNs = now + intervalNs;
    m_waiter.wait(std::max<qint64>((m_stepDueNs - now + nsPerMs / 2) / nsPerMs, 1));
}

void Form1::showRunState(bool running)
{
    susumu->setEnabled(!running);
    modoru->setEnabled(!running);
    Command1->setEnabled(!running);
    jidou->setEnabled(!running);
    tomeru->setEnabled(running);
}
