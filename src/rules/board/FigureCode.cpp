#include "FigureCode.h"

#include "board/SlotRules.h"

namespace board {

std::string figureCode(const Slots &codes)
{
    std::string code;
    for (int piece : codes)
        code += char('0' + piece);
    return code;
}

std::optional<Slots> figureFromCode(std::string_view code)
{
    if (code.size() != std::size_t(slotCount))
        return std::nullopt;
    Slots codes{};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (code[i] < '0' + Empty || code[i] > '0' + TriangleRight)
            return std::nullopt;
        codes[i] = code[i] - '0';
    }
    if (!holdsWholePieces(codes))
        return std::nullopt;
    return codes;
}

} // namespace board
