#include "measurements.h"

#include "median.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vistrace {
namespace {

// One converter step either way is noise however small the signal; a tenth of the swing
// keeps the ripple of a large one from counting as edges.
constexpr double kStepVolts = 1.0 / kUnitsPerVolt;
constexpr double kBandOfSwing = 0.1;
// A swing of two steps or less is the converter's own noise on a steady input.
constexpr double kSteadySwing = 2 * kStepVolts;
constexpr double kHoleOfSteps = 2.0;

struct Crossings {
    std::vector<double> rising;
    std::vector<double> falling;
};

// Where the straight line between two samples meets level.
double crossingTime(double before, double voltsBefore, double after, double voltsAfter,
                    double level) {
    return before + (level - voltsBefore) / (voltsAfter - voltsBefore) * (after - before);
}

Crossings findCrossings(const std::vector<double>& volts, const std::vector<double>& seconds,
                        double level, double band) {
    enum class Side { Unknown, Low, High };
    Crossings found;
    Side side = Side::Unknown;
    double lastUp = 0.0;
    double lastDown = 0.0;
    for (std::size_t k = 0; k < volts.size(); ++k) {
        if (k > 0 && volts[k - 1] <= level && volts[k] > level) {
            lastUp = crossingTime(seconds[k - 1], volts[k - 1], seconds[k], volts[k], level);
        }
        if (k > 0 && volts[k - 1] >= level && volts[k] < level) {
            lastDown = crossingTime(seconds[k - 1], volts[k - 1], seconds[k], volts[k], level);
        }
        if (volts[k] > level + band && side != Side::High) {
            if (side == Side::Low) {
                found.rising.push_back(lastUp);
            }
            side = Side::High;
        } else if (volts[k] < level - band && side != Side::Low) {
            if (side == Side::High) {
                found.falling.push_back(lastDown);
            }
            side = Side::Low;
        }
    }
    return found;
}

Reading medianOf(std::vector<double> values, const char* missing) {
    return values.empty() ? Reading::none(missing) : Reading::of(median(std::move(values)));
}

// Where the sweep was held up: steps more than twice the usual one. A crossing inside one is
// a guess, and a period across one may hide whole periods.
std::vector<std::pair<double, double>> holesOf(const std::vector<double>& seconds, double usual) {
    std::vector<std::pair<double, double>> holes;
    for (std::size_t k = 1; k < seconds.size(); ++k) {
        if (seconds[k] - seconds[k - 1] > kHoleOfSteps * usual) {
            holes.emplace_back(seconds[k - 1], seconds[k]);
        }
    }
    return holes;
}

struct Periods {
    std::vector<std::pair<double, double>> spans; // from a rising crossing to the next
    std::vector<double> lengths;
    std::vector<double> duties; // of those with a falling crossing inside
};

// The whole periods clear of holes, each from a rising crossing to the next, its high part
// up to the falling crossing in between.
Periods periodsOf(const Crossings& crossings, const std::vector<std::pair<double, double>>& holes) {
    Periods periods;
    for (std::size_t k = 0; k + 1 < crossings.rising.size(); ++k) {
        const double start = crossings.rising[k];
        const double end = crossings.rising[k + 1];
        if (std::ranges::any_of(
                holes, [&](const auto& hole) { return hole.first < end && hole.second > start; })) {
            continue;
        }
        periods.spans.emplace_back(start, end);
        periods.lengths.push_back(end - start);
        const auto fall = std::ranges::upper_bound(crossings.falling, start);
        if (fall != crossings.falling.end() && *fall < end) {
            periods.duties.push_back((*fall - start) / (end - start));
        }
    }
    return periods;
}

// Over whole periods the mean and RMS are the signal's own: a sweep that ends part-way
// through a period, or was held up inside one, would weigh part of a period more than the rest.
void averageWholePeriods(const std::vector<double>& volts, const std::vector<double>& seconds,
                         const std::vector<std::pair<double, double>>& spans,
                         Measurements& result) {
    double sum = 0.0;
    double squares = 0.0;
    std::size_t count = 0;
    auto span = spans.begin(); // both in time order, so one pass does
    for (std::size_t k = 0; k < volts.size() && span != spans.end(); ++k) {
        while (span != spans.end() && seconds[k] >= span->second) {
            ++span;
        }
        if (span != spans.end() && seconds[k] >= span->first) {
            sum += volts[k];
            squares += volts[k] * volts[k];
            ++count;
        }
    }
    if (count > 0) {
        result.mean = sum / static_cast<double>(count);
        result.rms = std::sqrt(squares / static_cast<double>(count));
    }
}

} // namespace

Measurements measure(const SweepRecord& sweep) {
    Measurements result;
    result.lengthSeconds = sweep.lengthSeconds;
    if (sweep.samples.empty()) {
        const Reading nothing = Reading::none("no samples in the sweep");
        result.frequency = result.period = result.duty = result.medianSpacing = nothing;
        return result;
    }
    std::vector<double> volts;
    volts.reserve(sweep.samples.size());
    std::ranges::transform(sweep.samples, std::back_inserter(volts), voltsOf);
    const auto [lowest, highest] = std::ranges::minmax(volts);
    result.maximum = highest;
    result.minimum = lowest;
    result.peakToPeak = highest - lowest;
    const auto count = static_cast<double>(volts.size());
    result.mean = std::accumulate(volts.begin(), volts.end(), 0.0) / count;
    result.rms =
        std::sqrt(std::inner_product(volts.begin(), volts.end(), volts.begin(), 0.0) / count);
    result.clipped = std::ranges::any_of(
        sweep.samples, [](std::uint8_t sample) { return sample == 0 || sample == 255; });

    std::vector<double> spacings;
    for (std::size_t k = 1; k < sweep.seconds.size(); ++k) {
        spacings.push_back(sweep.seconds[k] - sweep.seconds[k - 1]);
    }
    result.medianSpacing = medianOf(std::move(spacings), "fewer than two samples in the sweep");

    if (result.peakToPeak <= kSteadySwing) {
        result.frequency = result.period = result.duty = Reading::none("input steady");
        return result;
    }
    const double band = std::max(kStepVolts, kBandOfSwing * result.peakToPeak);
    const Crossings crossings = findCrossings(volts, sweep.seconds, result.mean, band);
    if (crossings.rising.size() < 3) {
        result.frequency = result.period = result.duty =
            Reading::none("fewer than two periods in the sweep");
        return result;
    }
    // Median period and duty: on a busy machine a sweep may be held up anywhere, which
    // spoils the periods across the hole and no other.
    Periods periods =
        periodsOf(crossings, holesOf(sweep.seconds, result.medianSpacing.value.value_or(0.0)));
    if (periods.lengths.size() < 2) {
        result.frequency = result.period = result.duty =
            Reading::none("fewer than two periods clear of the sweep's hold-ups");
        return result;
    }
    averageWholePeriods(volts, sweep.seconds, periods.spans, result);
    result.period = medianOf(std::move(periods.lengths), "");
    result.frequency =
        result.period.value ? Reading::of(1.0 / *result.period.value) : result.period;
    result.duty = medianOf(std::move(periods.duties), "no falling crossing within a period");
    return result;
}

} // namespace vistrace
