// Names for assistive technology: every control is announced by its caption;
// the drawing surfaces, the cover, the read-out and the small box on the
// board get names that say what they show, and the board what is chosen.
#include "app/Form1.h"

#include "board/FigureWords.h"

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
    describeChoice();
}

// The board tells which piece a click, a tap or a key has chosen, by its
// kind and size, and its keys, in the words the buttons use for theirs.
void Form1::describeChoice()
{
    if (!m_chosen) {
        kokuban->setAccessibleDescription(QStringLiteral("キー：1〜4で図形を選ぶ"));
        return;
    }
    kokuban->setAccessibleDescription(QStringLiteral("選択中：%1%2。キー：1〜5で入れる場所、Escで取り消し")
                                          .arg(board::kindWords(m_chosen->piece),
                                               m_chosen->slot ? QStringLiteral("（封筒の中）") : QString()));
}
