// The floor of the page's program size (make bench-web): a bare Qt Widgets
// window with one label, built for the browser with the same Qt, the same
// compiler and the same flags as the lesson. What the lesson weighs beyond
// it is the lesson's own code and the parts of Qt only it uses.
#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("関数の利用"));
    window.show();
    return app.exec();
}
