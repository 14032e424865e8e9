#include "platform/Terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {

bool standardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

int standardErrorColumns()
{
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0)
        return 0;
    return size.ws_col;
}

} // namespace platform
