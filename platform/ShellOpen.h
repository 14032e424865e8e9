#pragma once

#include <QUrl>
#include <functional>

namespace platform {

// Opens a web address with the desktop's browser; false when that failed.
bool openUrl(const QUrl &url);

// Tests replace the browser with their own function; an empty function puts the desktop's back.
void setUrlOpener(std::function<bool(const QUrl &)> opener);

} // namespace platform
