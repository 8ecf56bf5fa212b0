#pragma once

#include "errors.h"
#include "instrument_tables.h"

#include <optional>
#include <string>
#include <vector>

namespace vistrace {

// What vistrace-capture is asked to do; every setting names a row of the window's own tables.
struct RecorderOptions {
    bool help = false;
    bool simulated = false;
    std::optional<int> address; // a base address, 0 to 0xFFFF
    int timeBaseRow = kStartTimeBaseRow;
    std::optional<TriggerSlope> trigger; // none: free-running, as the None mode
    int levelRow = kStartTriggerLevelRow;
    int gainRow = kStartGainRow;
    int sweeps = 1;
    double timeoutSeconds = 10.0; // for each trigger wait
    std::optional<std::string> output;
    std::optional<std::string> picture;
    bool measure = false;

    // The sweeps as CSV on standard output: asked for with -, or nothing else asked for.
    [[nodiscard]] bool csvToStandardOutput() const {
        return output == "-" || (!output && !measure && !picture);
    }
};

extern const char* const kRecorderUsage;

// The options after the program name; throws UsageError.
RecorderOptions parseRecorderArguments(const std::vector<std::string>& arguments);

} // namespace vistrace
