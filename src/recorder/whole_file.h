#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vistrace {

// A file that could not be written; the message says which and why.
class WriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes contents to path whole or not at all: into a new file beside it, flushed to the disk
// and then renamed over it, so that a reader, or a failure halfway, never sees part of it and
// an earlier file of that name stays as it was until the new one is complete. Throws
// WriteError.
void writeWholeFile(const std::string& path, std::string_view contents);

} // namespace vistrace
