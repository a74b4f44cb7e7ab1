#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The lesson paints exact colours, so it needs a display of at least this
// many bits per pixel.
constexpr int neededScreenDepth = 24;

// What this machine lacks for the lesson to show as designed, one sentence
// for each missing thing (empty when nothing is missing): a screen shallower
// than neededScreenDepth, and a font list without `face`, the Japanese face
// every caption is set in. A depth of 0 or less means no screen is known and
// is not reported.
QStringList environmentShortfalls(int screenDepth, const QStringList &fontFamilies,
                                  const QString &face);

// Checks the primary screen and the installed fonts once the application
// exists and writes each shortfall as one line on stderr. The program goes
// on either way. On a screen too shallow to paint on, every paint of every
// widget fails with a painter warning; those warnings say nothing the line
// has not said, so from then on they are kept off stderr (every other
// message still gets through).
void reportEnvironmentShortfalls();

} // namespace app
