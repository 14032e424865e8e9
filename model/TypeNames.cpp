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
    if (!extension.isEmpty() && !extension.contains(u'*'))
        return escapedName(upperName(nameBytes(QStringView(extension).mid(1)))) +
               QStringLiteral(" File");
    return QString();
}
