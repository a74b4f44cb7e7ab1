#include "ContrastView.h"

#include "app/Form1.h"

#include <QPointer>

#include <emscripten/bind.h>
#include <emscripten/val.h>

namespace browser {
namespace {

QPointer<Form1> theForm;

// The page's button, pressed (on) or released.
void contrastFromPage(bool on)
{
    if (theForm)
        theForm->setContrastView(on);
}

} // namespace

void offerContrastView(Form1 &form)
{
    using emscripten::val;
    // The page's side, contrast.js; without it (the program in a page of
    // another's) the design's view stays.
    const val page = val::global("kansuContrast");
    if (!page.as<bool>())
        return;
    theForm = &form;
    form.setContrastView(page.call<bool>("wanted"));
    page.call<void>("follow", val::module_property("kansuContrastView"));
}

} // namespace browser

EMSCRIPTEN_BINDINGS(kansu_contrast_view)
{
    emscripten::function("kansuContrastView", &browser::contrastFromPage);
}
