#pragma once

#include <QDialog>
#include <QList>
#include <QUrl>

class QFrame;
class QLabel;
class QPushButton;
class TGradientBack;

// The maker's home page, opened from the About box; the main window shows the same address.
QUrl makerHomePage();
QString makerWebAddress();

// "How to contact us": the product, its maker, the maker's other products and a way to the
// maker's home page.
class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget *parent = nullptr);

    TGradientBack *GradientBack1;
    QFrame *Panel1;
    QLabel *ProductName;
    QLabel *Label4;
    QLabel *lblCompany;
    QLabel *Comments;
    QLabel *Label1;
    QFrame *Bevel1;
    QList<QLabel *> productLines;
    QLabel *Label7;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label5;
    QPushButton *OKButton;
    QPushButton *btWeb;

    // Asks the desktop to open the home page; from the button the dialog then closes, from the
    // link it stays open.
    void btWebClick(QObject *sender);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *addLine(const QString &text, int top, const QColor &colour);
};
