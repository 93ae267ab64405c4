#pragma once

#include <QAbstractNativeEventFilter>
#include <QFile>
#include <QObject>
#include <memory>

// Lets a test driver wait until the program has taken every click and key it
// was sent, instead of guessing with a sleep. The driver changes the property
// LK72_SYNC on the main window after its input; the X server delivers that
// change after the input. Once the program has handled everything before it
// and waits for the pupil again (in its main event loop, no transfer or
// melody running, or in a dialog), it appends "idle N keys K" to the file
// named by LK72_INPUT_SYNC, N being the changes seen so far and K the key
// presses its windows have received, so the driver also learns whether a key
// it sent ever arrived. Off without that variable or off X11.
class TInputSync : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    static bool Wanted();
    explicit TInputSync(QObject *parent);
    ~TInputSync() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnAboutToBlock();

    QFile m_file;
    quint32 m_atom = 0;
    int m_seen = 0;
    int m_answered = 0;
    int m_quietPasses = 0;
    int m_keyPresses = 0;
};
