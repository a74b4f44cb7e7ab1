#pragma once

#include <QString>
#include <QStringView>

namespace ui {

// The general number form of the lesson's texts: a blank before zero and
// positive numbers (a minus sign before negative ones), then the shortest
// decimal form without trailing zeros, without a point for whole values and
// without a zero before the point below 1 (one half is " .5"). Doubles keep at
// most 15 significant digits, floats at most 7.
QString generalNumber(double value);
QString generalNumber(float value);

// The leading-number parse: leading blanks (space, tab, CR, LF) are skipped and
// the longest leading decimal number is taken ("  10.0cm" gives 10). A text
// without a leading number gives 0. Digits run on as far as they go; a value
// too large for a double gives +/- infinity, one too small gives 0.
double leadingNumber(QStringView text);

// A number typed with the Japanese input method on, read as the ASCII it
// stands for: the full-width digits ０ to ９, the full-width point ．, the
// full-width plus ＋, the full-width hyphen-minus － and the minus sign −
// become 0 to 9, ".", "+" and "-", and the ideographic space (the input
// method's blank) a blank. Every other character stays as it is.
QString halfWidthNumber(QStringView text);

} // namespace ui
