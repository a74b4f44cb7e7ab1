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
    m_stepDueNs = ui::tickNs(); // the first step is due now
    runOn();
}

// The run's loop: while it is neither stopped nor at the end, a step and
// then the wait that the speed box gives (read afresh each time). A wait
// hands the loop to the event loop, which brings it back here when the
// wait is over; meanwhile the window handles the pupil's input, ストップ
// among it. 終了 drops the wait, and the loop with it.
void Form1::runOn()
{
    while (StopFlag != 1 && Px != motion::endPx) {
        susumu_Click();
        if (WaitMs(motion::waitForSpeedText(Combo1->currentText())))
            return;
    }
    StopFlag = 0;
    m_running = false;
    showRunState(false);
}

void Form1::tomeru_Click()
{
    // Honoured at the run's next test. A wait in progress ends at once, so
    // that even a wait of days can be stopped; until the run has seen the
    // flag, the buttons keep showing the running state.
    StopFlag = 1;
    if (!m_running)
        jidou->setEnabled(true);
    else
        m_waiter.cutShort();
}

bool Form1::WaitMs(int ms)
{
    emit waitStarted(ms);
    constexpr qint64 nsPerMs = 1'000'000;
    const qint64 now = ui::tickNs();
    if (ms <= 0 || StopFlag == 1) { // ストップ came before the wait began: it is over
        m_stepDueNs = now; // a later wait counts from this step
        return false;      // no wait, and no events handled
    }
    const motion::NextStep next = motion::nextStep(m_stepDueNs, now, qint64(ms) * nsPerMs);
    m_stepDueNs = next.dueNs;
    // The window always gets a look at its events (repaints, ストップ)
    // between two steps.
    m_waiter.wait(std::max<qint64>((next.waitNs + nsPerMs / 2) / nsPerMs, 1), [this] { runOn(); });
    return true;
}

void Form1::showRunState(bool running)
{
    susumu->setEnabled(!running);
    modoru->setEnabled(!running);
    Command1->setEnabled(!running);
    jidou->setEnabled(!running);
    tomeru->setEnabled(running);
    emit runningChanged(running);
}
