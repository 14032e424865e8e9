// Pictures of the dialogs: the About box, the selection wizard's pages, the list editor and the
// extension picker.

#include "controls/AboutBox.h"
#include "tools/snapshots/Snapshots.h"

namespace {

void aboutSnapshots(const QDir &out)
{
    TfrmAbout about;
    saveSnapshot(about, out, QStringLiteral("about"));
}

} // namespace

static SnapshotRegistrar dialogs(QStringLiteral("dialogs"), aboutSnapshots);
