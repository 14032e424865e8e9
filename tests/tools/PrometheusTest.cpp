// The figures for monitoring, read by the real node exporter and Prometheus server of the
// system's packages, on the loopback address only.

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

// Series of an exposition text by name and labels (in label order, values unescaped), with
// their values as numbers: the exporter may reorder labels and respell numbers.
std::map<QString, double> seriesOf(const QByteArray &text)
{
    std::map<QString, double> series;
    for (const QByteArray &line : text.split('\n')) {
        if (!line.startsWith("korvel98_"))
            continue;
        const qsizetype brace = line.indexOf('{'), space = line.lastIndexOf(' ');
        QString name = QString::fromUtf8(line.left(brace < 0 ? space : brace));
        std::map<QString, QString> labels;
        for (qsizetype i = brace + 1; brace >= 0 && line[i] != '}';) {
            const qsizetype equals = line.indexOf('=', i);
            QByteArray value;
            qsizetype j = equals + 2;
            for (; line[j] != '"'; ++j)
                value += line[j] == '\\' ? (line[++j] == 'n' ? '\n' : line[j]) : line[j];
            labels[QString::fromUtf8(line.mid(i, equals - i))] = QString::fromUtf8(value);
            i = line[j + 1] == ',' ? j + 2 : j + 1;
        }
        for (const auto &[label, value] : labels)
            name += u' ' + label + u'=' + value;
        series[name] = line.mid(space + 1).toDouble();
    }
    return series;
}

quint16 freePort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 0;
}

// The body of a GET on the loopback address; empty until the server answers 200.
QByteArray httpGet(quint16 port, const QByteArray &target)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(1000))
        return {};
    socket.write("GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray answer;
    while (socket.waitForReadyRead(5000))
        answer += socket.readAll();
    answer += socket.readAll();
    if (!answer.startsWith("HTTP/1.0 200") && !answer.startsWith("HTTP/1.1 200"))
        return {};
    return answer.mid(answer.indexOf("\r\n\r\n") + 4);
}

// Asks until the answer passes or 20 seconds are gone.
template <typename Check> QByteArray poll(quint16 port, const QByteArray &target, Check check)
{
    QByteArray body;
    for (int round = 0; round < 100 && !check(body = httpGet(port, target)); ++round)
        QThread::msleep(200);
    return body;
}

std::unique_ptr<QProcess> start(const QString &program, const QStringList &args)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(program, args);
    process->waitForStarted();
    return process;
}

void stop(QProcess &process)
{
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(5000);
}

TEST(Prometheus, TheExporterAndTheServerHandOnTheRunsExactFigures)
{
    if (!QFile::exists("/usr/bin/prometheus") ||
        !QFile::exists("/usr/bin/prometheus-node-exporter"))
        GTEST_SKIP() << "prometheus and prometheus-node-exporter are not installed";
    QTemporaryDir home, textfiles;
    const QDir tree(home.path());
    tree.mkpath("var/log/\"quoted\"\\dir");
    for (const auto &[path, size] : {std::pair{"var/log/a.log", 1234},
                                     {"var/log/b.LOG", 4321},
                                     {"var/log/\"quoted\"\\dir/c.txt", 77},
                                     {"readme", 5}}) {
        QFile file(tree.filePath(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
    }
    QFile::remove(textfiles.filePath("unrelated.prom"));
    QFile other(textfiles.filePath("unrelated.prom"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("other_metric 1\n");
    other.close();

    QProcess scan;
    scan.start(KORVEL_SCAN_TOOL,
               {"--format", "prometheus", "--textfile-dir", textfiles.path(), home.path()});
    ASSERT_TRUE(scan.waitForFinished(60000));
    ASSERT_EQ(scan.exitCode(), 0) << scan.readAllStandardError().constData();
    const QByteArray printed = scan.readAllStandardOutput();
    QFile written(textfiles.filePath("korvel98.prom"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), printed);
    EXPECT_EQ(QDir(textfiles.path()).entryList(QDir::Files),
              QStringList({"korvel98.prom", "unrelated.prom"}));

    QProcess check;
    check.start("promtool", {"check", "metrics"});
    check.write(printed);
    check.closeWriteChannel();
    ASSERT_TRUE(check.waitForFinished(20000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardError().constData();

    const quint16 exporterPort = freePort();
    const QString exporterAddress = QStringLiteral("127.0.0.1:%1").arg(exporterPort);
    auto exporter =
        start("/usr/bin/prometheus-node-exporter",
              {"--web.listen-address=" + exporterAddress, "--collector.disable-defaults",
               "--collector.textfile", "--collector.textfile.directory=" + textfiles.path()});
    const auto expected = seriesOf(printed);
    const auto served = seriesOf(poll(exporterPort, "/metrics",
                                      [](const QByteArray &b) { return b.contains("korvel98_"); }));
    for (const auto &[name, value] : expected)
        EXPECT_EQ(served.count(name) ? served.at(name) : -1, value) << name.toStdString();

    QFile config(home.filePath("prometheus.yml"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("global:\n  scrape_interval: 1s\nscrape_configs:\n  - job_name: korvel98\n"
                 "    static_configs:\n      - targets: ['" +
                 exporterAddress.toUtf8() + "']\n");
    config.close();
    const quint16 serverPort = freePort();
    auto server =
        start("/usr/bin/prometheus",
              {"--config.file=" + config.fileName(), "--storage.tsdb.path=" + home.filePath("tsdb"),
               QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(serverPort)});
    const QByteArray query =
        "/api/v1/query?query=" + QUrl::toPercentEncoding("korvel98_type_bytes{extension=\".LOG\"}");
    const QJsonArray result = QJsonDocument::fromJson(poll(
        serverPort, query,
        [](const QByteArray &b) {
            return !QJsonDocument::fromJson(b)["data"]["result"].toArray().isEmpty();
        }))["data"]["result"]
                                  .toArray();
    stop(*server);
    stop(*exporter);
    ASSERT_EQ(result.size(), 1);
    EXPECT_EQ(result[0]["value"][1].toString().toDouble(),
              expected.at("korvel98_type_bytes extension=.LOG"));
    EXPECT_EQ(expected.at("korvel98_type_bytes extension=.LOG"), 1234 + 4321);
}

} // namespace
