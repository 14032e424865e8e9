#pragma once

#include <string_view>

namespace platform {

// Prints text on standard output and flushes it. When it does not get there (a full disk, a closed
// output), says so in one line on standard error, naming the program, and returns false: a help
// or a version that nobody can read is a failure the caller must see.
bool printToStandardOutput(std::string_view program, std::string_view text);

} // namespace platform
