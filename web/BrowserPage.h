#pragma once

class QWidget;

// The lesson's window inside a web page (the browser build only). The page
// (index.html, page.js) shows exactly the window's client area, scaled to
// fit the browser window, and an end page once 終了 has ended the program.
namespace browser {

// Registers the face bundled with the program, so that the design's font
// finds it: a browser has no fonts of its own for the toolkit. Call it after
// the application object exists and before any font is set.
void registerBundledFace();

// Puts `window` on the page: without a frame, at the page's top left, its
// client size told to the page whenever it changes (グラフ, 表), drawn at the
// scale the page fits it to; the caption becomes the page's title; the end
// of the program shows the page's end screen. Call it before showing it.
void attachToPage(QWidget &window);

} // namespace browser
