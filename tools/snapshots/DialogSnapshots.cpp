// Pictures of the dialogs: the About box, the selection wizard's pages, the list editor and the
// extension picker.

#include "controls/AboutBox.h"
#include "controls/PickList.h"
#include "selection/ExtensionLists.h"
#include "selection/SelectExtension.h"
#include "selection/StatList.h"
#include "selection/WhichDrive.h"
#include "tools/Unattended.h"
#include "tools/snapshots/Snapshots.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

// A machine of our own making: a system disk, a data disk, a CD-ROM drive without a disc, a
// network share and a memory stick.
std::unique_ptr<platform::FolderDriveSource> sampleDrives(const QString &folder)
{
    auto drives = std::make_unique<platform::FolderDriveSource>();
    drives->addDrive('c', platform::DriveFixed, "c: [/]", folder);
    drives->addDrive('d', platform::DriveFixed, "d: [/home]", folder);
    drives->addDrive('e', platform::DriveCdRom, "e: []", folder);
    drives->addDrive('f', platform::DriveRemovable, "f:", folder);
    drives->addDrive('x', platform::DriveRemote, "x: //fileserver/projects", folder);
    drives->setCurrentEntry("d: [/home]");
    return drives;
}

void wizardSnapshots(const QDir &out)
{
    TfrmWhichDrive wizard;
    wizard.pckDrive->setSelected(0, true);
    saveSnapshot(wizard, out, QStringLiteral("wizard-drives"));

    wizard.btNext1Click();
    wizard.rbInclude->setChecked(true);
    saveSnapshot(wizard, out, QStringLiteral("wizard-types"));

    wizard.btNext2Click();
    wizard.PickList1->setSelected(0, true);
    wizard.PickList1->setSelected(2, true);
    wizard.PickList1Click();
    saveSnapshot(wizard, out, QStringLiteral("wizard-list"));
}

void dialogSnapshots(const QDir &out)
{
    QTemporaryDir home;
    setSettingsFilePath(home.filePath(QStringLiteral("korvel98.ini")));
    const DriveTable drives(sampleDrives(home.path()));

    TfrmAbout about;
    saveSnapshot(about, out, QStringLiteral("about"));

    wizardSnapshots(out);

    TfrmStatList editor;
    editor.ListSection = QStringLiteral("Include");
    editor.FormShow();
    editor.PickList1->setSelected(1, true);
    saveSnapshot(editor, out, QStringLiteral("editor"));

    TfrmSelectExtension picker;
    saveSnapshot(picker, out, QStringLiteral("picker"));

    setSettingsFilePath(QString());
}

SnapshotRegistrar dialogs(QStringLiteral("dialogs"), dialogSnapshots);

} // namespace
