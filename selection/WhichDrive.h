#pragma once

#include <QDialog>
#include <QStringList>

class QAction;
class QComboBox;
class QFrame;
class QMenu;
class QPushButton;
class QRadioButton;
class StyledLabel;
class TPickList;

// "Which drives and file types?": the three pages that come before every collection run. The
// answers stay here until the statistics window has read them after an OK result.
class TfrmWhichDrive : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmWhichDrive(QWidget *parent = nullptr);

    // The platform's drives and the current one; never shown.
    QComboBox *cbDrive;
    // Page 1: the drives.
    QFrame *Panel1;
    StyledLabel *lblDrives;
    TPickList *pckDrive;
    QPushButton *btCancel1;
    QPushButton *btNext1;
    QMenu *PopupMenu1;
    QAction *SelectAll1;
    QAction *Deselectall1;
    // Page 2: which files count.
    QFrame *Panel2;
    StyledLabel *lblTypes;
    QRadioButton *rbAll;
    QRadioButton *rbInclude;
    QRadioButton *rbExclude;
    QPushButton *btPrior2;
    QPushButton *btNext2;
    // Page 3: the file types of the filter.
    QFrame *Panel3;
    StyledLabel *lblSelect;
    StyledLabel *lblOf;
    TPickList *PickList1;
    QPushButton *btEdit;
    QPushButton *btPrior3;
    QPushButton *btOK;
    QMenu *PopupMenu2;
    QAction *SelectAll2;
    QAction *DeselectAll2;

    // The answers.
    bool allTypes = true;
    bool includeSelected = false;
    bool excludeSelected = false;
    QStringList pickedDrives() const; // in list order
    QStringList pickedTypes() const;  // in list order: pattern, tab, description

    void FormShow();
    void pckDriveClick();
    void SelectAll1Click();
    void Deselectall1Click();
    void btNext1Click();
    void btPrior2Click();
    void btNext2Click();
    void PickList1Click();
    void SelectAll2Click();
    void DeselectAll2Click();
    void btPrior3Click();
    void btEditClick();
    void btOKClick();

private:
    void buildPage1();
    void buildPage2();
    void buildPage3();
    void fillDriveBox();
    // Shows one page with its default button, and focuses its first control so that the arrow
    // keys and Space work at once: the drive list, the checked filter, the type list.
    void showPage(QFrame *page, QPushButton *defaultButton);
    QString currentSection() const;
    void loadTypes(const QString &section);
    // "picked/listed" of the file types, above their list.
    void showTypeCount();
};
