#pragma once

#include <QString>
#include <QWidget>

// Says a short text to a screen reader without moving the keyboard: the text
// goes out as a notification object that appears, which the reader speaks
// and keeps in its list of notifications. Nothing is drawn: the pupil who
// sees the screen reads the same text where it is shown (the hint area, the
// progress window).
//
// Usage: auto *say = new TAnnouncement(window); ... say->Say(QStringLiteral("転送中です"));
class TAnnouncement : public QWidget {
    Q_OBJECT
public:
    explicit TAnnouncement(QWidget *parent);

    // Says `text`; an empty text says nothing. The same text said again is said again.
    void Say(const QString &text);
    // What was said last (tests).
    QString LastSaid() const { return m_text; }

private:
    QString m_text;
};
