#pragma once

class Form1;

// The lesson's controls as the page's own HTML elements (controls.js), for
// the browser build: a pupil's screen reader, keyboard, zoom, translation
// and input method reach HTML, not the toolkit's pixels. The program stays
// the one owner of state and behaviour: an element's click, check or text
// goes to the program's own control, and the control's state (enabled,
// checked, text, in view) comes back to the element whenever it changes.
// The program's widgets for these controls are not drawn in the page; the
// board, the graph and the table stay the program's pixels, with an element
// of their own each for their names and the board's keys.
namespace browser {

// Describes the controls to the page, in the window's keyboard order, and
// binds them. Call it once the window is attached to the page.
void bindControlsToPage(Form1 &form);

} // namespace browser
