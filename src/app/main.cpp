#include <QApplication>
#include <QMainWindow>
#include <clocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Numbers are always shown and written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("TAM32"));
    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("TAM32"));
    frame.resize(1024, 768);
    frame.show();
    return app.exec();
}
