#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Countinghouse");
    QMainWindow window;
    window.setWindowTitle("Countinghouse");
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
