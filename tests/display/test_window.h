#pragma once

#include "form1.h"

#include <QImage>
#include <cmath>

namespace vistrace::test {

// Form1 with handlers that only count, so the window's own behaviour can be observed.
class TestWindow : public Form1 {
public:
    int handlerRuns = 0;

    void Form_Load() override { ++handlerRuns; }
    void Command4_Click() override { ++handlerRuns; }
    void Command2_Click() override { ++handlerRuns; }
    void Command1_Click() override { ++handlerRuns; }
    void Port_Address_Box_Click() override { ++handlerRuns; }
    void TimeBase_box_Click() override { ++handlerRuns; }
    void VoltPerDiv_Box_Click() override { ++handlerRuns; }
    void trigger_voltage_box_Click() override { ++handlerRuns; }
    void XOffset_Change() override { ++handlerRuns; }
    void XOffset_Scroll() override { ++handlerRuns; }
    void YOffset_Change() override { ++handlerRuns; }
    void YOffset_Scroll() override { ++handlerRuns; }
};

// The pixel column of a horizontal screen unit: 15.08096 twips per unit at 15 twips a pixel.
inline int columnOf(int unit) {
    return static_cast<int>(std::floor(unit * 15.08096 / 15.0));
}

inline constexpr QRgb kPureBlue = 0xFF0000FF;
inline constexpr QRgb kPureRed = 0xFFFF0000;

// The screen's client area as shown, graticule included.
inline QImage shownClient(ScopeScreen& screen) {
    return screen.grab()
        .toImage()
        .convertToFormat(QImage::Format_RGB32)
        .copy(screen.contentsRect());
}

// True when nothing has been drawn on a run-time layer.
inline bool isBlank(const QImage& layer) {
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            if (qAlpha(layer.pixel(x, y)) != 0) {
                return false;
            }
        }
    }
    return true;
}

} // namespace vistrace::test
