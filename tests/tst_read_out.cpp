// The x read-out keeps its panel (sunken frame and base) as an image and
// copies it while nothing about it changes. The copy must be the very pixels
// the application's style draws: both styles draw the panel through the
// same kind of painter at every scale and offset, and the pictures are
// compared pixel for pixel, also after the state, the colours and the size
// change from one panel to the next.
#include "TestSupport.h"

#include "ui/fast/FramedPanelStyle.h"

#include <QPainter>
#include <QStyleOptionFrame>
#include <QtTest>

namespace {

// The read-out's design size.
constexpr QSize readOutSize(65, 33);

// A panel drawn by `style` on the board's green, the painter scaled and
// moved as a window's painter is.
QImage drawPanel(const QStyle &style, const QStyleOptionFrame &panel, qreal scale, QPointF offset)
{
    QImage image(QSize(160, 100) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(QColor(0, 128, 0));
    QPainter painter(&image);
    painter.translate(offset);
    style.drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter);
    return image;
}

} // namespace

class TestReadOut : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { testsupport::setUpTestApplication(); }
    void copiedPanelIsTheStylesPanel_data();
    void copiedPanelIsTheStylesPanel();
};

void TestReadOut::copiedPanelIsTheStylesPanel_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QPointF>("offset");
    // Offsets on whole device pixels (copied) and inside one (drawn).
    for (qreal scale : {1.0, 1.25, 1.5, 1.6, 2.0, 2.5, 3.0})
        for (QPointF offset : {QPointF(0, 0), QPointF(280, 424), QPointF(7, 3), QPointF(0.5, 0.25)})
            QTest::addRow("x%g at %g,%g", scale, offset.x(), offset.y()) << scale << offset;
}

void TestReadOut::copiedPanelIsTheStylesPanel()
{
    QFETCH(qreal, scale);
    QFETCH(QPointF, offset);
    const QStyle &application = *QApplication::style();
    const ui::FramedPanelStyle readOut;
    offset = QPointF(std::fmod(offset.x(), 40), std::fmod(offset.y(), 40)); // on the image

    QStyleOptionFrame panel;
    panel.rect = QRect(QPoint(), readOutSize);
    panel.lineWidth = application.pixelMetric(QStyle::PM_DefaultFrameWidth);
    panel.state = QStyle::State_Enabled | QStyle::State_Sunken | QStyle::State_ReadOnly;
    panel.palette = QApplication::palette();
    const auto same = [&](const char *what) {
        return drawPanel(readOut, panel, scale, offset) == drawPanel(application, panel, scale, offset);
    };
    // Each change in turn, the kept panel carried over from the one before.
    QVERIFY2(same("first"), "first panel");
    QVERIFY2(same("again"), "the same panel again");
    panel.state &= ~QStyle::State_Enabled;
    QVERIFY2(same("disabled"), "disabled");
    panel.state |= QStyle::State_Enabled | QStyle::State_HasFocus;
    QVERIFY2(same("focused"), "focused");
    panel.palette.setColor(QPalette::Base, QColor(255, 255, 192));
    QVERIFY2(same("base"), "another base colour");
    panel.palette.setColor(QPalette::Light, QColor(200, 0, 0));
    QVERIFY2(same("light"), "another frame colour");
    panel.rect.setSize(readOutSize + QSize(10, 3));
    QVERIFY2(same("resized"), "resized");
    panel.rect.moveTo(4, 2);
    QVERIFY2(same("moved"), "moved inside the widget");
}

QTEST_MAIN(TestReadOut)
#include "tst_read_out.moc"
