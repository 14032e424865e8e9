#include "model/TypeNames.h"

#include "helpers/NameText.h"
#include "platform/TypeRegistry.h"

QString getTypeName(const QString &extension)
{
    if (extension == u"*.")
        return QStringLiteral("No extension");
    const platform::TypeRegistry &registry = platform::typeRegistry();
    QString className = registry.className(extension.toLower());
    if (className.isEmpty())
        className = registry.className(extension);
    const QString description = registry.description(className);
    if (!description.isEmpty())
        return description;
    if (!className.isEmpty())
        return className;
    if (!extension.isEmpty() && !extension.contains(u'*')) {
        // A name ending in a dot has an empty extension: "File" alone, not " File".
        const QString name = escapedName(upperName(nameBytes(QStringView(extension).mid(1))));
        return name.isEmpty() ? QStringLiteral("File") : name + QStringLiteral(" File");
    }
    return QString();
}
