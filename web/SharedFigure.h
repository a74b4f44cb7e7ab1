#pragma once

class Form1;

// The figure between the lesson and the page (the browser build only): the
// figure a link carries in the page's address is put into the envelope as
// the lesson starts, and again whenever a link changes the figure in the
// address of the open page; the page is told the figure the envelope holds
// now and whenever it changes, so that the teacher can hand it on.
namespace browser {

// Call it once the window is made and before it is first shown.
void shareFigure(Form1 &form);

} // namespace browser
