#include "selection/TypeNames.h"

#include "engine/TypeTable.h"
#include "platform/TypeRegistry.h"

#include <algorithm>

QString getTypeName(const QString &extension)
{
    if (extension == u"*.")
        return QStringLiteral("No extension");
    const platform::TypeRegistry &registry = platform::typeRegistry();
    const QString className = registry.className(extension);
    const QString description = registry.description(className);
    if (!description.isEmpty())
        return description;
    if (!className.isEmpty())
        return className;
    if (!extension.isEmpty() && !extension.contains(u'*'))
        return extension.mid(1).toUpper() + QStringLiteral(" File");
    return QString();
}

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
        if (key.startsWith(u'.') && extensionFitsRow(key.toUpper()))
            target.append(u'*' + key);
}
