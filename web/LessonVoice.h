#pragma once

class Form1;

// What the lesson shows, told to the page in words for assistive
// technology (the browser build): a polite status region says x and y
// after each step, 最初に and 初期画面, the figure after it changes and the
// end of an automatic run (during a run at most once a second); an HTML
// table holds the lesson's table as it is written and erased; the board's
// element carries a short description of the figure and of P. Every
// number is the program's own, in its own number form.
namespace browser {

void speakForLesson(Form1 &form);

} // namespace browser
