// Form1's controls at their design places, with captions, colours, fonts,
// stacking and keyboard order. Positions are window-client pixels, or board
// and table pixels for the controls on those surfaces.
#include "Form1.h"

#include "app/DesignFacts.h"
#include "ui/FocusFrame.h"
#include "ui/Fonts.h"
#include "ui/fast/FramedPanelStyle.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using namespace app;

constexpr int envelopeLineWidth = 3;
constexpr int underlineWidth = 3;
constexpr int tableRuleWidth = 3;
constexpr int redBarWidth = 5;
constexpr int templateLineWidth = 2;
constexpr int trayBandWidth = 150; // covers board rows 0..139 around y = 64
constexpr int chosenFrameWidth = 3;
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

void placeOpaque(ui::LabelControl *label, QRect place)
{
    label->move(place.left(), place.top());
    label->setBoxSize(place.size());
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

Form1::Form1(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
    setAutoFillBackground(true);
    paint(this, QPalette::Window, windowGreen);
    // The design area in which every control is in view; the window shows
    // part of it until Form_Load sets the compact size.
    setOuterSizeTwips(graphWidthTwips, tableHeightTwips);

    createWindowControls();
    createBoardControls();
    createTableControls();
    orderControls();
    nameControls();
    connectHandlers();
    connectKeys();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::createWindowControls()
{
    Label6 = opaqueLabel(this, QStringLiteral("関数の利用"), placeOf("Label6"), QColor(0, 0, 255),
                         white, ui::designFont(24));
    Command1 = button(this, QStringLiteral("初期画面"), placeOf("Command1"), panelCream,
                      ui::designFont(12, true));
    Check1 = checkBox(this, QStringLiteral("方眼"), placeOf("Check1"));
    end = button(this, QStringLiteral("終了"), placeOf("end"), QColor(192, 192, 255),
                 ui::designFont(12, true));

    kokuban = new ui::Surface(placeOf("kokuban").size(), boardGreen, this);
    kokuban->move(placeOf("kokuban").topLeft());
    kokuban->setForeColor(white);
    kokuban->setCanvasFont(ui::designFont(14.25, true));

    Picture1 = new QWidget(this);
    Picture1->setGeometry(placeOf("Picture1"));
    Picture1->setAutoFillBackground(true);
    paint(Picture1, QPalette::Window, windowGreen);

    jidou = button(this, QStringLiteral("自    動"), placeOf("jidou"), QColor(0, 255, 0),
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
    tomeru = button(this, QStringLiteral("ストップ"), placeOf("tomeru"), QColor(128, 255, 128),
                    ui::designFont(12));
    susumu = button(this, QStringLiteral("出す"), placeOf("susumu"), yellow,
                    ui::designFont(12, true));
    modoru = button(this, QStringLiteral("戻す"), placeOf("modoru"), QColor(0, 255, 255),
                    ui::designFont(12, true));
    Command2 = button(this, QStringLiteral("最初に"), placeOf("Command2"), QColor(255, 192, 128),
                      ui::defaultFont());
    Check3 = checkBox(this, QStringLiteral("表"), placeOf("Check3"));
    Check2 = checkBox(this, QStringLiteral("グラフ"), placeOf("Check2"));

    gamen = new ui::Surface(placeOf("gamen").size(), panelCream, this);
    gamen->move(placeOf("gamen").topLeft());
    gamen->setCanvasFont(ui::defaultFont());

    Check5 = checkBox(this, QStringLiteral("封筒をかくす"), placeOf("Check5"));

    hyo = new ui::Surface(placeOf("hyo").size(), panelCream, this);
    hyo->move(placeOf("hyo").topLeft());
    hyo->setForeColor(Qt::black);
    hyo->setCanvasFont(ui::designFont(14.25, true));

    Label8 = opaqueLabel(this, QStringLiteral("Velmora 学習ソフト"), placeOf("Label8"),
                         windowGreen, QColor(0, 192, 0), ui::defaultFont());
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
    paint(Check4, QPalette::Window, QColor(128, 128, 0));
    Check4->setChecked(true);

    // Windowless controls, nearest the viewer first: the frame around a
    // chosen piece above everything, hidden until a piece is chosen.
    ui::ControlLayer &layer = kokuban->controls();
    m_chosenFrame = layer.add<ui::FrameControl>(chosenCyan, chosenFrameWidth);
    m_chosenFrame->setVisible(false);
    const QFont labelFont = ui::defaultFont();
    const std::array<QString, 8> label9Captions = {
        QStringLiteral("2cm"), QStringLiteral("2cm"), QStringLiteral("2cm"), QStringLiteral("4cm"),
        QStringLiteral("2cm"), QStringLiteral("6cm"), QStringLiteral("6cm"), QStringLiteral("6cm")};
    const std::array<QPoint, 8> label9Places = {QPoint(312, 112), QPoint(302, 96),
                                                QPoint(360, 112), QPoint(353, 72),
                                                QPoint(408, 112), QPoint(404, 48),
                                                QPoint(512, 112), QPoint(573, 56)};
    for (int i = 7; i >= 0; --i) {
        Label9[i] = layer.add<ui::LabelControl>(label9Captions[i], labelFont, white);
        Label9[i]->move(label9Places[i].x(), label9Places[i].y());
    }
    for (int i = 2; i >= 0; --i)
        Line8[i] = layer.add<ui::LineControl>(yellow, templateLineWidth);
    Shape1 = layer.add<ui::ShapeControl>(red, placeOf("Shape1"));
    Line5[4] = layer.add<ui::LineControl>(red, redBarWidth);
    for (int i = 3; i >= 0; --i)
        Line9[i] = layer.add<ui::LineControl>(yellow, templateLineWidth);
    for (int i = 3; i >= 0; --i)
        Line7[i] = layer.add<ui::LineControl>(yellow, templateLineWidth);
    for (int i = 3; i >= 0; --i)
        Line6[i] = layer.add<ui::LineControl>(yellow, templateLineWidth);
    Line1 = layer.add<ui::LineControl>(trayGreen, trayBandWidth, QLine(0, 64, 600, 64));

    // The sides and the base line have squared ends, so the corners C and D,
    // where the 3-px lines meet, close; the flap's lines end flat.
    auto envelopeSide = [&] {
        return layer.add<ui::LineControl>(white, envelopeLineWidth, QLine(), Qt::SquareCap);
    };
    auto flapLine = [&] { return layer.add<ui::LineControl>(white, envelopeLineWidth); };
    auto cornerLabel = [&](const QString &caption, double points, QColor colour = white) {
        return layer.add<ui::LabelControl>(caption, ui::designFont(points), colour);
    };
    Line5[3] = envelopeSide();
    Label1 = layer.add<ui::LabelControl>(QStringLiteral("点Ｐが動いた距離χ"), ui::designFont(18),
                                         white, boardGreen);
    placeOpaque(Label1, placeOf("Label1"));
    Line5[1] = envelopeSide();
    Label2 = layer.add<ui::LabelControl>(QStringLiteral("cm"), ui::designFont(15.75, true), white,
                                         boardGreen);
    placeOpaque(Label2, placeOf("Label2"));
    Line4[1] = layer.add<ui::LineControl>(red, underlineWidth, QLine(24, 392, 232, 392));
    Label4[3] = cornerLabel(QStringLiteral("Ｄ"), 24);
    Line5[2] = envelopeSide();
    Label4[8] = cornerLabel(QStringLiteral("Ｐ"), 24);
    Label4[2] = cornerLabel(QStringLiteral("C"), 24);
    Label4[1] = cornerLabel(QStringLiteral("B"), 24);
    Label4[6] = cornerLabel(QStringLiteral("χcm"), 18, QColor(255, 128, 128));
    Line5[0] = envelopeSide();
    Label4[5] = cornerLabel(QStringLiteral("６cm"), 18);
    Label4[4] = cornerLabel(QStringLiteral("１０cm"), 18);
    Label4[0] = cornerLabel(QStringLiteral("A"), 24);
    Line5[5] = flapLine();
    Line5[7] = flapLine();
    Line5[6] = flapLine();
}

void Form1::createTableControls()
{
    // Nearest the viewer first: the rules lie over the headings, so the
    // column rule shows its full width beside "χ", whose box reaches it.
    ui::ControlLayer &layer = hyo->controls();
    Line3 = layer.add<ui::LineControl>(Qt::black, tableRuleWidth, QLine(8, 56, 600, 56));
    Line2 = layer.add<ui::LineControl>(Qt::black, tableRuleWidth, QLine(32, 8, 32, 104));
    const QFont headingFont = ui::designFont(24, true);
    Label5 = layer.add<ui::LabelControl>(QStringLiteral("χ"), headingFont, Qt::black, panelCream);
    placeOpaque(Label5, placeOf("Label5"));
    Label7 = layer.add<ui::LabelControl>(QStringLiteral("ｙ"), headingFont, Qt::black, panelCream);
    placeOpaque(Label7, placeOf("Label7"));
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

    // The board's mouse events reach their handlers with the button (or
    // buttons), the modifier keys and the position in board pixels.
    auto mouse = [this](auto signal, void (Form1::*handler)(int, int, float, float)) {
        connect(kokuban, signal, this, [this, handler](auto b, Qt::KeyboardModifiers s, QPointF p) {
            (this->*handler)(int(b), int(s), float(p.x()), float(p.y()));
        });
    };
    mouse(&ui::Surface::mouseDown, &Form1::kokuban_MouseDown);
    mouse(&ui::Surface::mouseMove, &Form1::kokuban_MouseMove);
    mouse(&ui::Surface::mouseUp, &Form1::kokuban_MouseUp);
    connect(kokuban, &ui::Surface::keyDown, this,
            [this](int key, Qt::KeyboardModifiers shift) { kokuban_KeyDown(key, int(shift)); });
    // A finger builds as the mouse does; a touch the system takes back
    // drops what it held.
    kokuban->acceptTouch();
    connect(kokuban, &ui::Surface::touchCancelled, this, &Form1::kokuban_TouchCancel);
}

void Form1::setOuterSizeTwips(int widthTwips, int heightTwips)
{
    m_outerWidthTwips = widthTwips;
    m_outerHeightTwips = heightTwips;
    // The pupil cannot resize the window: the graph and the table come into
    // view only through グラフ and 表.
    setFixedSize(app::clientSizeFromOuterTwips(widthTwips, heightTwips));
}

void Form1::closeEvent(QCloseEvent *event)
{
    event->accept();
    end_Click();
}
