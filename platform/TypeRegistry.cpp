#include "platform/TypeRegistry.h"

#include <QMimeDatabase>
#include <algorithm>

namespace platform {

namespace {

// "*.doc" -> ".doc"; empty for globs that are more than a star and a plain extension.
QString simpleGlobExtension(const QString &glob)
{
    if (!glob.startsWith(QStringLiteral("*.")) || glob.size() < 3)
        return QString();
    const QString extension = glob.mid(1);
    for (QChar c : QStringView(extension).mid(1))
        if (c == u'*' || c == u'?' || c == u'[' || c == u']')
            return QString();
    return extension;
}

} // namespace

MimeTypeRegistry::MimeTypeRegistry()
{
    // The database is indexed once: the Types listing asks for a name per row. It hands its types
    // out in a different order in every process, so they are taken by name; where several types
    // claim one extension, the one the database itself prefers for a file of that name wins, in
    // every run alike.
    const QMimeDatabase database;
    QList<QMimeType> types = database.allMimeTypes();
    std::sort(types.begin(), types.end(),
              [](const QMimeType &a, const QMimeType &b) { return a.name() < b.name(); });
    QHash<QString, QStringList> exactClaimants; // "*.C" -> its types, by name
    QHash<QString, QStringList> anyCaseClaimants;
    for (const QMimeType &type : types) {
        for (const QString &glob : type.globPatterns()) {
            const QString extension = simpleGlobExtension(glob);
            if (extension.isEmpty())
                continue;
            QStringList &exact = exactClaimants[extension];
            if (!exact.contains(type.name()))
                exact.append(type.name());
            // The first spelling of an extension, in any case, is its key.
            const QString lower = extension.toLower();
            QStringList &anyCaseTypes = anyCaseClaimants[lower];
            if (anyCaseTypes.isEmpty())
                keys.append(extension);
            if (!anyCaseTypes.contains(type.name()))
                anyCaseTypes.append(type.name());
        }
    }
    const auto preferred = [&database](const QString &extension, const QStringList &claimants) {
        if (claimants.size() == 1)
            return claimants.first();
        const QString pick =
            database.mimeTypeForFile(u'x' + extension, QMimeDatabase::MatchExtension).name();
        return claimants.contains(pick) ? pick : claimants.first();
    };
    for (auto it = exactClaimants.cbegin(); it != exactClaimants.cend(); ++it)
        exactCase.insert(it.key(), preferred(it.key(), it.value()));
    for (auto it = anyCaseClaimants.cbegin(); it != anyCaseClaimants.cend(); ++it)
        anyCase.insert(it.key(), preferred(it.key(), it.value()));
}

QString MimeTypeRegistry::className(const QString &extension) const
{
    const QString exact = exactCase.value(extension);
    return exact.isEmpty() ? anyCase.value(extension.toLower()) : exact;
}

QString MimeTypeRegistry::description(const QString &className) const
{
    if (className.isEmpty())
        return QString();
    const QMimeType type = QMimeDatabase().mimeTypeForName(className);
    return type.isValid() ? type.comment() : QString();
}

QStringList MimeTypeRegistry::extensionKeys() const
{
    return keys;
}

void TableTypeRegistry::addExtension(const QString &extension, const QString &className)
{
    if (!classes.contains(extension.toLower()))
        keys.append(extension);
    classes.insert(extension.toLower(), className);
}

void TableTypeRegistry::addClass(const QString &className, const QString &description)
{
    descriptions.insert(className.toLower(), description);
}

QString TableTypeRegistry::className(const QString &extension) const
{
    return classes.value(extension.toLower());
}

QString TableTypeRegistry::description(const QString &className) const
{
    return descriptions.value(className.toLower());
}

QStringList TableTypeRegistry::extensionKeys() const
{
    return keys;
}

namespace {

std::unique_ptr<TypeRegistry> &installed()
{
    static std::unique_ptr<TypeRegistry> registry;
    return registry;
}

} // namespace

const TypeRegistry &typeRegistry()
{
    if (!installed())
        installed() = std::make_unique<MimeTypeRegistry>();
    return *installed();
}

void setTypeRegistry(std::unique_ptr<TypeRegistry> registry)
{
    installed() = std::move(registry);
}

} // namespace platform
