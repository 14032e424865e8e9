#pragma once

#include <optional>
#include <string>
#include <vector>

// korvel98-scan's look at the history: --trends prints the trends and the forecast of each drive,
// --history-prune thins the history (with --dry-run only says what would go and why). Nothing
// when the arguments ask for neither; otherwise the exit status.
std::optional<int> runHistoryCommand(const std::vector<std::string> &arguments);

// The lines of --help that describe these options.
extern const char historyHelpText[];
