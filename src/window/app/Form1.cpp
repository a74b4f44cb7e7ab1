// Form1's controls at their design places, with captions, colours, fonts,
// stacking and keyboard order. Positions are window-client pixels, or board
// and table pixels for the controls on those surfaces.
#include "Form1.h"

#include "app/DesignFacts.h"
#include "ui/FocusFrame.h"
#include "ui/Fonts.h"
#include "ui/fast/FramedPanelStyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using namespace app;

// The keyboard's focus ring around the board: in the window's margin, this
// far outside the board and this wide (window pixels).
constexpr int focusRingGap = 1;
constexpr int focusRingWidth = 2;

void paint(QWidget *w, QPalette::ColorRole role, QColor colour)
{
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

// Opaque labels keep the boxes the design gives them: the stand-in face
// measures the captions a little differently from the design's face. The
// caption stands at the box's top-left, as on the board.
QLabel *opaqueLabel(QWidget *parent, const QString &text, QRect place, QColor back, QColor fore,
                    const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setAutoFillBackground(true);
    paint(label, QPalette::Window, back);
    paint(label, QPalette::WindowText, fore);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(place);
    return label;
}

QPushButton *button(QWidget *parent, const QString &caption, QRect place, QColor back,
                    const QFont &font)
{
    auto *b = new QPushButton(caption, parent);
    b->setGeometry(place);
    b->setFont(font);
    b->setAutoDefault(false); // Enter and Escape trigger no button
    paint(b, QPalette::Button, back);
    return b;
}

QCheckBox *checkBox(QWidget *parent, const QString &caption, QRect place)
{
    auto *c = new QCheckBox(caption, parent);
    c->setGeometry(place);
    c->setFont(ui::designFont(18));
    c->setAutoFillBackground(true);
    c->setBackgroundRole(QPalette::Window); // a check box fills with Button by default
    paint(c, QPalette::Window, windowGreen);
    paint(c, QPalette::WindowText, checkText);
    return c;
}

} // namespace

void Form1::createWindowControls()
{
    setAutoFillBackground(true);
    paint(this, QPalette::Window, windowGreen);
    Label6 = opaqueLabel(this, QStringLiteral("関数の利用"), placeOf("Label6"), titleBlue,
                         white, ui::designFont(24));
    Command1 = button(this, QStringLiteral("初期画面"), placeOf("Command1"), panelCream,
                      ui::designFont(12, true));
    Check1 = checkBox(this, QStringLiteral("方眼"), placeOf("Check1"));
    end = button(this, QStringLiteral("終了"), placeOf("end"), endLavender,
                 ui::designFont(12, true));

    m_board = std::make_unique<board::BoardPanel>(this, placeOf("kokuban"));
    kokuban = &m_board->surface();
    static_cast<board::BoardControls &>(*this) = m_board->controls();

    Picture1 = new QWidget(this);
    Picture1->setGeometry(placeOf("Picture1"));
    Picture1->setAutoFillBackground(true);
    paint(Picture1, QPalette::Window, windowGreen);

    jidou = button(this, QStringLiteral("自    動"), placeOf("jidou"), runGreen,
                   ui::designFont(15.75, true));
    Label3 = opaqueLabel(this, QStringLiteral("速度"), placeOf("Label3"), windowGreen, checkText,
                         ui::designFont(14.25));
    Combo1 = new QComboBox(this);
    Combo1->setEditable(true);
    Combo1->addItems({QStringLiteral(" 0"), QStringLiteral("10"), QStringLiteral("20"),
                      QStringLiteral("50"), QStringLiteral("100"), QStringLiteral("200")});
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCurrentText(QStringLiteral("50"));
    Combo1->setGeometry(placeOf("Combo1"));
    Combo1->setFont(ui::designFont(9.75));
    tomeru = button(this, QStringLiteral("ストップ"), placeOf("tomeru"), stopGreen,
                    ui::designFont(12));
    susumu = button(this, QStringLiteral("出す"), placeOf("susumu"), yellow,
                    ui::designFont(12, true));
    modoru = button(this, QStringLiteral("戻す"), placeOf("modoru"), backCyan,
                    ui::designFont(12, true));
    Command2 = button(this, QStringLiteral("最初に"), placeOf("Command2"), restartOrange,
                      ui::defaultFont());
    Check3 = checkBox(this, QStringLiteral("表"), placeOf("Check3"));
    Check2 = checkBox(this, QStringLiteral("グラフ"), placeOf("Check2"));

    m_graph = std::make_unique<graph::GraphPanel>(this, placeOf("gamen"));
    gamen = &m_graph->surface();

    Check5 = checkBox(this, QStringLiteral("封筒をかくす"), placeOf("Check5"));

    m_table = std::make_unique<table::TablePanel>(this, placeOf("hyo"));
    hyo = &m_table->surface();
    static_cast<table::TablePanel::Controls &>(*this) = m_table->controls();

    Label8 = opaqueLabel(this, QStringLiteral("Velmora 学習ソフト"), placeOf("Label8"),
                         windowGreen, creditGreen, ui::defaultFont());
}

void Form1::createBoardControls()
{
    Text1 = new QLineEdit(QStringLiteral("Text1"), kokuban);
    Text1->setGeometry(placeOf("Text1"));
    Text1->setFont(ui::designFont(18));
    // The read-out carries x; the pupil may select and copy it but not edit it.
    Text1->setReadOnly(true);
    // A new x repaints the text, not the frame around it.
    auto *readOutStyle = new ui::FramedPanelStyle;
    readOutStyle->setParent(Text1);
    Text1->setStyle(readOutStyle);

    Check4 = new QCheckBox(kokuban);
    Check4->setGeometry(placeOf("Check4"));
    Check4->setAutoFillBackground(true);
    Check4->setBackgroundRole(QPalette::Window);
    paint(Check4, QPalette::Window, barCheckOlive);
    Check4->setChecked(true);
}

void Form1::orderControls()
{
    // Stacking, nearest the viewer first: the cover lies over the board.
    const std::array<QWidget *, 19> stacking = {
        Picture1, Check5, Command2, kokuban, Command1, hyo,    Check1, Check3, tomeru, jidou,
        modoru,   susumu, Check2,   Combo1,  end,      gamen, Label8, Label6, Label3};
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it)
        (*it)->raise();

    // Keyboard order. The surfaces take the focus by the Tab key, and by a
    // click or a tap as every other control does: the presenter's keys
    // (B and ".") then act on the lesson again instead of going on into
    // the speed box that held the focus before.
    for (ui::Surface *surface : {gamen, kokuban, hyo})
        surface->setFocusPolicy(Qt::StrongFocus);
    const std::array<QWidget *, 17> tabOrder = {gamen,  end,    Combo1, Check2,  kokuban, susumu,
                                                modoru, jidou,  tomeru, Check3,  Check1,  hyo,
                                                Command1, Check4, Text1, Command2, Check5};
    for (std::size_t i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    // The board shows where the keyboard is; its keys build the figure.
    new ui::FocusFrame(kokuban, focusBlack, focusRingWidth, focusRingGap);
}

void Form1::connectHandlers()
{
    auto click = [this](QPushButton *b, void (Form1::*handler)()) {
        connect(b, &QPushButton::clicked, this, handler);
    };
    click(Command1, &Form1::Command1_Click);
    click(end, &Form1::end_Click);
    click(susumu, &Form1::susumu_Click);
    click(modoru, &Form1::modoru_Click);
    click(jidou, &Form1::jidou_Click);
    click(tomeru, &Form1::tomeru_Click);
    click(Command2, &Form1::Command2_Click);
    // A check box's handler runs whenever its value changes, by the pupil or
    // by the program; setting the value it already has runs nothing.
    auto toggle = [this](QCheckBox *c, void (Form1::*handler)()) {
        connect(c, &QCheckBox::toggled, this, handler);
    };
    toggle(Check1, &Form1::Check1_Click);
    toggle(Check2, &Form1::Check2_Click);
    toggle(Check3, &Form1::Check3_Click);
    toggle(Check4, &Form1::Check4_Click);
    toggle(Check5, &Form1::Check5_Click);

    connect(m_table.get(), &table::TablePanel::changed, this, &Form1::tableChanged);

    // The board's mouse events reach their handlers with the button (or
    // buttons), the modifier keys and the position in board pixels.
    auto mouse = [this](ui::Surface *surface, auto signal, void (Form1::*handler)(int, int, float, float)) {
        connect(surface, signal, this, [this, handler](auto b, Qt::KeyboardModifiers s, QPointF p) {
            (this->*handler)(int(b), int(s), float(p.x()), float(p.y()));
        });
    };
    mouse(kokuban, &ui::Surface::mouseDown, &Form1::kokuban_MouseDown);
    mouse(kokuban, &ui::Surface::mouseMove, &Form1::kokuban_MouseMove);
    mouse(kokuban, &ui::Surface::mouseUp, &Form1::kokuban_MouseUp);
    // A press on the graph or the table takes P to the x under it.
    mouse(gamen, &ui::Surface::mouseDown, &Form1::gamen_MouseDown);
    mouse(hyo, &ui::Surface::mouseDown, &Form1::hyo_MouseDown);
    connect(kokuban, &ui::Surface::keyDown, this,
            [this](int key, Qt::KeyboardModifiers shift) { kokuban_KeyDown(key, int(shift)); });
    // A finger builds as the mouse does; a touch the system takes back
    // drops what it held.
    kokuban->acceptTouch();
    connect(kokuban, &ui::Surface::touchCancelled, this, &Form1::kokuban_TouchCancel);
}
