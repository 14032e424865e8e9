#include "platform/TypeRegistry.h"

#include <QFile>
#include <QMimeDatabase>
#include <QSet>
#include <QStandardPaths>
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

using TypeGlob = std::pair<QString, QString>; // a MIME type and one of its globs

// Every glob of the database by the index files it keeps beside its types ("mime/globs2" in each
// data folder, lines of weight:type:glob[:flags]). Asking each type for its globs would read the
// description file of every type there is, a quarter of a second, where a report needs only the
// few types it names.
QList<TypeGlob> indexedGlobs()
{
    QList<TypeGlob> globs;
    QSet<QString> withoutGlobs; // types a folder of higher precedence took all globs from
    for (const QString &path :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, "mime/globs2")) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QSet<QString> cleared;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            const QStringList fields = line.split(u':');
            if (line.startsWith(u'#') || fields.size() < 3 || withoutGlobs.contains(fields[1]))
                continue;
            if (fields[2] == u"__NOGLOBS__")
                cleared.insert(fields[1]);
            else
                globs.append({fields[1], fields[2]});
        }
        withoutGlobs.unite(cleared);
    }
    return globs;
}

// The globs of every type as the database answers for each; only where it keeps no index.
QList<TypeGlob> typeGlobs(const QMimeDatabase &database)
{
    QList<TypeGlob> globs;
    for (const QMimeType &type : database.allMimeTypes())
        for (const QString &glob : type.globPatterns())
            globs.append({type.name(), glob});
    return globs;
}

} // namespace

MimeTypeRegistry::MimeTypeRegistry()
{
    // The database is indexed once: the Types listing asks for a name per row. Types are taken in
    // the order of their names, the same in every run; where several types claim one extension,
    // the one the database itself prefers for a file of that name wins.
    const QMimeDatabase database;
    QList<TypeGlob> globs = indexedGlobs();
    if (globs.isEmpty())
        globs = typeGlobs(database);
    std::stable_sort(globs.begin(), globs.end(),
                     [](const TypeGlob &a, const TypeGlob &b) { return a.first < b.first; });
    QHash<QString, QStringList> exactClaimants; // "*.C" -> its types, by name
    QHash<QString, QStringList> anyCaseClaimants;
    for (const auto &[type, glob] : globs) {
        const QString extension = simpleGlobExtension(glob);
        if (extension.isEmpty())
            continue;
        QStringList &exact = exactClaimants[extension];
        if (!exact.contains(type))
            exact.append(type);
        // The first spelling of an extension, in any case, is its key.
        const QString lower = extension.toLower();
        QStringList &anyCaseTypes = anyCaseClaimants[lower];
        if (anyCaseTypes.isEmpty())
            keys.append(extension);
        if (!anyCaseTypes.contains(type))
            anyCaseTypes.append(type);
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
