#pragma once

#include "platform/FolderDriveSource.h"
#include "platform/TypeRegistry.h"

#include <memory>

namespace korvel::test {

// Makes a drive table of folders the program's drive source while it lives; the machine's comes
// back afterwards. Declare it before the windows that read it, so that they go first.
class InstalledFolderDrives
{
public:
    InstalledFolderDrives() { install(); }
    ~InstalledFolderDrives() { platform::setDriveSource(nullptr); }
    InstalledFolderDrives(const InstalledFolderDrives &) = delete;
    InstalledFolderDrives &operator=(const InstalledFolderDrives &) = delete;

    // Puts a fresh table (or the one given) in place of the current one.
    platform::FolderDriveSource &install(std::unique_ptr<platform::FolderDriveSource> table =
                                             std::make_unique<platform::FolderDriveSource>())
    {
        current = table.get();
        platform::setDriveSource(std::move(table));
        return *current;
    }

    platform::FolderDriveSource *operator->() const { return current; }
    platform::FolderDriveSource &operator*() const { return *current; }

private:
    platform::FolderDriveSource *current = nullptr;
};

// Makes a table of type registrations, empty until the test fills it, the program's type registry
// while it lives; the machine's comes back afterwards.
class InstalledTypeTable
{
public:
    InstalledTypeTable()
    {
        auto table = std::make_unique<platform::TableTypeRegistry>();
        current = table.get();
        platform::setTypeRegistry(std::move(table));
    }
    ~InstalledTypeTable() { platform::setTypeRegistry(nullptr); }
    InstalledTypeTable(const InstalledTypeTable &) = delete;
    InstalledTypeTable &operator=(const InstalledTypeTable &) = delete;

    platform::TableTypeRegistry *operator->() const { return current; }
    platform::TableTypeRegistry &operator*() const { return *current; }

private:
    platform::TableTypeRegistry *current = nullptr;
};

} // namespace korvel::test
