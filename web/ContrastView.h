#pragma once

class Form1;

// The contrast view between the page and the lesson (the browser build
// only): the lesson starts in the view the page remembers, and the page's
// button switches it (contrast.js).
namespace browser {

// Call it once the window is made and before it is first shown.
void offerContrastView(Form1 &form);

} // namespace browser
