#pragma once

#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

// Which files a run counts: every file, only the picked types, or all but them. The picked types
// arrive as the extension lists show them ("*.doc", a tab, the description) and are read once,
// here, into the extensions the walk compares: lower case, as the bytes they name, so that
// ".\xFF" stays the one byte it stands for.
class Filter
{
public:
    enum class Mode
    {
        All,
        Include,
        Exclude
    };

    Filter() = default;
    Filter(Mode mode, QStringList rows);

    Mode mode() const { return kind; }
    bool allTypes() const { return kind == Mode::All; }
    bool includeSelected() const { return kind == Mode::Include; }
    bool excludeSelected() const { return kind == Mode::Exclude; }

    // The picked rows as the lists and the collection files keep them.
    const QStringList &rows() const { return pickedRows; }
    // The extension of each row as the user picked it, "*" taken off: ".DOC".
    QStringList pickedTexts() const;
    // Each extension picked once, in lower case and in byte order, as the rows show them: ".doc".
    QStringList extensions() const;

    // Whether a file of this name (its bytes) is counted.
    bool passes(std::string_view name) const;

    // Two filters are the same when they have the same mode and the same rows.
    bool operator==(const Filter &other) const;

private:
    Mode kind = Mode::All;
    QStringList pickedRows;
    std::vector<std::string> lowered; // the extension of each row, lower-case bytes
};
