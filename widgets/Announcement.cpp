#include "Announcement.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

// A screen reader speaks an object of role Notification when it appears.
class TAnnouncementAccessible : public QAccessibleWidget {
public:
    explicit TAnnouncementAccessible(TAnnouncement *announcement)
        : QAccessibleWidget(announcement, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<const TAnnouncement *>(widget())->LastSaid();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *MakeAnnouncementAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("TAnnouncement"))
        return new TAnnouncementAccessible(static_cast<TAnnouncement *>(object));
    return nullptr;
}

} // namespace

TAnnouncement::TAnnouncement(QWidget *parent)
    : QWidget(parent)
{
    // Qt keeps a factory once however often it is installed.
    QAccessible::installFactory(&MakeAnnouncementAccessible);
    setObjectName(QStringLiteral("Announcement"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // One pixel in the corner: an object of no size is not "showing" to the
    // reader, and this one draws nothing.
    setGeometry(0, 0, 1, 1);
    hide();
}

void TAnnouncement::Say(const QString &text)
{
    if (text.isEmpty())
        return;
    // The reader speaks the object as it appears, so it goes and comes back.
    hide();
    m_text = text;
    show();
    lower();
}
