#include "run_application.h"

#include "appearance.h"
#include "program_identity.h"
#include "scope_window.h"

#include <QApplication>
#include <array>

namespace vistrace {

// Not const: QApplication takes argv as mutable strings and may rewrite it.
int runApplication(char* programName, PortIo& port, // NOLINT(readability-non-const-parameter)
                   PerformanceCounter& counter, SweepCapture& sweeps, PortBinder& binder) {
    int argc = 1;
    std::array<char*, 2> argv{programName, nullptr};
    QApplication app(argc, argv.data());
    QApplication::setApplicationName(QString::fromLatin1(kProgramTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(kProgramVersion));
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
