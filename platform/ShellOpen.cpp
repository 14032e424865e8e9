#include "platform/ShellOpen.h"

#include <QDesktopServices>

namespace platform {

namespace {

std::function<bool(const QUrl &)> &urlOpener()
{
    static std::function<bool(const QUrl &)> opener;
    return opener;
}

} // namespace

bool openUrl(const QUrl &url)
{
    if (urlOpener())
        return urlOpener()(url);
    return QDesktopServices::openUrl(url);
}

void setUrlOpener(std::function<bool(const QUrl &)> opener)
{
    urlOpener() = std::move(opener);
}

} // namespace platform
