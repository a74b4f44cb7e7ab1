// The window keeps the lesson's sizes in every window state: asked to be
// maximised or to fill the screen, it returns to the normal state at the size
// グラフ and 表 call for, so nothing comes into view that the check boxes
// keep hidden. Minimising is left as asked.

#include "TestSupport.h"

#include <QCheckBox>
#include <QTest>
#include <QWindow>

namespace {

using namespace testsupport;

void showAndWait(Form1 &f)
{
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f, testsupport::patienceMs));
}

} // namespace

class TestWindowState : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { testsupport::setUpTestApplication(); }
    void enlargingStatesReturnToNormal_data();
    void enlargingStatesReturnToNormal();
    void checkBoxesStillResizeAfterwards();
    void minimisingIsLeftAlone();
};

void TestWindowState::enlargingStatesReturnToNormal_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("graph");
    QTest::addColumn<bool>("table");
    QTest::addColumn<QSize>("size");
    const struct {
        const char *name;
        Qt::WindowStates state;
    } states[] = {{"fullscreen", Qt::WindowFullScreen},
                  {"maximised", Qt::WindowMaximized},
                  {"maximised and fullscreen", Qt::WindowMaximized | Qt::WindowFullScreen}};
    const struct {
        const char *name;
        bool graph, table;
        QSize size;
    } views[] = {{"compact", false, false, compactClient},
                 {"graph", true, false, graphClient},
                 {"table", false, true, tableClient},
                 {"graph and table", true, true, fullClient}};
    for (const auto &s : states)
        for (const auto &v : views)
            QTest::addRow("%s, %s", s.name, v.name) << int(s.state) << v.graph << v.table << v.size;
}

void TestWindowState::enlargingStatesReturnToNormal()
{
    QFETCH(int, state);
    QFETCH(bool, graph);
    QFETCH(bool, table);
    QFETCH(QSize, size);

    Form1 f;
    f.controls().Check2->setChecked(graph);
    f.controls().Check3->setChecked(table);
    showAndWait(f);
    QCOMPARE(f.size(), size);

    f.setWindowState(Qt::WindowStates(state));
    QTRY_COMPARE_WITH_TIMEOUT(f.windowState(), Qt::WindowNoState, testsupport::patienceMs);
    QTest::qWait(50); // geometry the platform sends late must not win either
    QCOMPARE(f.windowState(), Qt::WindowNoState);
    QCOMPARE(f.size(), size);
    QCOMPARE(f.windowHandle()->geometry().size(), size);
    QCOMPARE(f.controls().Check2->isChecked(), graph);
    QCOMPARE(f.controls().Check3->isChecked(), table);
}

// After a refused state the window still follows the check boxes.
void TestWindowState::checkBoxesStillResizeAfterwards()
{
    Form1 f;
    showAndWait(f);
    f.setWindowState(Qt::WindowFullScreen);
    QTRY_COMPARE_WITH_TIMEOUT(f.windowState(), Qt::WindowNoState, testsupport::patienceMs);

    f.controls().Check2->setChecked(true);
    QTRY_COMPARE_WITH_TIMEOUT(f.size(), graphClient, testsupport::patienceMs);
    f.controls().Check3->setChecked(true);
    QTRY_COMPARE_WITH_TIMEOUT(f.size(), fullClient, testsupport::patienceMs);
    f.setWindowState(Qt::WindowMaximized);
    QTRY_COMPARE_WITH_TIMEOUT(f.windowState(), Qt::WindowNoState, testsupport::patienceMs);
    QCOMPARE(f.size(), fullClient);
    f.controls().Check2->setChecked(false);
    f.controls().Check3->setChecked(false);
    QTRY_COMPARE_WITH_TIMEOUT(f.size(), compactClient, testsupport::patienceMs);
}

void TestWindowState::minimisingIsLeftAlone()
{
    Form1 f;
    showAndWait(f);
    f.setWindowState(Qt::WindowMinimized);
    QTest::qWait(50);
    QCOMPARE(f.windowState(), Qt::WindowMinimized);
    QCOMPARE(f.size(), compactClient);

    // Minimised and maximised at once: the maximised part alone is refused.
    f.setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
    QTRY_COMPARE_WITH_TIMEOUT(f.windowState(), Qt::WindowMinimized, testsupport::patienceMs);
    QCOMPARE(f.size(), compactClient);
}

QTEST_MAIN(TestWindowState)
#include "tst_window_state.moc"
