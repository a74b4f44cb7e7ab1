#pragma once

class QApplication;

// Application-wide look shared by the program, its tests and benchmarks:
// the Fusion style (buttons show their design colours on every desktop) and
// the Japanese Gothic standing in for the design's font as the default.
void setUpApplication(QApplication &app);
