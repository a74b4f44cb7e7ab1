#pragma once

#include "board/SlotRules.h"

#include <QPointF>

#include <optional>

// Pure rules of building the figure without a drag: a click (or a tap, or a
// key standing for one) chooses a piece, and the next click puts the chosen
// piece where a drop at that place would. Positions are board pixels as the
// mouse reports them, with the slots where they lie while P is at B, as for
// a drag.
namespace board {

// A press and its release are a click while the pointer never gets as far as
// `dragDistance` (board pixels, counted along x plus along y, as the toolkit
// counts the start of a drag) from where it was pressed.
bool staysAClick(QPointF press, QPointF at, int dragDistance);

struct Click {
    enum Kind {
        Nothing, // no piece chosen, and nothing to choose there
        Choose,  // `chosen` is the piece chosen now
        Drop,    // the chosen piece is dropped at the click, as a drag would drop it
        Forget,  // the choice is dropped; nothing else changes
    };
    Kind kind = Nothing;
    std::optional<Lift> chosen;
};

// What a click at (X, Y) does, `chosen` being the piece chosen before, if
// any. Without a choice, a click on a tray template or an occupied slot
// chooses what a press there would lift. With one:
// - a click on the chosen piece itself forgets it;
// - a click on another tray template chooses that one instead;
// - a click over a slot of the envelope (180 < Y < 300) drops the chosen
//   piece there, occupied or not, with the drop's slot and triangle rules;
// - a click above the envelope (Y < 180) takes a piece chosen in the slots
//   away, as a drop there does;
// - a click anywhere else forgets the choice.
Click clickAt(const Slots &codes, const std::optional<Lift> &chosen, float X, float Y);

// Where the keys click: inside tray template n = 0..3 (in tray order), and
// the middle of slot i = 0..4 of the envelope.
QPointF trayPoint(int n);
QPointF slotPoint(int i);

} // namespace board
