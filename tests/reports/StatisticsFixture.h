#pragma once

#include "controls/MessageBoxes.h"
#include "controls/PickList.h"
#include "platform/FolderDriveSource.h"
#include "reports/Statistics.h"
#include "selection/ExtensionLists.h"
#include "selection/WhichDrive.h"
#include "support/TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// A statistics window over a drive table of temporary folders: c: and e: hold small trees, d:
// is listed but not ready. Message boxes are recorded and answered at once.
struct StatisticsFixture : ::testing::Test
{
    QTemporaryDir home;
    platform::FolderDriveSource *drives = nullptr;
    std::unique_ptr<TfrmStatistics> window;
    QStringList infos, errors;
    int dispatches = 0;
    korvel::test::LocaleGuard locale{korvel::test::commaLocale()};

    // c: 3 .doc and 5 .txt files in two folders, e: 4 .txt files.
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        setSettingsFilePath(home.filePath("korvel98.ini"));
        auto folders = std::make_unique<platform::FolderDriveSource>();
        drives = folders.get();
        addDrive(
            'c', "c: [system]",
            {"a/1.doc", "a/2.doc", "b/3.doc", "a/1.txt", "a/2.txt", "b/3.txt", "b/4.txt", "5.txt"});
        addDrive('d', "d: [gone]", {});
        drives->setReady('d', false);
        addDrive('e', "e: [data]", {"1.txt", "x/2.txt", "x/3.txt", "x/y/4.txt"});
        drives->setCurrentEntry("c: [system]");
        platform::setDriveSource(std::move(folders));
        setMessageHook([this](MessageKind kind, const QString &text) {
            (kind == MessageKind::Error ? errors : infos).append(text);
            return true;
        });
        window = std::make_unique<TfrmStatistics>();
        window->engine.readAheadThreads = 0;
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override
    {
        window.reset();
        setMessageHook({});
        platform::setDriveSource(nullptr);
        setSettingsFilePath(QString());
    }

    void addDrive(char letter, const QString &entry, const QStringList &files)
    {
        const QString root = home.filePath(QString(QChar(letter)));
        QDir().mkpath(root);
        for (const QString &file : files) {
            QDir(root).mkpath(QFileInfo(file).path());
            QFile out(root + '/' + file);
            EXPECT_TRUE(out.open(QIODevice::WriteOnly));
            out.write("some bytes");
        }
        drives->addDrive(QChar(letter), platform::DriveFixed, entry, root);
    }

    // Runs action on every dispatch of the walk; the walk lets messages through at every entry,
    // so a test can act in the middle of it.
    void duringWalk(std::function<void(int dispatch)> action)
    {
        window->engine.dispatchInterval = std::chrono::milliseconds(0);
        const auto dispatch = window->engine.hooks.dispatchMessages;
        window->engine.hooks.dispatchMessages = [this, dispatch, action] {
            dispatch();
            action(++dispatches);
        };
    }

    // Answers the wizard by clicks: picks the drive entries with the given letters besides the
    // current one; an include filter picks the first file type of the list.
    static void answerWizard(const QString &moreDrives = {}, bool includeFirstType = false)
    {
        QTimer::singleShot(0, [moreDrives, includeFirstType] {
            auto *wizard = qobject_cast<TfrmWhichDrive *>(QApplication::activeModalWidget());
            ASSERT_NE(wizard, nullptr) << "the wizard did not show";
            for (int row = 0; row < wizard->pckDrive->count(); ++row)
                if (moreDrives.contains(wizard->pckDrive->itemText(row).at(0)))
                    clickEntry(wizard->pckDrive, row);
            QTest::mouseClick(wizard->btNext1, Qt::LeftButton);
            if (includeFirstType) {
                QTest::mouseClick(wizard->rbInclude, Qt::LeftButton);
                QTest::mouseClick(wizard->btNext2, Qt::LeftButton);
                clickEntry(wizard->PickList1, 0);
                QTest::mouseClick(wizard->btOK, Qt::LeftButton);
            } else {
                QTest::mouseClick(wizard->btNext2, Qt::LeftButton);
            }
        });
    }

    static void clickEntry(QAbstractItemView *list, int row)
    {
        const QRect place = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    }

    void run(const QString &moreDrives = {}, bool includeFirstType = false)
    {
        answerWizard(moreDrives, includeFirstType);
        QTest::mouseClick(window->btOK, Qt::LeftButton);
    }

    QString status() const { return window->StatusBar1->currentMessage(); }

    // Presses "&Print page" with a print dialog that answers confirm and prints to a PDF file in
    // the temporary home; answers that file's path.
    QString pressPrint(bool confirm)
    {
        const QString pdf = home.filePath(confirm ? "yes.pdf" : "no.pdf");
        window->runPrintDialog = [pdf, confirm](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return confirm;
        };
        QTest::mouseClick(window->btPrint, Qt::LeftButton);
        return pdf;
    }
};
