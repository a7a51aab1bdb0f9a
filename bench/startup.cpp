// Time from the start of main to the first paint of the window, offscreen.
// Run under /usr/bin/time -v to see the peak memory of the whole program.
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <chrono>
#include <cstdio>

#include "ui/frmVeltrax.h"

namespace {

class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::chrono::steady_clock::time_point start) : start_(start) {}
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            const auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_);
            std::printf("first paint after %.1f ms\n", elapsed.count());
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(object, event);
    }

private:
    std::chrono::steady_clock::time_point start_;
    bool done_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    const auto start = std::chrono::steady_clock::now();
    QApplication application(argc, argv);
    frmVeltrax window(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    FirstPaint filter(start);
    window.installEventFilter(&filter);
    window.show();
    return QApplication::exec();
}
