// Saving a run into a history folder that holds any names at all. Each input line is one entry
// of the folder; its first byte makes it a collection, some other file, a folder or a symbolic
// link to a collection outside. After the save:
// - the run just saved is there and reads back;
// - every entry that is not a regular collection file is still there, and the collection outside
//   is untouched.

#include "fuzz/FuzzInput.h"
#include "model/History.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using korvel::fuzz::FuzzInput;

namespace {

QByteArray collectionBytes(int hour)
{
    Collection run;
    run.facts.started = QDateTime(QDate(2026, 12, 7), QTime(hour % 24, 0));
    run.facts.ended = run.facts.started;
    DriveFacts drive;
    drive.letter = u'c';
    run.facts.drives.push_back(drive);
    run.figures.filter = Filter();
    return collectionJson(run);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QTemporaryDir outside;
    static const QString elsewhere = outside.filePath("elsewhere.korvel98.json");
    static const QByteArray collection = collectionBytes(1);
    if (!QFileInfo::exists(elsewhere)) {
        QFile file(elsewhere);
        file.open(QIODevice::WriteOnly);
        file.write(collection);
    }
    FuzzInput input(data, size);
    QTemporaryDir folder;
    QStringList strangers;
    for (int entries = 0; entries < 20; ++entries) {
        const int kind = input.choice(4);
        const QString name = QString::fromUtf8(input.upTo('\n'));
        if (name.isEmpty() || name.contains(u'/') || name == "." || name == "..")
            break;
        const QString path = folder.filePath(name);
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            continue;
        if (kind == 2) {
            QDir().mkdir(path);
        } else if (kind == 3) {
            QFile::link(elsewhere, path);
        } else {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                continue;
            file.write(kind == 0 ? collection : QByteArray("notes"));
        }
        // A name the system cannot hold (a zero byte ends it early) makes no entry to look after.
        if (kind != 0 && (QFileInfo::exists(path) || QFileInfo(path).isSymLink()))
            strangers << name;
    }
    Collection run;
    run.facts.started = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    run.facts.ended = run.facts.started;
    DriveFacts drive;
    drive.letter = u'd';
    run.facts.drives.push_back(drive);
    run.figures.filter = Filter();
    const platform::Outcome<QString> saved = keepInHistory(run, folder.path());
    FUZZ_CHECK(saved && readCollectionFile(*saved));
    for (const QString &name : strangers)
        FUZZ_CHECK(QFileInfo::exists(folder.filePath(name)) ||
                   QFileInfo(folder.filePath(name)).isSymLink());
    QFile outsideFile(elsewhere);
    FUZZ_CHECK(outsideFile.open(QIODevice::ReadOnly) && outsideFile.readAll() == collection);
    return 0;
}
