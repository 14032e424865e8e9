#include "controls/DialogLook.h"

#include "controls/StyledLabel.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QScreen>

QFont pixelFont(const QString &family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

StyledLabel *makeTitleLabel(const QString &text, const QRect &place, QWidget *parent)
{
    auto *label = new StyledLabel(text, parent);
    label->setGeometry(place);
    label->setFont(pixelFont(QStringLiteral("Times New Roman"), 23));
    label->setTextColor(QColor(0, 0, 255));
    label->setShadow(QColor(128, 128, 0), 4);
    return label;
}

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

QLabel *wrappedLabel(const QString &text, const QRect &place, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(place);
    return label;
}

void setDialogFrame(QDialog &dialog, const QSize &client)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(client);
    if (const QScreen *screen = dialog.screen()) {
        const QRect area = screen->availableGeometry();
        dialog.move(area.center() - QPoint(client.width() / 2, client.height() / 2));
    }
}

void useWindowFont(QMenu &menu)
{
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu] {
        if (const QWidget *owner = menu.parentWidget())
            menu.setFont(owner->window()->font());
    });
}
