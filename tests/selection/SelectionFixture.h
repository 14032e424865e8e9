#pragma once

#include "controls/MessageBoxes.h"
#include "selection/ExtensionLists.h"
#include "support/PlatformFakes.h"
#include "support/TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

// Every selection test: the settings file in a temporary folder, a fixed table of file types,
// and message boxes answered by the test.
struct SelectionFixture : ::testing::Test
{
    QTemporaryDir home;
    QStringList questions;
    QStringList errors;
    bool answerYes = true;
    korvel::test::LocaleGuard locale{korvel::test::commaLocale()};
    korvel::test::InstalledTypeTable registry;

    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        setSettingsFilePath(home.filePath("korvel98.ini"));
        const QList<std::pair<QString, QString>> types = {
            {".doc", "Word document"}, {".exe", "Program"},        {".txt", "Plain text"},
            {".pdf", "PDF document"},  {".jpeg", "JPEG image"},    {".html", "Web page"},
            {".zip", "Zip archive"},   {".tar.gz", "Gzip archive"}};
        for (const auto &[extension, description] : types) {
            registry->addExtension(extension, "class" + extension);
            registry->addClass("class" + extension, description);
        }
        setMessageHook([this](MessageKind kind, const QString &text) {
            if (kind == MessageKind::Question) {
                questions.append(text);
                return answerYes;
            }
            errors.append(text);
            return false;
        });
    }

    void TearDown() override
    {
        setMessageHook({});
        setSettingsFilePath(QString());
    }

    QString settingsText() const
    {
        return QString::fromUtf8(korvel::test::fileBytes(home.filePath("korvel98.ini")));
    }

    static void clickEntry(QAbstractItemView *list, int row,
                           Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QRect place = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, place.center());
    }

    static void doubleClickEntry(QAbstractItemView *list, int row)
    {
        const QRect place = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
    }

    // Runs handler on the next modal dialog of type Dialog once it shows; fails the test when
    // none shows.
    template <typename Dialog> static void whenShown(std::function<void(Dialog &)> handler)
    {
        QTimer::singleShot(0, [handler] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "the expected dialog did not show";
                if (QWidget *other = QApplication::activeModalWidget())
                    other->close();
                return;
            }
            handler(*dialog);
        });
    }
};
