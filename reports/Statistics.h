#pragma once

#include <QDialog>

class TPickList;

// The statistics window. It is created hidden at start-up and lives until the program ends; at
// creation it builds the drive list that the main window's chart and the report pages read.
class TfrmStatistics : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmStatistics(QWidget *parent = nullptr);

    // The drive list: one entry per drive, the drive letter first; the picked entries are the
    // list's selection.
    TPickList *pckStatDrive;

    // Builds the drive list from the drive box entries (once, at creation).
    void FormCreate();
};
