// Names for assistive technology: every control is announced by its caption;
// the drawing surfaces, the cover, the read-out and the small box on the
// board get names that say what they show.
#include "app/Form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void Form1::nameControls()
{
    for (QPushButton *b : {Command1, end, jidou, tomeru, susumu, modoru, Command2})
        b->setAccessibleName(b->text().simplified().remove(QLatin1Char(' ')));
    for (QCheckBox *c : {Check1, Check2, Check3, Check5})
        c->setAccessibleName(c->text());
    Check4->setAccessibleName(QStringLiteral("線分BPを表示"));
    // The speed box is labelled by "速度" beside it; its text field, which
    // takes the focus, carries the same name.
    Label3->setBuddy(Combo1);
    Combo1->setAccessibleName(QStringLiteral("速度"));
    Combo1->lineEdit()->setAccessibleName(QStringLiteral("速度"));
    Text1->setAccessibleName(QStringLiteral("点Ｐが動いた距離χ（cm）"));
    kokuban->setAccessibleName(QStringLiteral("黒板：封筒ABCDと図形"));
    gamen->setAccessibleName(QStringLiteral("グラフ：χとｙの関係"));
    hyo->setAccessibleName(QStringLiteral("表：χとｙの値"));
    Picture1->setAccessibleName(QStringLiteral("封筒のおおい"));
}
