#pragma once

// For the developer tools that run a collection without a person: one folder stands in for the
// current drive, message boxes are passed, and the wizard is answered as a user would answer it
// for every file of that drive.

#include "controls/MessageBoxes.h"
#include "platform/FolderDriveSource.h"
#include "selection/WhichDrive.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <memory>

// Message boxes are answered at once (Yes to a question) instead of waiting for a click.
inline void passMessageBoxes()
{
    setMessageHook([](MessageKind, const QString &) { return true; });
}

// While it lives, the drives given are the only ones the program sees; afterwards the machine's
// are back.
class DriveTable
{
public:
    explicit DriveTable(std::unique_ptr<platform::FolderDriveSource> drives) : source(drives.get())
    {
        platform::setDriveSource(std::move(drives));
    }
    ~DriveTable() { platform::setDriveSource(nullptr); }
    DriveTable(const DriveTable &) = delete;
    DriveTable &operator=(const DriveTable &) = delete;

    platform::FolderDriveSource *source;
};

// While it lives, the folder is the only drive, c:, listed as entry and current, and message
// boxes are passed.
class UnattendedDrive : public DriveTable
{
public:
    UnattendedDrive(const QString &folder, const QString &entry)
        : DriveTable(oneDrive(folder, entry))
    {
        passMessageBoxes();
    }
    ~UnattendedDrive() { setMessageHook({}); }

private:
    static std::unique_ptr<platform::FolderDriveSource> oneDrive(const QString &folder,
                                                                 const QString &entry)
    {
        auto drives = std::make_unique<platform::FolderDriveSource>();
        drives->addDrive('c', platform::DriveFixed, entry, folder);
        drives->setCurrentEntry(entry);
        return drives;
    }
};

// Answers the next selection wizard that shows: the drives picked as they start, "&All files".
inline void answerNextWizard()
{
    QTimer::singleShot(0, [] {
        if (auto *wizard = qobject_cast<TfrmWhichDrive *>(QApplication::activeModalWidget())) {
            wizard->btNext1->click();
            wizard->btNext2->click();
        }
    });
}
