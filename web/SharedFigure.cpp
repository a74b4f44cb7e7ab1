#include "SharedFigure.h"

#include "app/Form1.h"
#include "board/FigureCode.h"

#include <QPointer>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

namespace browser {
namespace {

QPointer<Form1> theForm;

// A figure's text from the address, as a link opened in a new tab gives
// it: a figure the drags can make is put into the envelope; a text that
// stands for no figure leaves the envelope empty, as the lesson starts.
void figureFromAddress(const std::string &code)
{
    if (!theForm)
        return;
    theForm->buildFigure(board::figureFromCode(code).value_or(board::Slots{}));
}

} // namespace

void shareFigure(Form1 &form)
{
    using emscripten::val;
    // The page's side, share.js; without it (the program in a page of
    // another's) the figure is neither read nor told.
    const val share = val::global("kansuShare");
    if (!share.as<bool>())
        return;
    theForm = &form;
    // The address's figure as the page found it, "" for none; at the start
    // the envelope is empty already.
    const val code = share.call<val>("figureInAddress");
    if (code.isString()) {
        if (const auto figure = board::figureFromCode(code.as<std::string>()))
            form.buildFigure(*figure);
    }
    // A figure link opened in the tab that shows the lesson changes only
    // the address's fragment: the page hands the new text on.
    share.call<void>("followAddress", val::module_property("kansuFigureFromAddress"));
    const auto tell = [share, &form] { share.call<void>("figure", board::figureCode(form.scene().SlotPiece)); };
    tell();
    QObject::connect(&form, &Form1::figureChanged, &form, tell);
}

} // namespace browser

EMSCRIPTEN_BINDINGS(kansu_shared_figure)
{
    emscripten::function("kansuFigureFromAddress", &browser::figureFromAddress);
}
