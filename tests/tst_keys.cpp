// The teacher's keys: each does what a click on its control would do, from
// wherever the focus is, and gives way in the speed box to the keys that
// edit its text. Every key is tried with the focus on the board (given to
// it, or taken by a click on it from the speed box), a button, a check box
// and the speed box, with P at B, half way and at the end, and during an
// automatic run.
#include "TestSupport.h"

#include "ui/FocusFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

enum class Focus { Board, BoardByClick, Button, CheckBox, SpeedBox };
enum class Where { AtB, HalfWay, AtEnd };

QWidget *focusTarget(Form1 &f, Focus focus)
{
    switch (focus) {
    case Focus::Board:
    case Focus::BoardByClick: return f.controls().kokuban;
    case Focus::Button: return f.controls().Command2; // 最初に, enabled also during a run
    case Focus::CheckBox: return f.controls().Check1;
    case Focus::SpeedBox: return f.controls().Combo1; // its text field is the one being edited
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Focus)
Q_DECLARE_METATYPE(Where)

class KeysTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<Form1> f;

    void open()
    {
        f = std::make_unique<Form1>();
        f->show();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.get(), testsupport::patienceMs));
    }

    void press(QWidget *target, int key)
    {
        target->setFocus();
        QCOMPARE(QApplication::focusWidget(), target);
        QTest::keyClick(target, Qt::Key(key));
    }

    // The key where the focus is after the row's way of giving it: a click
    // on an empty part of the board takes it from the speed box.
    void press(Focus focus, int key)
    {
        QWidget *target = focusTarget(*f, focus);
        if (focus != Focus::BoardByClick)
            return press(target, key);
        f->controls().Combo1->setFocus();
        // Board (60, 380): below the base line, left of the read-out; there
        // is nothing to pick up there.
        QTest::mouseClick(f->controls().kokuban, Qt::LeftButton, {}, QPoint(60, 380));
        QCOMPARE(QApplication::focusWidget(), target);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    }

private slots:
    void initTestCase() { testsupport::setUpTestApplication(); }
    void cleanup() { f.reset(); }

    void keyActsAsItsControl_data()
    {
        QTest::addColumn<Focus>("focus");
        QTest::addColumn<Where>("where");
        QTest::addColumn<int>("key");
        QTest::addColumn<double>("pxAfter");   // from 300 at B, 200 half way, 100 at the end
        QTest::addColumn<bool>("coverAfter");
        QTest::addColumn<bool>("editsSpeed"); // the speed box took the key
        struct Place {
            Where where;
            const char *name;
            double px;
        };
        const Place places[] = {{Where::AtB, "at B", 300}, {Where::HalfWay, "half way", 200},
                                {Where::AtEnd, "at the end", 100}};
        const std::pair<Focus, const char *> focuses[] = {{Focus::Board, "board"},
                                                          {Focus::BoardByClick, "board clicked"},
                                                          {Focus::Button, "button"},
                                                          {Focus::CheckBox, "check box"},
                                                          {Focus::SpeedBox, "speed box"}};
        for (const auto &[focus, focusName] : focuses)
            for (const Place &p : places) {
                const bool inBox = focus == Focus::SpeedBox;
                auto row = [&](const char *key, int code, double px, bool cover, bool edits) {
                    QTest::addRow("%s, %s, %s", key, focusName, p.name)
                        << focus << p.where << code << px << cover << edits;
                };
                const double forward = std::max(p.px - 10, 100.0); // clamped at the end
                const double back = std::min(p.px + 10, 300.0);    // and at B
                row("PageDown", Qt::Key_PageDown, forward, false, false);
                row("PageUp", Qt::Key_PageUp, back, false, false);
                // The box moves its cursor with the arrows and Home and
                // types B and "."; everywhere else they act.
                row("Right", Qt::Key_Right, inBox ? p.px : forward, false, false);
                row("Left", Qt::Key_Left, inBox ? p.px : back, false, false);
                row("Home", Qt::Key_Home, inBox ? p.px : 300, false, false);
                row("B", Qt::Key_B, p.px, !inBox, inBox);
                row("period", Qt::Key_Period, p.px, !inBox, inBox);
                // Enter and Escape press nothing anywhere.
                row("Enter", Qt::Key_Return, p.px, false, false);
                row("Escape", Qt::Key_Escape, p.px, false, false);
            }
    }

    void keyActsAsItsControl()
    {
        QFETCH(Focus, focus);
        QFETCH(Where, where);
        QFETCH(int, key);
        QFETCH(double, pxAfter);
        QFETCH(bool, coverAfter);
        QFETCH(bool, editsSpeed);
        open();
        SceneSetUp::putFigure(*f, {1, 2, 3, 2, 1});
        const int steps = where == Where::AtB ? 0 : where == Where::HalfWay ? 10 : 20;
        for (int i = 0; i < steps; ++i)
            f->susumu_Click();
        const QString speedBefore = f->controls().Combo1->currentText();
        press(focus, key);
        QCOMPARE(f->scene().Px, pxAfter);
        QCOMPARE(f->controls().Check5->isChecked(), coverAfter);
        QCOMPARE(f->controls().Combo1->currentText() != speedBefore, editsSpeed);
    }

    // With the board focused by Tab, 1-4 choose a template in tray order, then
    // 1-5 click that slot; Escape forgets. The keyboard's ring shows the focus.
    void digitsBuildOnTheBoard_data()
    {
        QTest::addColumn<QList<int>>("keys"); // the keypad's when negative
        QTest::addColumn<board::Slots>("after");
        QTest::addColumn<int>("chosen");
        QTest::newRow("1 then 1") << QList<int>{Qt::Key_1, Qt::Key_1} << board::Slots{1, 0, 0, 0, 0} << 0;
        QTest::newRow("4 then 3: the triangle") << QList<int>{Qt::Key_4, Qt::Key_3} << board::Slots{0, 4, 5, 6, 0} << 0;
        QTest::newRow("4 then 1: no room") << QList<int>{Qt::Key_4, Qt::Key_1} << board::Slots{} << 0;
        QTest::newRow("keypad 3 then 5") << QList<int>{-Qt::Key_3, -Qt::Key_5} << board::Slots{0, 0, 0, 0, 3} << 0;
        QTest::newRow("2, Escape, 3") << QList<int>{Qt::Key_2, Qt::Key_Escape, Qt::Key_3} << board::Slots{} << 3;
        QTest::newRow("5 chooses nothing") << QList<int>{Qt::Key_5} << board::Slots{} << 0;
        QTest::newRow("2 then 6: no slot") << QList<int>{Qt::Key_2, Qt::Key_6} << board::Slots{} << 2;
    }
    void digitsBuildOnTheBoard()
    {
        QFETCH(QList<int>, keys);
        QFETCH(board::Slots, after);
        QFETCH(int, chosen);
        open();
        QWidget *board = f->controls().kokuban;
        auto *ring = f->findChild<ui::FocusFrame *>();
        f->controls().Check2->setFocus();
        QTest::keyClick(f->controls().Check2, Qt::Key_Tab); // グラフ, then the board
        QCOMPARE(QApplication::focusWidget(), board);
        QVERIFY(ring->isVisible());
        for (int key : keys)
            QTest::keyClick(board, Qt::Key(std::abs(key)), key < 0 ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(f->scene().SlotPiece, after);
        QCOMPARE(f->selectedPiece(), chosen);
        QTest::mouseClick(board, Qt::LeftButton, {}, QPoint(60, 380));
        QVERIFY(!ring->isVisible());
    }

    // A second press of the blank-screen key shows the envelope again, and
    // its box need not be in view (the compact window hides it).
    void blankScreenKeyToggles()
    {
        open();
        QVERIFY(!f->controls().Check5->isVisible() || !f->rect().contains(f->controls().Check5->geometry().center()));
        press(f->controls().kokuban, Qt::Key_Period);
        QVERIFY(f->controls().Check5->isChecked());
        QVERIFY(f->controls().Picture1->isVisible());
        press(f->controls().susumu, Qt::Key_B);
        QVERIFY(!f->controls().Check5->isChecked());
        QVERIFY(!f->controls().Picture1->isVisible());
    }

    // During a run the step keys are as deaf as their buttons, and F5 stops.
    void keysDuringARun_data()
    {
        QTest::addColumn<Focus>("focus");
        QTest::newRow("board") << Focus::Board;
        QTest::newRow("board clicked") << Focus::BoardByClick;
        QTest::newRow("button") << Focus::Button;
        QTest::newRow("check box") << Focus::CheckBox;
        QTest::newRow("speed box") << Focus::SpeedBox;
    }

    void keysDuringARun()
    {
        QFETCH(Focus, focus);
        open();
        f->controls().Combo1->setCurrentText(QStringLiteral("2")); // 10 ms between steps
        int waits = 0;
        std::vector<double> pxAroundKeys;
        connect(f.get(), &Form1::waitStarted, this, [&] {
            if (++waits != 3)
                return;
            const double before = f->scene().Px;
            press(focus, Qt::Key_PageDown);
            press(focus, Qt::Key_PageUp);
            press(focus, Qt::Key_F5); // ストップ: the run ends at once
            pxAroundKeys = {before, f->scene().Px};
        });
        press(f->controls().kokuban, Qt::Key_F5); // 自動
        testsupport::waitForRunEnd(*f);
        QVERIFY(!f->isRunning());
        QCOMPARE(pxAroundKeys.size(), std::size_t(2));
        QCOMPARE(pxAroundKeys[1], pxAroundKeys[0]); // no step by key during the run
        QCOMPARE(f->scene().Px, 270.0);                      // three steps, then stopped
        QVERIFY(f->controls().jidou->isEnabled());
        // F5 when idle runs again, from where P stands.
        connect(f.get(), &Form1::waitStarted, this, [&] {
            if (waits == 5)
                f->controls().tomeru->click();
        });
        press(focus, Qt::Key_F5);
        testsupport::waitForRunEnd(*f);
        QVERIFY(f->scene().Px < 270.0);
    }
};

QTEST_MAIN(KeysTest)
#include "tst_keys.moc"
