#pragma once

// A made-up history for benchmarks and pictures: daily runs of one home folder whose files grow
// by a fixed share a day, each kept through the collection writer as a real run would be.

#include "model/Collection.h"
#include "model/History.h"

#include <QDateTime>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>

inline Collection madeUpRun(const QDateTime &started, int day, std::int64_t files, int folders)
{
    Collection c;
    c.facts.started = started;
    c.facts.ended = started.addSecs(600);
    c.facts.complete = true;
    c.facts.hostName = QStringLiteral("example");
    const std::uint64_t perFile = 200'000 + std::uint64_t(day) * 150; // the files grow
    DriveFacts drive;
    drive.letter = 'c';
    drive.mountPoint = QStringLiteral("/home");
    drive.fileSystem = QStringLiteral("ext4");
    drive.walked = true;
    drive.capacity = 512ull * 1024 * 1024 * 1024;
    // The drive fills by about 1.4 GB a day beside the counted files, until it is full.
    const std::uint64_t used = std::uint64_t(files) * perFile + 40ull * 1024 * 1024 * 1024 +
                               std::uint64_t(day) * 1'500'000'000;
    drive.freeBytes = drive.capacity > used ? drive.capacity - used : 0;
    drive.entriesMet = std::uint64_t(files + folders);
    drive.accessTimes = platform::AccessTimes::Daily;
    c.facts.drives = {drive};
    Accumulators &f = c.figures;
    f.allTypes = true;
    // Folders of two levels, "dirN/subM", holding the files evenly; dir0 also gathers new
    // files of its own each day.
    DriveFolders kept{'c', {{"", 0, 0, 0, 0}}};
    const int top = 10;
    const int per = std::max(1, (folders - 1 - top) / top);
    const std::int64_t subFiles = files / top / per;
    const std::uint64_t subBytes = std::uint64_t(subFiles) * perFile;
    for (int a = 0; a < top; ++a) {
        const QByteArray name = "dir" + QByteArray::number(a);
        const std::uint64_t own = a == 0 ? std::uint64_t(day) * 50'000'000 : 0;
        const std::int64_t ownFiles = a == 0 ? day : 0;
        kept.folders.push_back(
            {name, subFiles * per + ownFiles, subBytes * std::uint64_t(per) + own, ownFiles, own});
        kept.folders[0].files += kept.folders.back().files;
        kept.folders[0].bytes += kept.folders.back().bytes;
        for (int b = 0; b < per; ++b)
            kept.folders.push_back({name + "/sub" + QByteArray::number(b).rightJustified(4, '0'),
                                    subFiles, subBytes, subFiles, subBytes});
    }
    f.folderTotals = {kept};
    f.filesProcessed = f.filesFound = kept.folders[0].files;
    static const char *const extensions[] = {".jpg", ".mp4", ".flac", ".pdf", ".odt", ".cpp",
                                             ".h",   ".o",   ".log",  ".txt", ".png", ".iso"};
    const int types = 300;
    for (int t = 0; t < types; ++t) {
        const QString extension =
            t < 12 ? QString::fromLatin1(extensions[t]) : QStringLiteral(".x%1").arg(t);
        // Each type holds a share of the files; the first ones grow faster than the rest.
        const std::int64_t n = f.filesFound / types;
        const std::uint64_t bytes =
            std::uint64_t(n) * perFile * (t < 12 ? 12 - t : 1) / 4 +
            std::uint64_t(day) * std::uint64_t(t < 4 ? 4 - t : 0) * 30'000'000;
        f.lbTypes.putRow(extension.toUpper(), n, bytes);
    }
    const double all = double(f.filesFound);
    f.sizeFiles[3] = all;
    f.sizeBytes[3] = all * double(perFile);
    // More of the files turn cold as the days pass.
    const double cold = std::min(0.9, 0.3 + day * 0.002);
    for (auto *table : {&f.ageModifiedFiles, &f.ageAccessedFiles, &f.ageCreatedFiles}) {
        (*table)[3] = std::round(all * (1 - cold));
        (*table)[7] = all - (*table)[3];
    }
    for (auto *table : {&f.ageModifiedBytes, &f.ageAccessedBytes, &f.ageCreatedBytes}) {
        (*table)[3] = std::round(f.sizeBytes[3] * (1 - cold));
        (*table)[7] = f.sizeBytes[3] - (*table)[3];
    }

    return c;
}

// Writes runs daily collections into folder, the newest of today, unthinned; false after saying
// why.
inline bool writeMadeUpHistory(const QString &folder, int runs, std::int64_t files, int folders)
{
    const QDateTime last(QDate::currentDate(), QTime(3, 0));
    for (int day = 0; day < runs; ++day) {
        QString message;
        const Collection c = madeUpRun(last.addDays(day - runs + 1), day, files, folders);
        if (!writeCollectionFile(folder + u'/' + historyFileName(c.facts), c, message)) {
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
            return false;
        }
    }
    return true;
}
