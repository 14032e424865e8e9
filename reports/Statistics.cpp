#include "reports/Statistics.h"

#include "controls/DialogLook.h"
#include "controls/PickList.h"
#include "drives/Drives.h"

namespace {

// The window's client area and the drive list's place on the Space page.
constexpr QSize clientSize(632, 431);
constexpr QRect driveListPlace(7, 7, 179, 349);

} // namespace

TfrmStatistics::TfrmStatistics(QWidget *parent) : QDialog(parent)
{
    setWindowTitle("File Statistics Not Yet Collected");
    setFixedSize(clientSize);
    setFont(pixelFont("MS Sans Serif", 11));

    pckStatDrive = new TPickList(this);
    pckStatDrive->setObjectName("pckStatDrive");
    pckStatDrive->setGeometry(driveListPlace);
    pckStatDrive->setMultiSelect(true);
    pckStatDrive->setExtendedSelect(false);
    pckStatDrive->setItemHeight(16);
    pckStatDrive->setFrameShape(QFrame::NoFrame);
    pckStatDrive->setColor(buttonFace());
    pckStatDrive->setFont(QFont("Arial", 10));
    FormCreate();
}

void TfrmStatistics::FormCreate()
{
    const DriveList list = buildDriveList();
    pckStatDrive->setItems(list.entries);
    // No entry for the current drive (it had no label, or there is none): every drive is picked.
    if (list.pick < 0)
        pckStatDrive->setAllSelected(true);
    else
        pckStatDrive->setSelected(list.pick, true);
}
