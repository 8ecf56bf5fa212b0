#include "sweep_picture_file.h"

#include "appearance.h"
#include "instrument_tables.h"
#include "screen_picture.h"
#include "whole_file.h"

#include <QApplication>
#include <QBuffer>
#include <array>
#include <optional>

namespace vistrace {

void writeSweepPicture(const std::string& path, const ScopeState& state) {
    std::optional<QApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        // Qt keeps argc and argv for the application's life.
        static int argc = 1;
        static std::array<char, 17> name{"vistrace-capture"};
        static std::array<char*, 2> argv{name.data(), nullptr};
        // The picture is the screen's 505 x 421 pixels whatever the desktop's scale factor.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qunsetenv("QT_SCALE_FACTOR");
        qunsetenv("QT_SCREEN_SCALE_FACTORS");
        application.emplace(argc, argv.data());
        pinAppearance();
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!screenPicture(state, kRestXOffset, kRestYOffset).save(&buffer, "PNG")) {
        throw WriteError("cannot write " + path + ": the picture could not be encoded as PNG");
    }
    writeWholeFile(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

} // namespace vistrace
