#include "PageControls.h"

#include "PageInput.h"
#include "Paced.h"
#include "QtWasmPrivate.h"

#include "app/Form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWindow>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <memory>
#include <string>
#include <vector>

namespace browser {
namespace {

using emscripten::val;

// What a control is to the page, and so which HTML element stands for it.
enum class Kind { Button, CheckBox, ComboBox, TextBox, Surface };

const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::Button: return "button";
    case Kind::CheckBox: return "checkbox";
    case Kind::ComboBox: return "combobox";
    case Kind::TextBox: return "textbox";
    case Kind::Surface: return "surface";
    }
    return "";
}

struct Bound
{
    std::string name; // the design's name of the control, the element's too
    QWidget *widget;
    Kind kind;
};

val pageControls()
{
    val controls = val::global("kansuControls");
    return controls.isUndefined() || controls.isNull() ? val::undefined() : controls;
}

std::string cssColour(const QColor &colour) { return colour.name(QColor::HexRgb).toStdString(); }

// The read-out, the one text box that changes at every step of P: the
// program paints it, in the same frame as the board, where a new text in
// its element would have the browser lay out and paint the page again
// each step (on a slow processor, about a quarter of a dragged P's lag).
// Its element, seen through, keeps its place for the keyboard, the focus
// ring and assistive technology.
bool paintedByProgram(const Bound &b)
{
    auto *edit = qobject_cast<QLineEdit *>(b.widget);
    return edit && edit->isReadOnly();
}

// Keeps the page's elements and the program's controls in step.
class ControlsLink : public QObject
{
public:
    explicit ControlsLink(Form1 &form) : QObject(&form), m_form(&form)
    {
        const Form1Controls &c = form.controls();
        const std::vector<Bound> all = {
            {"Command1", c.Command1, Kind::Button}, {"end", c.end, Kind::Button},
            {"jidou", c.jidou, Kind::Button},       {"tomeru", c.tomeru, Kind::Button},
            {"susumu", c.susumu, Kind::Button},     {"modoru", c.modoru, Kind::Button},
            {"Command2", c.Command2, Kind::Button}, {"Check1", c.Check1, Kind::CheckBox},
            {"Check2", c.Check2, Kind::CheckBox},   {"Check3", c.Check3, Kind::CheckBox},
            {"Check5", c.Check5, Kind::CheckBox},   {"Check4", c.Check4, Kind::CheckBox},
            {"Combo1", c.Combo1, Kind::ComboBox},   {"Text1", c.Text1, Kind::TextBox},
            {"kokuban", c.kokuban, Kind::Surface},  {"gamen", c.gamen, Kind::Surface},
            {"hyo", c.hyo, Kind::Surface}};
        m_bound = inKeyboardOrder(all);
        m_cover = c.Picture1;
        m_cover->installEventFilter(this);
        form.installEventFilter(this); // its size: グラフ and 表 bring controls into view
        for (const Bound &b : m_bound)
            watch(b);
    }

    // The elements the page makes, one per control, in keyboard order.
    void describe()
    {
        val controls = pageControls();
        if (controls.isUndefined())
            return;
        handOverFace(controls);
        val list = val::array();
        for (const Bound &b : m_bound)
            list.call<void>("push", description(b));
        controls.call<void>("build", list);
        for (const Bound &b : m_bound)
            tell(b);
    }

    // The pupil's action on an element: "click" a button, "check" a box
    // (value true or false), "text" a field's new text; "heard" (an element
    // the program paints has the focus) has its state told at once.
    void act(const std::string &name, const std::string &what, const val &value)
    {
        const Bound *b = find(name);
        if (!b)
            return;
        if (what == "click") {
            if (auto *button = qobject_cast<QAbstractButton *>(b->widget))
                button->click(); // nothing for a disabled button
        } else if (what == "check") {
            auto *box = qobject_cast<QCheckBox *>(b->widget);
            if (box && box->isEnabled())
                box->setChecked(value.as<bool>());
        } else if (what == "text") {
            const QString text = QString::fromStdString(value.as<std::string>());
            if (auto *combo = qobject_cast<QComboBox *>(b->widget))
                combo->setEditText(text);
            else if (auto *edit = qobject_cast<QLineEdit *>(b->widget); edit && !edit->isReadOnly())
                edit->setText(text);
        }
        // The program may have refused or changed what the element shows.
        tell(*b);
    }

    // A key pressed or released while `name`'s element has the page's focus
    // ("" for none of the lesson's): the program's focus follows, so that
    // the window's keys give way where its own control would take the key
    // (the speed box its arrows), and the board gets its own keys.
    bool key(const std::string &name, bool press, int qtKey, Qt::KeyboardModifiers modifiers, const QString &text,
             bool repeat)
    {
        QWindow *window = m_form ? m_form->windowHandle() : nullptr;
        if (!window)
            return false;
        const Bound *b = find(name);
        QWidget *focus = b ? b->widget : m_form.data();
        if (auto *combo = qobject_cast<QComboBox *>(focus); combo && combo->lineEdit())
            focus = combo->lineEdit();
        if (focus && focus != QApplication::focusWidget())
            focus->setFocus(Qt::OtherFocusReason);
        const bool board = b && b->kind == Kind::Surface && b->name == "kokuban";
        return qtprivate::sendKey(*window, press ? QEvent::KeyPress : QEvent::KeyRelease, qtKey,
                                  modifiers, text, repeat,
                                  !board);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Paint:
            // The element stands in the control's place; the board, the
            // graph and the table are painted as ever.
            if (const Bound *b = find(watched))
                return b->kind != Kind::Surface && !paintedByProgram(*b);
            return isPartOfControl(watched);
        case QEvent::Resize:
        case QEvent::EnabledChange:
        case QEvent::Show:
        case QEvent::Hide:
            if (watched == m_cover || watched == m_form) {
                for (const Bound &b : m_bound)
                    tell(b);
            } else if (const Bound *b = find(watched)) {
                tell(*b);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The controls as the window's keyboard order meets them (a control
    // with a focus proxy, the speed box, is met through its text field).
    static std::vector<Bound> inKeyboardOrder(const std::vector<Bound> &all)
    {
        std::vector<Bound> ordered;
        auto taken = [&](const Bound &b) {
            for (const Bound &o : ordered)
                if (o.widget == b.widget)
                    return true;
            return false;
        };
        QWidget *window = all.front().widget->window();
        for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
            for (const Bound &b : all)
                if ((b.widget == w || b.widget->isAncestorOf(w)) && !taken(b))
                    ordered.push_back(b);
        for (const Bound &b : all)
            if (!taken(b))
                ordered.push_back(b);
        return ordered;
    }

    void watch(const Bound &b)
    {
        b.widget->installEventFilter(this);
        for (QWidget *child : b.widget->findChildren<QWidget *>())
            if (b.kind != Kind::Surface)
                child->installEventFilter(this); // the speed box's text field
        auto tellThis = [this, name = b.name] {
            if (const Bound *bound = find(name))
                tell(*bound);
        };
        if (auto *box = qobject_cast<QCheckBox *>(b.widget))
            connect(box, &QCheckBox::toggled, this, tellThis);
        else if (auto *combo = qobject_cast<QComboBox *>(b.widget))
            connect(combo, &QComboBox::editTextChanged, this, tellThis);
        else if (auto *edit = qobject_cast<QLineEdit *>(b.widget); edit && paintedByProgram(b)) {
            // Its element is heard, not seen: it takes a new text as the
            // page's other texts that change at every step do.
            m_heardText = std::make_unique<Paced>(this, tellThis);
            connect(edit, &QLineEdit::textChanged, this, [this] { m_heardText->soon(); });
        } else if (edit) {
            connect(edit, &QLineEdit::textChanged, this, tellThis);
        }
    }

    // A widget inside a control (the speed box's text field).
    bool isPartOfControl(QObject *object) const
    {
        auto *widget = qobject_cast<QWidget *>(object);
        for (const Bound &b : m_bound)
            if (b.kind != Kind::Surface && widget && b.widget->isAncestorOf(widget))
                return true;
        return false;
    }

    const Bound *find(const std::string &name) const
    {
        for (const Bound &b : m_bound)
            if (b.name == name)
                return &b;
        return nullptr;
    }

    const Bound *find(QObject *object) const
    {
        for (const Bound &b : m_bound)
            if (b.widget == object)
                return &b;
        return nullptr;
    }

    // The control's place in the window's client area, in the lesson's
    // pixels (the board's controls stand on the board).
    QRect placeOf(const QWidget *widget) const
    {
        return QRect(widget->mapTo(m_form.data(), QPoint(0, 0)), widget->size());
    }

    // In view: inside the window's client area (グラフ and 表 widen and
    // heighten it), and not under the cover stacked above it.
    bool inView(const Bound &b) const
    {
        return b.widget->isVisibleTo(m_form.data()) && m_form->rect().intersects(placeOf(b.widget)) && !covered(b);
    }

    bool covered(const Bound &b) const
    {
        if (b.kind == Kind::Surface || !m_cover->isVisible())
            return false;
        QWidget *top = b.widget;
        while (top->parentWidget() && top->parentWidget() != m_form)
            top = top->parentWidget();
        const QObjectList &stacking = m_form->children(); // bottom first
        return stacking.indexOf(m_cover) > stacking.indexOf(top)
               && m_cover->geometry().intersects(placeOf(b.widget));
    }

    val description(const Bound &b) const
    {
        QWidget *w = b.widget;
        val d = val::object();
        d.set("name", b.name);
        d.set("kind", std::string(kindName(b.kind)));
        d.set("label", w->accessibleName().toStdString());
        d.set("description", w->accessibleDescription().toStdString());
        const QRect place = placeOf(w);
        d.set("rect", val::array(std::vector<int>{place.x(), place.y(), place.width(), place.height()}));
        const QFontInfo font(w->font());
        d.set("fontPx", font.pixelSize());
        d.set("bold", font.bold());
        const QPalette &palette = w->palette();
        switch (b.kind) {
        case Kind::Button:
            d.set("caption", static_cast<QAbstractButton *>(w)->text().toStdString());
            d.set("back", cssColour(palette.color(QPalette::Active, QPalette::Button)));
            d.set("fore", cssColour(palette.color(QPalette::Active, QPalette::ButtonText)));
            break;
        case Kind::CheckBox:
            d.set("caption", static_cast<QAbstractButton *>(w)->text().toStdString());
            d.set("back", cssColour(palette.color(QPalette::Active, QPalette::Window)));
            d.set("fore", cssColour(palette.color(QPalette::Active, QPalette::WindowText)));
            break;
        case Kind::ComboBox: {
            auto *combo = static_cast<QComboBox *>(w);
            val items = val::array();
            for (int i = 0; i < combo->count(); ++i)
                items.call<void>("push", combo->itemText(i).toStdString());
            d.set("items", items);
            d.set("back", cssColour(palette.color(QPalette::Active, QPalette::Base)));
            d.set("fore", cssColour(palette.color(QPalette::Active, QPalette::Text)));
            break;
        }
        case Kind::TextBox:
            d.set("readOnly", static_cast<QLineEdit *>(w)->isReadOnly());
            d.set("painted", paintedByProgram(b));
            if (paintedByProgram(b))
                break;
            d.set("back", cssColour(palette.color(QPalette::Active, QPalette::Base)));
            d.set("fore", cssColour(palette.color(QPalette::Active, QPalette::Text)));
            break;
        case Kind::Surface:
            break;
        }
        return d;
    }

    void tell(const Bound &b) const
    {
        val controls = pageControls();
        if (controls.isUndefined() || !m_form)
            return;
        val state = val::object();
        state.set("enabled", b.widget->isEnabled());
        state.set("shown", inView(b));
        if (auto *box = qobject_cast<QCheckBox *>(b.widget))
            state.set("checked", box->isChecked());
        else if (auto *combo = qobject_cast<QComboBox *>(b.widget))
            state.set("text", combo->currentText().toStdString());
        else if (auto *edit = qobject_cast<QLineEdit *>(b.widget))
            state.set("text", edit->text().toStdString());
        controls.call<void>("state", b.name, state);
    }

    // The face the program draws its captions in, handed to the page from
    // the program's own resources, so the elements show the same face at
    // no second download.
    static void handOverFace(val &controls)
    {
        QFile face(QStringLiteral(":/fonts/face.ttf"));
        if (!face.open(QIODevice::ReadOnly))
            return;
        const QByteArray bytes = face.readAll();
        const val view(emscripten::typed_memory_view(std::size_t(bytes.size()),
                                                     reinterpret_cast<const unsigned char *>(bytes.constData())));
        controls.call<void>("useFace", view); // the page copies the bytes at once
    }

    QPointer<Form1> m_form;
    QWidget *m_cover = nullptr; // Picture1, over the envelope when 封筒をかくす is on
    std::vector<Bound> m_bound;
    std::unique_ptr<Paced> m_heardText; // the read-out's text, told to its element
};

QPointer<ControlsLink> theLink;

void actFromPage(std::string name, std::string what, val value)
{
    if (theLink)
        theLink->act(name, what, value);
}

// The toolkit's key for the DOM's `key` (what the key means on the pupil's
// layout, "PageDown", "b", "1") and `code` (where it sits, "Numpad1");
// 0 for a key the lesson never hears of.
struct TranslatedKey
{
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

TranslatedKey translateKey(const std::string &domKey, const std::string &code)
{
    static const std::vector<std::pair<std::string, int>> named = {
        {"PageDown", Qt::Key_PageDown}, {"PageUp", Qt::Key_PageUp},       {"ArrowLeft", Qt::Key_Left},
        {"ArrowRight", Qt::Key_Right},  {"ArrowUp", Qt::Key_Up},           {"ArrowDown", Qt::Key_Down},
        {"Home", Qt::Key_Home},         {"End", Qt::Key_End},             {"Escape", Qt::Key_Escape},
        {"Enter", Qt::Key_Return},      {"Backspace", Qt::Key_Backspace}, {"Delete", Qt::Key_Delete},
        {"Tab", Qt::Key_Tab},           {" ", Qt::Key_Space}};
    TranslatedKey t;
    if (code.rfind("Numpad", 0) == 0)
        t.modifiers |= Qt::KeypadModifier;
    for (const auto &[name, key] : named)
        if (name == domKey) {
            t.key = key;
            if (key == Qt::Key_Space)
                t.text = QStringLiteral(" ");
            return t;
        }
    if (domKey.size() >= 2 && domKey[0] == 'F' && domKey.find_first_not_of("0123456789", 1) == std::string::npos) {
        const int n = std::stoi(domKey.substr(1));
        if (n >= 1 && n <= 35)
            t.key = Qt::Key_F1 + n - 1;
        return t;
    }
    const QString text = QString::fromStdString(domKey);
    if (text.size() == 1 || (text.size() == 2 && text.at(0).isHighSurrogate())) {
        t.text = text;
        t.key = text.size() == 1 ? int(text.at(0).toUpper().unicode()) : int(text.toUcs4().value(0));
    }
    return t;
}

bool keyFromPage(std::string name, bool press, std::string domKey, std::string code, int modifiers, bool repeat)
{
    if (!theLink)
        return false;
    const TranslatedKey t = translateKey(domKey, code);
    if (t.key == 0)
        return false;
    return theLink->key(name, press, t.key, t.modifiers | modifiersFromPage(modifiers), t.text, repeat);
}

} // namespace

void bindControlsToPage(Form1 &form)
{
    theLink = new ControlsLink(form);
    theLink->describe();
}

} // namespace browser

EMSCRIPTEN_BINDINGS(kansu_controls)
{
    emscripten::function("kansuControl", &browser::actFromPage);
    emscripten::function("kansuKey", &browser::keyFromPage);
}
