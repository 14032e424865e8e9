#include "controls/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QTreeView>
#include <algorithm>
#include <map>

QIcon NameOnlyFileIcons::icon(const QFileInfo &info) const
{
    if (info.isRoot())
        return icon(Drive);
    if (info.isDir())
        return icon(Folder);
    if (!info.isFile())
        return icon(File);
    const QMimeType kind =
        QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    return QIcon::fromTheme(kind.iconName(), QIcon::fromTheme(kind.genericIconName(), icon(File)));
}

QString NameOnlyFileIcons::type(const QFileInfo &info) const
{
    // A pipe, a device or a socket is none of the types a name tells.
    if (info.isRoot() || info.isDir() || !info.isFile())
        return QFileIconProvider::type(info);
    const QMimeType kind =
        QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    return kind.comment().isEmpty() ? kind.name() : kind.comment();
}

void tellFilesByName(QFileDialog &dialog)
{
    static NameOnlyFileIcons icons;
    dialog.setIconProvider(&icons);
    dialog.setViewMode(QFileDialog::Detail);
    const int name = dialog.fontMetrics().horizontalAdvance(
                         QStringLiteral("2026-12-07T16-45-03_c_d_e_2.korvel98.json")) +
                     48; // the icon and the margins
    // The other columns keep their room beside it.
    dialog.resize(std::max(dialog.width(), name + 420), dialog.height());
    if (auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView")))
        details->header()->resizeSection(0, name);
}

namespace {

QString ask(QFileDialog &dialog, QString *chosenFilter)
{
    tellFilesByName(dialog);
    if (chosenFilter && !chosenFilter->isEmpty())
        dialog.selectNameFilter(*chosenFilter);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}

} // namespace

QString askOpenFileName(QWidget *parent, const QString &caption, const QString &start,
                        const QString &filters)
{
    QFileDialog dialog(parent, caption, start, filters);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return ask(dialog, nullptr);
}

QString askSaveFileName(QWidget *parent, const QString &caption, const QString &start,
                        const QString &filters, QString *chosenFilter)
{
    QFileDialog dialog(parent, caption, start, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return ask(dialog, chosenFilter);
}

namespace {

std::map<QString, QString> &exportFolders()
{
    static std::map<QString, QString> folders;
    return folders;
}

} // namespace

QString lastExportFolder(const QString &kind)
{
    const auto found = exportFolders().find(kind);
    if (found != exportFolders().end() && QFileInfo(found->second).isDir())
        return found->second;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void rememberExportFolder(const QString &kind, const QString &chosenFile)
{
    exportFolders()[kind] = QFileInfo(chosenFile).absolutePath();
}
