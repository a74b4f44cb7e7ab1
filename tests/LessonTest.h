#pragma once

// The fixture of the suites that work on one lesson window at a time: every
// test function gets a fresh window, f, made as the program makes it.

#include "TestSupport.h"

#include <QCheckBox>
#include <QObject>
#include <QTest>

#include <memory>

namespace testsupport {

class LessonTest : public QObject
{
    Q_OBJECT
public:
    enum class Window { Hidden, WholeShown };
    // WholeShown: the window shown with グラフ and 表 on, every control in view.
    explicit LessonTest(Window window = Window::Hidden) : m_window(window) {}

protected:
    std::unique_ptr<Form1> f;

private slots:
    void initTestCase() { setUpTestApplication(); }
    void init()
    {
        f = std::make_unique<Form1>();
        if (m_window == Window::Hidden)
            return;
        f->controls().Check2->setChecked(true);
        f->controls().Check3->setChecked(true);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.get(), testsupport::patienceMs));
    }
    void cleanup() { f.reset(); }

private:
    Window m_window;
};

} // namespace testsupport
