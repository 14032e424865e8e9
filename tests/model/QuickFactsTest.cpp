#include "model/QuickFacts.h"

#include "model/Collection.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

Collection sampleRun()
{
    Collection run;
    run.facts.programVersion = "1.3";
    run.facts.started = QDateTime(QDate(2026, 12, 7), QTime(16, 45, 3), QTimeZone(3600));
    run.facts.ended = run.facts.started.addSecs(90);
    run.facts.timeZone = "Europe/Berlin";
    run.facts.hostName = "box";
    run.facts.complete = true;
    DriveFacts drive;
    drive.letter = 'c';
    drive.walked = true;
    drive.mountPoint = "/home";
    drive.entriesMet = 1200;
    run.facts.drives = {drive};
    run.figures.filter = Filter();
    return run;
}

// As releases before this one wrote a collection: the facts in the order of their names, some of
// them after the figures and the filter.
QByteArray earlierLayout(const QByteArray &bytes)
{
    QJsonObject body = QJsonDocument::fromJson(bytes).object();
    body.remove("format");
    body.remove("version");
    return R"({"format":"korvel98-collection","version":1,)" +
           QJsonDocument(body).toJson(QJsonDocument::Compact).mid(1) + '\n';
}

// The facts come from the first and last bytes alone, in the layout of today and of earlier
// releases: figures damaged in the middle do not hide them, a file cut short is not trusted.
TEST(QuickFacts, TellsTheFactsWithoutTheFigures)
{
    const Collection run = sampleRun();
    const QByteArray today = collectionJson(run);
    const QByteArray damage = R"("lbTypes":[)";
    ASSERT_TRUE(today.contains(damage));
    const struct
    {
        const char *name;
        QByteArray bytes;
        bool told;
    } cases[] = {
        {"today", today, true},
        {"earlier", earlierLayout(today), true},
        {"today, figures damaged", QByteArray(today).replace(damage, damage + "[[{"), true},
        {"earlier, figures damaged",
         earlierLayout(today).replace(damage, damage + "[[{").replace("\"sizeBytes\"", "x"), true},
        {"earlier, indented", QJsonDocument::fromJson(today).toJson(QJsonDocument::Indented), true},
        {"today, cut short", today.chopped(20), false},
        {"earlier, cut short", earlierLayout(today).chopped(20), false},
        {"not a collection", "{\"format\":\"other\"}", false},
    };
    QTemporaryDir folder;
    for (const auto &c : cases) {
        QFile file(folder.filePath(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.bytes) == c.bytes.size());
        file.close();
        const std::optional<RunFacts> facts = quickRunFacts(file.fileName());
        EXPECT_EQ(facts.has_value(), c.told) << c.name;
        if (facts) {
            EXPECT_TRUE(*facts == run.facts) << c.name;
        }
    }
}

} // namespace
