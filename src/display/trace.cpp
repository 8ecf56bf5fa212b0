#include "trace.h"

#include "checked.h"
#include "system_colours.h"

#include <QAbstractSlider>

namespace vistrace {
namespace {

// Sample value 128 is 0 V.
constexpr std::int64_t kZeroVolts = 128;

std::int16_t position(const QAbstractSlider& bar) {
    return toInt16(bar.sliderPosition());
}

float row(const ScopeState& state, int index, std::int16_t yOffset) {
    const std::int16_t level = toInt16(std::int64_t{state.samples[index]} - kZeroVolts);
    return (state.volts_gain * level + FixedDecimal::fromInteger(yOffset)).toFloat();
}

} // namespace

void drawTrace(const ScopeState& state, ScopeScreen& screen, const QAbstractSlider& xOffset,
               const QAbstractSlider& yOffset) {
    screen.setForeColor(QColor(rgbFromColourWord(kPureBlueWord)));
    screen.setDrawWidth(state.trace_width);
    const std::int16_t last = toInt16(std::int64_t{state.sample_count} - 1);
    for (std::int16_t i = 1; i <= last; i = toInt16(std::int64_t{i} + 1)) {
        const std::int16_t column = toInt16(std::int64_t{state.x_step} * i);
        const std::int16_t x1 = toInt16(std::int64_t{column} + position(xOffset));
        const float y1 = row(state, i, position(yOffset));
        // One unit right of the start, not at the next sample's column: at x_step 2 and 3 the
        // trace steps within one unit and leaves gaps, as the instrument's trace always has.
        const std::int16_t x2 = toInt16(toInt16(std::int64_t{column} + 1) + position(xOffset));
        const float y2 = row(state, i + 1, position(yOffset));
        screen.line(x1, y1, x2, y2);
    }
}

} // namespace vistrace
