#include "model/FilterText.h"

#include "engine/Filter.h"

#include <QStringList>

namespace {

// Each extension picked once, in lower case, as a pattern: "*.doc".
QStringList pickedPatterns(const Filter &filter)
{
    QStringList patterns;
    for (const QString &extension : filter.extensions())
        patterns << u'*' + extension;
    return patterns;
}

} // namespace

QString filterText(const Filter &filter)
{
    if (filter.allTypes())
        return QStringLiteral("All file types");
    const QStringList extensions = filter.pickedTexts();
    const QString list = extensions.isEmpty() ? QStringLiteral("(none)") : extensions.join(u' ');
    return (filter.includeSelected() ? QStringLiteral("Only ") : QStringLiteral("All but ")) + list;
}

QString filterWords(const Filter &filter)
{
    const QString extensions = filter.pickedTexts().join(u' ');
    if (filter.includeSelected())
        return QStringLiteral("only ") + extensions;
    if (filter.excludeSelected())
        return QStringLiteral("all files except ") + extensions;
    return QStringLiteral("all files");
}

QString filterSummary(const Filter &filter)
{
    const qsizetype picked = pickedPatterns(filter).size();
    const QString types =
        QString::number(picked) +
        (picked == 1 ? QStringLiteral(" selected type") : QStringLiteral(" selected types"));
    if (filter.includeSelected())
        return QStringLiteral("Only ") + types;
    if (filter.excludeSelected())
        return QStringLiteral("All but ") + types;
    return QStringLiteral("All types");
}

QString filterNamed(const Filter &filter)
{
    // A few types read at a glance; a long list would bury the rest of the line.
    constexpr qsizetype namedTypes = 4;
    const QStringList picked = pickedPatterns(filter);
    QString names = picked.mid(0, namedTypes).join(QStringLiteral(", "));
    if (picked.size() > namedTypes)
        names += QStringLiteral(" and %1 more").arg(picked.size() - namedTypes);
    if (filter.includeSelected())
        return QStringLiteral("only ") + names;
    if (filter.excludeSelected())
        return QStringLiteral("all but ") + names;
    return QStringLiteral("all types");
}
