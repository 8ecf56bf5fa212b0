#include "run_application.h"

#include "scope_window.h"

#include <QApplication>

namespace vistrace {

int runApplication(char* programName, PortIo& port, PerformanceCounter& counter) {
    int argc = 1;
    char* argv[] = {programName, nullptr};
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistrace"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));

    ScopeWindow window(port, counter);
    window.load();
    if (window.ending()) {
        return window.exitCode();
    }
    window.show();
    const int status = QApplication::exec();
    return window.ending() ? window.exitCode() : status;
}

} // namespace vistrace
