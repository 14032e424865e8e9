#pragma once

#include "engine/LargestFiles.h"

#include <QWidget>
#include <vector>

class OwnerTableModel;
class QLabel;
class QTableView;

// The "Owners" tab: the files and bytes each user counted on the drives walked, and the same by
// group, each with its share of the counted bytes; most bytes first.
class OwnersTab : public QWidget
{
    Q_OBJECT

public:
    explicit OwnersTab(QWidget *parent = nullptr);

    // The owners of a run's drives; kept is false for a collection saved before they were kept.
    void showOwners(const std::vector<DriveFiles> &drives, bool kept);

    QLabel *lblNote;
    QTableView *tvUsers;
    QTableView *tvGroups;

private:
    OwnerTableModel *users;
    OwnerTableModel *groups;
};
