#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace vistrace {

// The middle of values, which must not be empty; of an even count, the mean of the middle two.
inline double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::ranges::nth_element(values, middle);
    if (values.size() % 2 == 1) {
        return *middle;
    }
    return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

} // namespace vistrace
