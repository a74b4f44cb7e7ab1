#pragma once

namespace app {

// Gives the program the per-user runtime folder that a desktop session
// names in XDG_RUNTIME_DIR, where the session names none (root on a bare
// console, a remote shell without a login session). It is the folder Qt
// falls back on then, runtime-<user> in the temporary folder, private to
// the user; Qt checks it as it checks one named by the session. Call it
// before the application object is made.
void provideRuntimeDirectory();

} // namespace app
