#include "PageScreen.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPalette>

TPageScreen::TPageScreen(TMainHost &host, QWidget *parent, const QString &objectName)
    : QWidget(parent)
    , m_host(host)
{
    setObjectName(objectName);
    setFixedSize(720, 430);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void TPageScreen::ShowCreateError(QWidget *parent)
{
    QMessageBox::warning(parent, QString(),
                         QStringLiteral("エラーが発生しました\nソフトを再起動するか再度インストールして下さい"));
}

void TPageScreen::ShowUnreadable(const QString &problem)
{
    QMessageBox::critical(this, QString(), problem);
}

bool TPageScreen::RunKey(QKeyEvent *event)
{
    return isVisible() && m_keys.Run(event);
}

void TPageScreen::LetGoOfKeyboard()
{
    // The window's focus child, so that it is known while a box has the keyboard.
    QWidget *control = window()->focusWidget();
    m_keyboardControl = control && isAncestorOf(control) ? control : nullptr;
}

void TPageScreen::TakeKeyboard()
{
    QWidget *control = m_keyboardControl;
    if (control && control->isVisibleTo(this) && control->isEnabled() && control->focusPolicy() != Qt::NoFocus)
        control->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

void TPageScreen::keyPressEvent(QKeyEvent *event)
{
    if (!RunKey(event))
        QWidget::keyPressEvent(event);
}

void TPageScreen::MakePaletteChip(TImage *chip, TDragController *drag, std::function<QPixmap()> picture)
{
    connect(chip, &TImage::MouseDown, this, [this](Qt::MouseButton button, QPoint at) { m_chipPress.Press(button, at); });
    connect(chip, &TImage::MouseMove, this, [this, chip, drag, picture = std::move(picture)](Qt::MouseButtons, QPoint at) {
        if (m_chipPress.MovedPastThreshold(at))
            DragChip(chip, drag, picture);
    });
    connect(chip, &TImage::MouseUp, this, [this](Qt::MouseButton, QPoint) { m_chipPress.Release(); });
    chip->SetRole(QAccessible::ListItem);
    chip->SetPicksUp(true);
    connect(chip, &TImage::PickUp, drag, [drag, chip] { drag->PickUp(chip); });
}

void TPageScreen::DragChip(TImage *chip, TDragController *drag, const std::function<QPixmap()> &picture)
{
    try {
        drag->RunDrag(chip, picture ? picture() : chip->pixmap(), m_chipPress.Point());
    } catch (const TDragAssertion &) {
        // A drag already under way keeps going; this press starts nothing.
    } catch (const std::exception &) {
        ShowCreateError(this);
    }
}
