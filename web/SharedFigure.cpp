#include "SharedFigure.h"

#include "app/Form1.h"
#include "board/FigureCode.h"

#include <emscripten/val.h>

#include <string>

namespace browser {

void shareFigure(Form1 &form)
{
    using emscripten::val;
    // The page's side, share.js; without it (the program in a page of
    // another's) the figure is neither read nor told.
    const val share = val::global("kansuShare");
    if (!share.as<bool>())
        return;
    // The address's figure as the page found it, "" for none; a text that
    // stands for no figure the drags can make leaves the envelope empty.
    const val code = share.call<val>("figureInAddress");
    if (code.isString()) {
        if (const auto figure = board::figureFromCode(code.as<std::string>()))
            form.buildFigure(*figure);
    }
    const auto tell = [share, &form] { share.call<void>("figure", board::figureCode(form.scene().SlotPiece)); };
    tell();
    QObject::connect(&form, &Form1::figureChanged, &form, tell);
}

} // namespace browser
