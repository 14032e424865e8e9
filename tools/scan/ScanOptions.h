#pragma once

#include "platform/Outcome.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

struct Options
{
    enum class Filter
    {
        All,
        Include,
        Exclude
    } filter = Filter::All;
    QStringList extensions;
    QDate today;
    std::vector<std::string> folders; // as given: bytes
    enum class Format
    {
        Json,
        Csv,
        Text,
        Prometheus
    } format = Format::Json;
    bool formatGiven = false;
    QString textfileDir; // where korvel98.prom goes
    QString page; // with Format::Csv: a page's name, "folders", "files" or "owners"; the last two
                  // also with text and JSON
    QString save, show;
    QString compare;     // the earlier collection file
    QString compareWith; // the later one, when no folder is walked
    QString machines;    // the folder of the machines overview
    bool history = false;
    bool help = false;    // print the usage instead of anything else
    bool version = false; // print the version instead of anything else
};

// The usage --help prints, before the lines of the history commands.
extern const char helpText[];

// The names --page gives the listing of every folder kept, the largest files and the owners.
extern const QString foldersPage;
extern const QString filesPage;
extern const QString ownersPage;

// The command line after the program's name, each argument as its bytes stand.
platform::Outcome<Options> parseOptions(const std::vector<std::string> &bytes);
