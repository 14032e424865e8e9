#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class StyledLabel;
class TPickList;

// "File types": the editor of one extension list. Close (or Esc) saves the list into its
// section of the settings file and ends with OK; the window's close box drops every change and
// ends with Cancel.
class TfrmStatList : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmStatList(QWidget *parent = nullptr);

    // "Include" or "Exclude"; set by the opener before the editor is shown.
    QString ListSection;

    StyledLabel *Label1;
    StyledLabel *lblCount;
    TPickList *PickList1;
    QPushButton *btAdd;
    QPushButton *btDelete;
    QPushButton *btClear;
    QPushButton *btClose;
    QLabel *Label2;

    void FormShow();
    void btAddClick();
    void btDeleteClick();
    void btClearClick();
    void btCloseClick();

    // Adds an entry unless the list holds it already, in any letter case; true when added.
    bool addUnique(const QString &entry);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showCount();
};
