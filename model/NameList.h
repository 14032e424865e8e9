#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <optional>

// The lower-case names of an enumeration whose values run from 0, as the command line and the
// exported files spell them: the name of each value, its title, and the value a name stands for.
template <typename Id, std::size_t Count> struct NameList
{
    std::array<const char *, Count> names;

    QString name(Id id) const { return QString::fromLatin1(names[std::size_t(id)]); }

    QString title(Id id) const
    {
        QString title = name(id);
        title[0] = title[0].toUpper();
        return title;
    }

    std::optional<Id> named(const QString &name) const
    {
        for (std::size_t i = 0; i < Count; ++i)
            if (name == QLatin1String(names[i]))
                return Id(i);
        return std::nullopt;
    }
};
