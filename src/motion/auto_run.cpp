// 自動 and ストップ: P steps forward on its own, with a wait between steps
// taken from the speed box, while the window keeps handling the pupil's input.
#include "app/Form1.h"

#include "motion/RunRules.h"
#include "motion/StripRules.h"
#include "ui/EventPump.h"

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
    while (StopFlag != 1 && Px != motion::endPx) {
        m_stepStartedAt = ui::tickCount();
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
    // Honoured at the run's next test, once the wait in progress is over;
    // until then the buttons keep showing the running state.
    StopFlag = 1;
    if (!m_running)
        jidou->setEnabled(true);
}

void Form1::WaitMs(int ms)
{
    emit waitStarted(ms);
    if (ms <= 0)
        return; // no wait, and no events handled
    // Steps keep the chosen pace: the time the step took counts towards its
    // wait, yet the window always gets a look at its events (repaints,
    // ストップ) between two steps.
    const qint64 spent = ui::tickCount() - m_stepStartedAt;
    m_waiter.wait(std::max<qint64>(ms - spent, 1));
}

void Form1::showRunState(bool running)
{
    susumu->setEnabled(!running);
    modoru->setEnabled(!running);
    Command1->setEnabled(!running);
    jidou->setEnabled(!running);
    tomeru->setEnabled(running);
}
