#include "board/FigureWords.h"

#include <QStringList>

namespace board {

QString kindWords(int code)
{
    switch (code) {
    case Square2x2: return QStringLiteral("正方形（2cm×2cm）");
    case Rect2x4: return QStringLiteral("長方形（2cm×4cm）");
    case Rect2x6: return QStringLiteral("長方形（2cm×6cm）");
    case TriangleLeft:
    case TriangleMiddle:
    case TriangleRight: return QStringLiteral("直角三角形（6cm×6cm）");
    default: return QStringLiteral("なし");
    }
}

QString pieceWords(int code)
{
    switch (code) {
    case TriangleLeft: return QStringLiteral("直角三角形の左");
    case TriangleMiddle: return QStringLiteral("直角三角形の中");
    case TriangleRight: return QStringLiteral("直角三角形の右");
    default: return kindWords(code);
    }
}

QString figureWords(const Slots &codes)
{
    QStringList parts;
    for (std::size_t i = 0; i < codes.size(); ++i)
        parts << QStringLiteral("%1：%2").arg(i + 1).arg(pieceWords(codes[i]));
    return parts.join(QStringLiteral("、"));
}

} // namespace board
