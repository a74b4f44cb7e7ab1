// Keyboard and screen-reader access: the tab order, Space on buttons and
// check boxes, no default button, accessible names, and the announcements
// made when x and the table change.
#include "LessonTest.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

struct Announcement {
    QObject *object;
    QAccessible::Event type;
};
std::vector<Announcement> *recorded = nullptr;

void recordEvent(QAccessibleEvent *event)
{
    if (recorded)
        recorded->push_back({event->object(), event->type()});
}

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

} // namespace

class AccessibilityTest : public testsupport::LessonTest
{
    Q_OBJECT
public:
    AccessibilityTest() : LessonTest(Window::WholeShown) {}

private slots:
    void activate()
    {
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.get(), testsupport::patienceMs));
    }

    void everyControlHasAName()
    {
        const Form1Controls &c = f->controls();
        const std::vector<std::pair<QWidget *, QString>> expected = {
            {c.Command1, "初期画面"}, {c.end, "終了"},     {c.jidou, "自動"},
            {c.tomeru, "ストップ"},   {c.susumu, "出す"},   {c.modoru, "戻す"},
            {c.Command2, "最初に"},   {c.Check1, "方眼"},   {c.Check2, "グラフ"},
            {c.Check3, "表"},         {c.Check5, "封筒をかくす"},
        };
        for (const auto &[widget, name] : expected)
            QCOMPARE(accessibleName(widget), name);
        // The speed box is labelled by "速度" and its text field named after it.
        QCOMPARE(c.Label3->buddy(), c.Combo1);
        QCOMPARE(accessibleName(c.Combo1->lineEdit()), QStringLiteral("速度"));
        for (QWidget *w : std::initializer_list<QWidget *>{c.kokuban, c.gamen, c.hyo, c.Text1, c.Check4})
            QVERIFY2(!accessibleName(w).isEmpty(), qPrintable(w->metaObject()->className()));
    }

    void tabVisitsTheControlsInDesignOrder()
    {
        activate();
        const Form1Controls &c = f->controls();
        const std::vector<QWidget *> order = {c.gamen,  c.end,    c.Combo1,   c.Check2, c.kokuban, c.susumu,
                                              c.modoru, c.jidou,  c.Check3,   c.Check1, c.hyo,     c.Command1,
                                              c.Check4, c.Text1,  c.Command2, c.Check5}; // ストップ is disabled while idle
        f->controls().gamen->setFocus(Qt::TabFocusReason);
        for (std::size_t i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focus = QApplication::focusWidget();
            // The combo box's line edit takes the focus on its behalf.
            if (focus && focus->parentWidget() == f->controls().Combo1)
                focus = f->controls().Combo1;
            QCOMPARE(focus, order[i]);
        }
    }

    void spaceWorksEnterAndEscapeDoNothing()
    {
        activate();
        f->controls().susumu->setFocus();
        QTest::keyClick(f->controls().susumu, Qt::Key_Return);
        QTest::keyClick(f->controls().susumu, Qt::Key_Enter);
        QTest::keyClick(f->controls().susumu, Qt::Key_Escape);
        QCOMPARE(f->scene().Px, 300.0);
        QTest::keyClick(f->controls().susumu, Qt::Key_Space);
        QCOMPARE(f->scene().Px, 290.0);

        f->controls().Check1->setFocus();
        QTest::keyClick(f->controls().Check1, Qt::Key_Space);
        QVERIFY(f->controls().Check1->isChecked());
        QCOMPARE(f->controls().kokuban->pixel(400, 200), QColor(testsupport::black)); // its handler drew the grid
    }

    void changesAreAnnounced()
    {
        // The toolkit joins the assistive technology bus a moment after
        // start-up, when the bus has answered: on a busy machine that may
        // come after the window is up.
        const bool busAskedFor = qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
        if (!QTest::qWaitFor([] { return QAccessible::isActive(); }, busAskedFor ? testsupport::patienceMs : 0))
            QSKIP("no assistive technology bus here; tests/window/test_accessibility.sh runs this with one");
        std::vector<Announcement> events;
        recorded = &events;
        const auto previous = QAccessible::installUpdateHandler(recordEvent);
        f->susumu_Click();
        f->susumu_Click(); // x = 1: a new table column
        QAccessible::installUpdateHandler(previous);
        recorded = nullptr;
        auto count = [&](QObject *object, QAccessible::Event type) {
            return std::count_if(events.begin(), events.end(), [&](const Announcement &e) {
                return e.object == object && e.type == type;
            });
        };
        QCOMPARE(count(f->controls().Text1, QAccessible::ValueChanged), 2);
        QVERIFY(count(f->controls().hyo, QAccessible::DescriptionChanged) >= 1);
        QVERIFY(f->controls().hyo->accessibleDescription().contains(QStringLiteral("χ 1, ｙ 0")));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
