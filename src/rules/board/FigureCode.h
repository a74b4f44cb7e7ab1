#pragma once

#include "board/Geometry.h"

#include <optional>
#include <string>
#include <string_view>

// The figure in the envelope written as a short text, for a link that hands
// it to the class: one digit per slot, slot 0 (at side AB) first, each digit
// the slot's code (0 empty, 1 square, 2 and 3 the rectangles 4 and 6 cm high,
// 4 5 6 the triangle's left, middle and right thirds). "10456" is a square at
// AB, an empty slot, then the triangle; "00000" the empty envelope.
namespace board {

std::string figureCode(const Slots &codes);

// The slots a code stands for, when it is one the pupil's drags can make:
// exactly one digit 0..6 per slot, and every third of the triangle with its
// other two in order (the triangle starts in slot 0, 1 or 2). Anything else
// stands for no figure.
std::optional<Slots> figureFromCode(std::string_view code);

} // namespace board
