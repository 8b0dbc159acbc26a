// The desktop program's start as its own process, ending at the first
// painted chart: what `celestra` does from main() (the same start-up steps,
// window and worker), quitting once the chart has painted the sky of the
// first recompute. Timed from outside, e.g.
//   hyperfine -w 2 'QT_QPA_PLATFORM=offscreen build/bench/ui/celestra-first-paint'
// with HOME holding the document, the ephemeris and the daily cache.
#include <QApplication>
#include <QEvent>

#include "ui/program.h"

namespace {

// Quits after a paint of the chart that had the model's places to draw.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(celestra::ChartView* chart) : chart_(chart) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == chart_ && event->type() == QEvent::Paint) {
            const celestra::SkySnapshot* sky = chart_->renderer().snapshot();
            const bool drawn = sky != nullptr && !sky->objects.empty();
            if (drawn) QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    celestra::ChartView* chart_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Celestra"));
    QApplication::setApplicationName(QStringLiteral("Celestra"));
    auto program = celestra::startProgram(QApplication::applicationFilePath());
    FirstPaint watch(program->window->chart());
    program->window->chart()->installEventFilter(&watch);
    program->window->show();
    const int code = app.exec();
    program->window.reset();
    return code;
}
