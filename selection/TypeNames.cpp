#include "selection/TypeNames.h"

#include "engine/TypeTable.h"
#include "platform/TypeRegistry.h"

#include <algorithm>

void listRegisteredExtensions(QStringList &target, bool withAllFiles)
{
    target.clear();
    if (withAllFiles)
        target.append(QStringLiteral("*.*"));
    QStringList keys = platform::typeRegistry().extensionKeys();
    std::sort(keys.begin(), keys.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    for (const QString &key : keys)
        if (key.startsWith(u'.') && extensionFitsRow(key.toUpper().toUtf8()))
            target.append(u'*' + key);
}
