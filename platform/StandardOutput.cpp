#include "platform/StandardOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

bool printToStandardOutput(std::string_view program, std::string_view text)
{
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
                         std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!written)
        std::fprintf(stderr, "%.*s: cannot write to standard output: %s\n", int(program.size()),
                     program.data(), errno ? std::strerror(errno) : "write error");
    return written;
}

} // namespace platform
