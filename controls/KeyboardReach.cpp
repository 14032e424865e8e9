#include "controls/KeyboardReach.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

namespace {

// A scroll bar's arrow keys step the way they point: Qt's scroll bars run them backwards on a
// horizontal bar, which reads as natural for wheels but not for keys.
class ArrowKeys : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *bar = qobject_cast<QScrollBar *>(watched);
        if (!bar || event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        const bool backwards = bar->isRightToLeft() && bar->orientation() == Qt::Horizontal;
        switch (key->key()) {
        case Qt::Key_Right:
        case Qt::Key_Down:
            bar->triggerAction(backwards ? QAbstractSlider::SliderSingleStepSub
                                         : QAbstractSlider::SliderSingleStepAdd);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Up:
            bar->triggerAction(backwards ? QAbstractSlider::SliderSingleStepAdd
                                         : QAbstractSlider::SliderSingleStepSub);
            return true;
        default:
            return false;
        }
    }
};

} // namespace

void makeOneTabStop(const QList<QAbstractButton *> &buttons)
{
    auto follow = [buttons] {
        const bool anyChecked =
            std::any_of(buttons.begin(), buttons.end(),
                        [](const QAbstractButton *b) { return b->isChecked(); });
        for (QAbstractButton *button : buttons) {
            const bool stop = anyChecked ? button->isChecked() : button == buttons.first();
            button->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
        }
    };
    for (QAbstractButton *button : buttons)
        QObject::connect(button, &QAbstractButton::toggled, button, follow);
    follow();
}

void makeKeyboardScrollBar(QScrollBar *bar)
{
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->installEventFilter(new ArrowKeys(bar));
}
