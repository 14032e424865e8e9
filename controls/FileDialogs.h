#pragma once

#include <QFileIconProvider>
#include <QString>

class QFileDialog;
class QWidget;

// Icons and type names of a file dialog's entries, told by each entry's kind and name alone. The
// usual way looks into a file's first bytes, and a file such as /proc/kmsg never gives them: the
// dialog, and the program with it, would wait for good. Nothing here opens a file.
class NameOnlyFileIcons : public QFileIconProvider
{
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo &info) const override;
    QString type(const QFileInfo &info) const override;
};

// Makes a file dialog tell its entries by name only; every file dialog of the program goes
// through here. It shows them in detail, its name column wide enough for a history's file name
// (its time is in the middle, where a narrower column would leave it out).
void tellFilesByName(QFileDialog &dialog);

// Stand-ins for QFileDialog's own static questions, with entries told by name only. An empty
// path means the user gave up; chosenFilter, when given, picks the type first offered and
// answers the one the user picked.
QString askOpenFileName(QWidget *parent, const QString &caption, const QString &start,
                        const QString &filters);
QString askSaveFileName(QWidget *parent, const QString &caption, const QString &start,
                        const QString &filters, QString *chosenFilter = nullptr);

// The folder the last file of a kind (an export's dialog title, say) went to while the program
// runs; the documents folder (the home folder without one) until then.
QString lastExportFolder(const QString &kind);
void rememberExportFolder(const QString &kind, const QString &chosenFile);
