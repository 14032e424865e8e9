#include "controls/AboutBox.h"

#include "controls/DialogLook.h"
#include "controls/GradientBack.h"
#include "controls/MessageBoxes.h"
#include "platform/ShellOpen.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <qdrawutil.h>

namespace {

const QString webAddress = QStringLiteral("www.tembrel.example");

// The maker's other products, shown in the framed box.
const QStringList otherProducts = {
    QStringLiteral("Sorrel Backup - copies what changed since yesterday"),
    QStringLiteral("Dunmore Clock - keeps every PC on the network on time"),
    QStringLiteral("Pellet Find - finds any file by a word it contains"),
    QStringLiteral("Kestrel Mail - reads mail from five accounts in one list"),
    QStringLiteral("Harrow Icons - gives each folder a picture of its own"),
};

const QColor navy(0, 0, 128);
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);

// The framed panel behind the text: a sunken outer bevel around a raised inner one.
class BevelPanel : public QFrame
{
public:
    explicit BevelPanel(QWidget *parent) : QFrame(parent)
    {
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Button);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        constexpr int bevel = 3;
        QPainter painter(this);
        qDrawShadePanel(&painter, rect(), palette(), true, bevel);
        qDrawShadePanel(&painter, rect().adjusted(bevel, bevel, -bevel, -bevel), palette(), false,
                        bevel);
    }
};

QFont textFont()
{
    return pixelFont(QStringLiteral("MS Sans Serif"), 11, true);
}

} // namespace

QString makerWebAddress()
{
    return webAddress;
}

QUrl makerHomePage()
{
    return QUrl(QStringLiteral("http://") + webAddress + QLatin1Char('/'));
}

TfrmAbout::TfrmAbout(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("How to contact us"));
    setDialogFrame(*this, QSize(443, 383));
    setFont(pixelFont(QStringLiteral("System"), 13));

    GradientBack1 = new TGradientBack(this);
    GradientBack1->setIsAllBlue(true);

    Panel1 = new BevelPanel(this);
    Panel1->setGeometry(18, 10, 407, 327);

    ProductName = addLine(QStringLiteral("Korvel 99  Version 1.3"), 12, Qt::black);
    ProductName->setFont(pixelFont(QStringLiteral("Arial"), 16, true));
    ProductName->setGeometry(10, 10, 387, 22);
    Label4 = addLine(QStringLiteral("Compliments of:"), 38, navy);
    lblCompany = addLine(QStringLiteral("Tembrel Software Ltd."), 56, Qt::black);
    Comments = addLine(QStringLiteral("27 Ferrier Row, Unit 4"), 74, Qt::black);
    Label1 = addLine(QStringLiteral("Kellsbridge, KB4 9TQ"), 92, Qt::black);

    Bevel1 = new QFrame(Panel1);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(12, 127, 382, 106);
    const QFont productLineFont = pixelFont(QStringLiteral("Times New Roman"), 13, true);
    for (int i = 0; i < otherProducts.size(); ++i) {
        auto *line = new QLabel(otherProducts[i], Bevel1);
        line->setFont(productLineFont);
        line->setGeometry(10, 8 + 18 * i, 362, 18);
        productLines.append(line);
    }

    Label7 = addLine(QStringLiteral("Visit our web site for the latest version!"), 244, red);
    Label2 = addLine(QStringLiteral("(0190) 555 0142 voice"), 264, Qt::black);
    Label3 = addLine(QStringLiteral("(0190) 555 0143 fax"), 282, Qt::black);
    Label5 = addLine(webAddress, 302, blue);
    QFont linkFont = textFont();
    linkFont.setUnderline(true);
    Label5->setFont(linkFont);
    Label5->setCursor(Qt::PointingHandCursor);
    Label5->installEventFilter(this);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(78, 349, 129, 27);
    OKButton->setDefault(true);
    OKButton->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    btWeb = new QPushButton(QStringLiteral("Tembrel Home Page"), this);
    btWeb->setGeometry(226, 349, 149, 27);
    btWeb->setToolTip(QStringLiteral("Launch your browser to Tembrel Home Page"));
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(btWeb, &QPushButton::clicked, this, [this] { btWebClick(btWeb); });
    OKButton->setFocus();
}

QLabel *TfrmAbout::addLine(const QString &text, int top, const QColor &colour)
{
    auto *label = new QLabel(text, Panel1);
    label->setFont(textFont());
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    label->setForegroundRole(QPalette::WindowText);
    label->setGeometry(10, top, 387, 16);
    return label;
}

void TfrmAbout::btWebClick(QObject *sender)
{
    if (!platform::openUrl(makerHomePage()))
        errorBox(QStringLiteral("Couldn't open web browser for home page."));
    if (sender == btWeb)
        accept();
}

bool TfrmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label5 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        btWebClick(Label5);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
