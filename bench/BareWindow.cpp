// The baseline of the start-up benchmark: a bare Qt window of the main window's size and kind, started the same
// way (the program's arguments are accepted and ignored). With MOUSECFG_REPORT_FIRST_PAINT=1 it prints
// "first-paint" once its window has been painted, as the program does; it runs until it is ended.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

class BareWindow final : public QWidget {
  public:
    BareWindow() {
        setWindowFlags(Qt::FramelessWindowHint);
        setFixedSize(990, 690);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(0x20, 0x22, 0x26));
        if (!reported_ && qEnvironmentVariable("MOUSECFG_REPORT_FIRST_PAINT") == QLatin1String("1")) {
            reported_ = true;
            QTimer::singleShot(0, this, [] {
                std::printf("first-paint\n");
                std::fflush(stdout);
            });
        }
    }

  private:
    bool reported_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    BareWindow window;
    window.show();
    return QApplication::exec();
}
