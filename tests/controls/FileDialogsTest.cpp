#include "controls/FileDialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// What a file dialog shows of a folder comes from names alone: a file whose first bytes say PDF
// but whose name says nothing is no PDF to it, and bytes waiting in a pipe stay where they are.
TEST(FileDialogs, EntriesAreToldByNameWithoutReadingThem)
{
    QTemporaryDir temp;
    QFile sniffed(temp.filePath("report"));
    ASSERT_TRUE(sniffed.open(QIODevice::WriteOnly) && sniffed.write("%PDF-1.4\n%\xe2\xe3\n") > 0);
    sniffed.close();
    const QByteArray pipePath = QFile::encodeName(temp.filePath("kmsg"));
    ASSERT_EQ(::mkfifo(pipePath.constData(), 0600), 0);
    const int pipe = ::open(pipePath.constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(pipe, 0);
    ASSERT_EQ(::write(pipe, "queued", 6), 6);

    QFileDialog dialog(nullptr, QString(), temp.path());
    tellFilesByName(dialog);
    const QAbstractFileIconProvider *icons = dialog.iconProvider();
    ASSERT_NE(icons, nullptr);
    for (const QString name : {"report", "kmsg"}) {
        const QFileInfo info(temp.filePath(name));
        EXPECT_FALSE(icons->type(info).contains("PDF")) << name.toStdString();
        EXPECT_FALSE(icons->icon(info).isNull()) << name.toStdString();
    }
    int waiting = 0;
    ASSERT_EQ(::ioctl(pipe, FIONREAD, &waiting), 0);
    EXPECT_EQ(waiting, 6);
    ::close(pipe);
}
