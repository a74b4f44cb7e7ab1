#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace app {

// The lesson paints exact colours, so it needs a display of at least this
// many bits per pixel.
constexpr int neededScreenDepth = 24;

// What this machine lacks for the lesson to show as designed, one sentence
// for each missing thing (empty when nothing is missing): a screen shallower
// than neededScreenDepth, and no font with the captions' Japanese letters
// (`face` names the one every caption is set in). A depth of 0 or less means
// no screen is known and is not reported.
QStringList environmentShortfalls(int screenDepth, bool captionsHaveGlyphs, const QString &face);

// Whether `font`, or the fonts the system falls back on from it, can draw
// the captions' letters. The face is not looked for by its name: the font
// system names it in the locale's language (in a Japanese locale IPAPGothic
// is listed as "IPA Pゴシック").
bool captionsHaveGlyphs(const QFont &font);

// Checks the primary screen and the installed fonts once the application
// exists and writes each shortfall as one line on stderr. The program goes
// on either way. On a screen too shallow to paint on, every paint of every
// widget fails with a painter warning; those warnings say nothing the line
// has not said, so from then on they are kept off stderr (every other
// message still gets through).
void reportEnvironmentShortfalls();

} // namespace app
