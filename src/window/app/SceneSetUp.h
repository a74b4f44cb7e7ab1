#pragma once

#include "app/Form1.h"

#include <QCheckBox>

// The one door through which tests and benchmarks set a scene up that no
// pupil's action makes at once: a figure in the slots without the drags
// that build it, or a state the lesson never reaches. The lesson itself
// never uses it; everywhere else the scene is read only (Form1::scene).
struct SceneSetUp
{
    static Scene &of(Form1 &form) { return form; }

    // The slots hold `figure`; nothing else changes.
    static void putFigure(Form1 &form, const board::Slots &figure) { of(form).SlotPiece = figure; }

    // The slots hold `figure`, and the board shows it at offset pos (board
    // pixels; P's x), with the grid as 方眼 has it.
    static void showFigure(Form1 &form, const board::Slots &figure, qint16 pos)
    {
        putFigure(form, figure);
        form.board().RedrawBoard(pos, figure, form.controls().Check1->isChecked());
    }
};
