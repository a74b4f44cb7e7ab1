#pragma once

#include "app/WindowSizes.h"
#include "ui/Palette.h"

#include <QColor>
#include <QRect>

#include <array>
#include <optional>
#include <string_view>

// The window's design facts: its caption, the places of its controls and the
// colours that more than one part of the program, its tests or its scripts
// use. The window sizes stand in app/WindowSizes.h. The build's
// design_facts program writes this table out as JSON for the shell and page
// tests, so each fact is typed here once.
namespace app {

// The caption: a full-width four and full stop, two blanks before "(".
inline constexpr std::string_view caption = "４.関数  (by Orvane)";

// Where a control stands: left, top, width, height in pixels of its
// container (the window's client area, the board or the table).
struct Place
{
    std::string_view control;
    QRect rect;
};

inline constexpr std::array windowPlaces{
    Place{"Label6", {16, 16, 160, 33}},    // "関数の利用"
    Place{"Command1", {216, 16, 81, 33}},  // 初期画面
    Place{"Check1", {376, 24, 81, 26}},    // 方眼
    Place{"end", {536, 16, 81, 33}},       // 終了
    Place{"kokuban", {16, 64, 601, 409}},  // the board
    Place{"Picture1", {8, 208, 617, 257}}, // the cover over the envelope
    Place{"jidou", {16, 488, 113, 49}},    // 自動
    Place{"Label3", {224, 488, 38, 19}},   // "速度"
    Place{"Combo1", {224, 512, 49, 21}},   // the speed box
    Place{"tomeru", {144, 504, 65, 33}},   // ストップ
    Place{"susumu", {304, 488, 65, 49}},   // 出す
    Place{"modoru", {376, 488, 65, 49}},   // 戻す
    Place{"Command2", {448, 504, 57, 33}}, // 最初に
    Place{"Check3", {520, 480, 49, 26}},   // 表
    Place{"Check2", {520, 512, 89, 26}},   // グラフ
    Place{"gamen", {632, 16, 393, 513}},   // the graph
    Place{"Check5", {648, 544, 161, 33}},  // 封筒をかくす
    Place{"hyo", {8, 560, 609, 113}},      // the table
    Place{"Label8", {912, 664, 113, 12}},  // the credit line
};

// In board pixels.
inline constexpr std::array boardPlaces{
    Place{"Text1", {264, 360, 65, 33}},  // the x read-out
    Place{"Check4", {240, 368, 17, 17}}, // the red bar BP on or off
    Place{"Label1", {24, 360, 206, 24}}, // "点Ｐが動いた距離χ"
    Place{"Label2", {336, 368, 28, 21}}, // "cm"
    Place{"Shape1", {464, 272, 10, 8}},  // P's red dot, before start-up moves it
};

// In table pixels.
inline constexpr std::array tablePlaces{
    Place{"Label5", {0, 16, 33, 33}}, // "χ"
    Place{"Label7", {8, 64, 17, 33}}, // "ｙ"
};

// (A rectangle, not a pointer into the table: a pointer's comparison with
// null is no constant expression where the undefined-behaviour sanitizer
// checks pointers.)
template <std::size_t N>
constexpr std::optional<QRect> findPlace(const std::array<Place, N> &places, std::string_view control)
{
    for (const Place &place : places)
        if (place.control == control)
            return place.rect;
    return std::nullopt;
}

// The place of a control, found while compiling: a name that is not in the
// table does not build.
consteval QRect placeOf(std::string_view control)
{
    if (const auto rect = findPlace(windowPlaces, control))
        return *rect;
    if (const auto rect = findPlace(boardPlaces, control))
        return *rect;
    if (const auto rect = findPlace(tablePlaces, control))
        return *rect;
    throw "no control of that name among the design's places";
}

// Colours of the design, as RGB.
inline constexpr QColor windowGreen(192, 255, 192); // window, check boxes, cover
inline constexpr QColor checkText(0, 128, 0);       // check box captions
inline constexpr QColor boardGreen(0, 128, 0);      // the blackboard
inline constexpr QColor trayGreen(0, 64, 0);        // the tray band
inline constexpr QColor white(255, 255, 255);       // the envelope, the board's captions
inline constexpr QColor red(255, 0, 0);             // P's dot, the bar BP, the underline
inline constexpr QColor yellow(255, 255, 0);        // the templates, the 出す button
inline constexpr QColor titleBlue(0, 0, 255);       // behind "関数の利用"
inline constexpr QColor endLavender(192, 192, 255); // the 終了 button
inline constexpr QColor runGreen(0, 255, 0);        // the 自動 button
inline constexpr QColor stopGreen(128, 255, 128);   // the ストップ button
inline constexpr QColor backCyan(0, 255, 255);      // the 戻す button
inline constexpr QColor restartOrange(255, 192, 128); // the 最初に button
inline constexpr QColor creditGreen(0, 192, 0);     // the credit line's text
inline constexpr QColor barCheckOlive(128, 128, 0); // the box that shows the bar BP
inline constexpr QColor distancePink(255, 128, 128); // the label "χcm" under P's way
// Not the lesson's own: the frame around a piece chosen by a click, a tap or
// a key (cyan: over 4:1 against the board and 9:1 against the tray band),
// and the keyboard's focus ring around the board (black: 4:1 against the
// board, 18:1 against the window around it).
inline constexpr QColor chosenCyan(0, 255, 255);
inline constexpr QColor focusBlack(0, 0, 0);
// The cream of the graph and table panels, as the lesson writes it:
// &H00C0FFFF, blue in the high byte, RGB(255, 255, 192). It is their
// background, the background of the table's headings, and the colour in
// which the graph's curve and the table's values are erased.
inline constexpr QColor panelCream = ui::colorFromBgr(0x00C0FFFF);

// The contrast view (off by default) redraws the board's colours that carry
// meaning for a washed-out projector or a colour-blind pupil: each pair that
// meets on the board has at least 3:1 contrast by WCAG 2.x relative
// luminance, and P's marks differ from the board in lightness and in blue,
// not only as red against green. Contrast ratios, as (L1 + 0.05) / (L2 + 0.05):
//   magenta (P, "Ｐ", the bar BP, the underline): 3.9:1 against the board,
//     5.9:1 against the tray band, 3.1:1 against the white outside;
//   grey inside: 3.5:1 against the white outside, 3.4:1 against the board;
//   yellow outlines: 11:1 against the board, 3.3:1 against the grey;
//   white outside, outlines and captions: 12:1 against the board;
//   the grid's green: 4.2:1 against the board (black would be 1.7:1).
// In the design's view P's red stands 1.3:1 against the board's green and the
// grey inside 1.8:1 against the white outside.
inline constexpr QColor contrastBoard(0, 64, 0);       // the blackboard
inline constexpr QColor contrastTray(0, 24, 0);        // the tray band
inline constexpr QColor contrastGrey(136, 136, 136);   // shading inside the envelope
inline constexpr QColor contrastMagenta(255, 0, 255);  // P's dot and label, the bar BP, the underline
inline constexpr QColor contrastGrid(0, 176, 0);       // the 1-cm grid

// The board's colours in one view: the design's (contrast false) or the
// contrast view's.
struct BoardLook
{
    QColor board;   // the blackboard and the opaque captions' boxes on it
    QColor tray;    // the tray band
    QColor outside; // a piece's shading left of AB, out of the envelope
    QColor inside;  // its shading right of AB, still inside
    QColor marker;  // P's dot, the bar BP and the underline of "点Ｐが動いた距離χ"
    QColor pLabel;  // P's label "Ｐ"
    QColor grid;    // the 1-cm grid
};
inline BoardLook boardLook(bool contrast)
{
    const QColor outsideWhite = ui::paletteColor(15);
    if (contrast)
        return {contrastBoard, contrastTray, outsideWhite, contrastGrey, contrastMagenta, contrastMagenta,
                contrastGrid};
    return {boardGreen, trayGreen, outsideWhite, ui::paletteColor(7), red, white, ui::paletteColor(0)};
}

struct NamedColour
{
    std::string_view name;
    QColor colour;
};
inline constexpr std::array colours{
    NamedColour{"windowGreen", windowGreen}, NamedColour{"checkText", checkText},
    NamedColour{"boardGreen", boardGreen},   NamedColour{"trayGreen", trayGreen},
    NamedColour{"white", white},             NamedColour{"red", red},
    NamedColour{"yellow", yellow},           NamedColour{"panelCream", panelCream},
    NamedColour{"chosenCyan", chosenCyan},   NamedColour{"focusBlack", focusBlack},
    NamedColour{"titleBlue", titleBlue},     NamedColour{"endLavender", endLavender},
    NamedColour{"runGreen", runGreen},       NamedColour{"stopGreen", stopGreen},
    NamedColour{"backCyan", backCyan},       NamedColour{"restartOrange", restartOrange},
    NamedColour{"creditGreen", creditGreen}, NamedColour{"barCheckOlive", barCheckOlive},
    NamedColour{"distancePink", distancePink},
    NamedColour{"contrastBoard", contrastBoard}, NamedColour{"contrastTray", contrastTray},
    NamedColour{"contrastGrey", contrastGrey},   NamedColour{"contrastMagenta", contrastMagenta},
    NamedColour{"contrastGrid", contrastGrid},
};

} // namespace app
