#include "run_application.h"

#include "appearance.h"
#include "scope_window.h"

#include <QApplication>
#include <array>

namespace vistrace {

// Not const: QApplication takes argv as mutable strings and may rewrite it.
int runApplication(char* programName, PortIo& port, // NOLINT(readability-non-const-parameter)
                   PerformanceCounter& counter, SweepPriority& sweeps, PortBinder* binder) {
    int argc = 1;
    std::array<char*, 2> argv{programName, nullptr};
    QApplication app(argc, argv.data());
    QApplication::setApplicationName(QStringLiteral("Vistrace"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    pinAppearance();

    ScopeWindow window(port, counter, sweeps, binder);
    window.load();
    if (window.ending()) {
        return window.exitCode();
    }
    window.show();
    return QApplication::exec();
}

} // namespace vistrace
