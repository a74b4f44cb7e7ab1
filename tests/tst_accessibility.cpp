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
        const std::vector<std::pair<QWidget *, QString>> expected = {
            {f->Command1, "初期画面"}, {f->end, "終了"},       {f->jidou, "自動"},
            {f->tomeru, "ストップ"},   {f->susumu, "出す"},     {f->modoru, "戻す"},
            {f->Command2, "最初に"},   {f->Check1, "方眼"},     {f->Check2, "グラフ"},
            {f->Check3, "表"},         {f->Check5, "封筒をかくす"},
        };
        for (const auto &[widget, name] : expected)
            QCOMPARE(accessibleName(widget), name);
        // The speed box is labelled by "速度" and its text field named after it.
        QCOMPARE(f->Label3->buddy(), f->Combo1);
        QCOMPARE(accessibleName(f->Combo1->lineEdit()), QStringLiteral("速度"));
        for (QWidget *w : std::initializer_list<QWidget *>{f->kokuban, f->gamen, f->hyo, f->Text1, f->Check4})
            QVERIFY2(!accessibleName(w).isEmpty(), qPrintable(w->metaObject()->className()));
    }

    void tabVisitsTheControlsInDesignOrder()
    {
        activate();
        const std::vector<QWidget *> order = {f->gamen,  f->end,    f->Combo1,  f->Check2,   f->kokuban,
                                              f->susumu, f->modoru, f->jidou,   f->Check3,   f->Check1,
                                              f->hyo,    f->Command1, f->Check4, f->Text1, f->Command2,
                                              f->Check5}; // ストップ is disabled while idle
        f->gamen->setFocus(Qt::TabFocusReason);
        for (std::size_t i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focus = QApplication::focusWidget();
            // The combo box's line edit takes the focus on its behalf.
            if (focus && focus->parentWidget() == f->Combo1)
                focus = f->Combo1;
            QCOMPARE(focus, order[i]);
        }
    }

    void spaceWorksEnterAndEscapeDoNothing()
    {
        activate();
        f->susumu->setFocus();
        QTest::keyClick(f->susumu, Qt::Key_Return);
        QTest::keyClick(f->susumu, Qt::Key_Enter);
        QTest::keyClick(f->susumu, Qt::Key_Escape);
        QCOMPARE(f->Px, 300.0);
        QTest::keyClick(f->susumu, Qt::Key_Space);
        QCOMPARE(f->Px, 290.0);

        f->Check1->setFocus();
        QTest::keyClick(f->Check1, Qt::Key_Space);
        QVERIFY(f->Check1->isChecked());
        QCOMPARE(f->kokuban->pixel(400, 200), QColor(testsupport::black)); // its handler drew the grid
    }

    void changesAreAnnounced()
    {
        if (!QAccessible::isActive())
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
        QCOMPARE(count(f->Text1, QAccessible::ValueChanged), 2);
        QVERIFY(count(f->hyo, QAccessible::DescriptionChanged) >= 1);
        QVERIFY(f->hyo->accessibleDescription().contains(QStringLiteral("χ 1, ｙ 0")));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
