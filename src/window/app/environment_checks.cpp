// Start-up checks of the display and the fonts the lesson relies on.
#include "app/environment_checks.h"

#include "ui/Fonts.h"

#include <QByteArray>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdio>

namespace app {

namespace {

// The Debian package that installs the face the captions are set in.
constexpr char fontPackage[] = "fonts-ipafont-gothic";

QtMessageHandler previousHandler = nullptr;

// The warnings Qt gives when a widget cannot be painted on the screen at all:
// the backing store of a too shallow screen has no paint engine, so every
// painter on a widget fails and says so, many times a repaint.
bool isFailedPaintWarning(QtMsgType type, const QString &message)
{
    return type == QtWarningMsg
           && (message.startsWith(QLatin1String("QPainter::"))
               || message.startsWith(QLatin1String("QWidget::paintEngine:")));
}

void dropFailedPaintWarnings(QtMsgType type, const QMessageLogContext &context,
                             const QString &message)
{
    if (isFailedPaintWarning(type, message))
        return;
    if (previousHandler) {
        previousHandler(type, context, message);
    } else {
        const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit();
        std::fprintf(stderr, "%s\n", line.constData());
    }
}

} // namespace

bool captionsHaveGlyphs(const QFont &font)
{
    // Kanji, kana and a full-width letter, as the captions and labels use them.
    static const QString captionLetters = QStringLiteral("関数の利用出すストップＰ");
    const QFontMetrics metrics(font);
    return std::all_of(captionLetters.begin(), captionLetters.end(),
                       [&](QChar c) { return metrics.inFont(c); });
}

QStringList environmentShortfalls(int screenDepth, bool haveGlyphs, const QString &face)
{
    QStringList lines;
    if (screenDepth > 0 && screenDepth < neededScreenDepth)
        lines << QStringLiteral("the display has %1-bit colour; the lesson needs a %2-bit "
                                "colour display and its window stays black on this one")
                     .arg(screenDepth)
                     .arg(neededScreenDepth);
    if (!haveGlyphs)
        lines << QStringLiteral("the Japanese font %1 is not installed, so the captions show "
                                "as boxes; install the package %2")
                     .arg(face, QLatin1String(fontPackage));
    return lines;
}

void reportEnvironmentShortfalls()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int depth = screen ? screen->depth() : 0;
    const QStringList lines =
        environmentShortfalls(depth, captionsHaveGlyphs(ui::defaultFont()), ui::defaultFont().family());
    const QByteArray program = QCoreApplication::applicationName().toLocal8Bit();
    for (const QString &line : lines)
        std::fprintf(stderr, "%s: %s\n", program.constData(), line.toLocal8Bit().constData());
    std::fflush(stderr);
    if (depth > 0 && depth < neededScreenDepth)
        previousHandler = qInstallMessageHandler(dropFailedPaintWarnings);
}

} // namespace app
