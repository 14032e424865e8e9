#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TTabListBox;

// "Select a file extension": every registered extension with its type name, or one typed by
// hand. After OK the opener reads severalPicked, and then either the chosen pattern and
// description or the picked entries of lBox.
class TfrmSelectExtension : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSelectExtension(QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *Edit1;
    QComboBox *cbWildCard; // one pattern per lBox entry, in the same order; never shown
    TTabListBox *lBox;
    QLabel *Label2;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;

    QString chosenPattern;
    QString chosenDescription;
    bool severalPicked = false;

    // The entries of lBox picked when the dialog ended.
    QStringList pickedEntries() const;

    // "doc", ".doc" and "*.doc" all mean "*.doc"; anything else with a "*" stays as typed.
    static QString completePattern(const QString &typed);

    void FormShow();
    void lBoxClick();
    void lBoxDblClick();
    void BitBtn1Click();

private:
    // Takes the typed or picked choice; true when a single pattern was chosen.
    bool takeChoice();
};
