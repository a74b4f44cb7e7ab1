// Keys for teaching in front of the class: a presenter remote sends PageDown
// and PageUp (and "." or B for its blank-screen button), a keyboard has the
// arrows, Home and F5. They work wherever the focus is in the window, and
// each does exactly what a click on its control would do, so a disabled
// button stays deaf to its key too. A text field that takes a key for
// editing (the speed box takes the arrows, Home, B and ".") keeps it: the
// window's keys give way there, PageDown, PageUp and F5 still step and run.
#include "app/Form1.h"

#include <QCheckBox>
#include <QPushButton>
#include <QShortcut>

void Form1::connectKeys()
{
    auto bind = [this](std::initializer_list<QKeySequence> keys, auto action) {
        for (const QKeySequence &key : keys)
            connect(new QShortcut(key, this), &QShortcut::activated, this, action);
    };
    bind({Qt::Key_PageDown, Qt::Key_Right}, [this] { susumu->click(); });
    bind({Qt::Key_PageUp, Qt::Key_Left}, [this] { modoru->click(); });
    bind({Qt::Key_Home}, [this] { Command2->click(); });
    // One key starts and stops the run: ストップ while it runs, else 自動.
    bind({Qt::Key_F5}, [this] { (m_running ? tomeru : jidou)->click(); });
    // The cover hides the envelope also while its box is out of view.
    bind({Qt::Key_B, Qt::Key_Period}, [this] { Check5->click(); });

    susumu->setAccessibleDescription(QStringLiteral("キー：PageDown、→"));
    modoru->setAccessibleDescription(QStringLiteral("キー：PageUp、←"));
    Command2->setAccessibleDescription(QStringLiteral("キー：Home"));
    jidou->setAccessibleDescription(QStringLiteral("キー：F5"));
    tomeru->setAccessibleDescription(QStringLiteral("キー：F5"));
    Check5->setAccessibleDescription(QStringLiteral("キー：B、."));
}
