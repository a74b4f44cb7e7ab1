#pragma once

#include "board/Geometry.h"

#include <QString>

// The figure in words, for a pupil who hears the lesson instead of seeing
// it: what each slot of the envelope holds, slot 1 at side AB.
namespace board {

// A piece by its kind, whichever third of the triangle `code` is:
// "正方形（2cm×2cm）", "長方形（2cm×4cm）", "長方形（2cm×6cm）",
// "直角三角形（6cm×6cm）"; "なし" for an empty slot.
QString kindWords(int code);

// One slot's content: as kindWords, but a third of the triangle as
// "直角三角形の左" / "の中" / "の右".
QString pieceWords(int code);

// Every slot in order: "1：正方形（2cm×2cm）、2：なし、…、5：なし".
QString figureWords(const Slots &codes);

} // namespace board
