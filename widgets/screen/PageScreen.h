#pragma once

#include "DragController.h"
#include "PictureTable.h"
#include "ScreenKeys.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <cstddef>
#include <functional>

class TMainHost;

// A screen of the main window's page host (720 x 430). The host calls FormShow
// every time the screen's page becomes the visible one.
//
// What every screen does alike lives here: its picture controls made from a
// table of rows (name, picture, place, hint, click handler, look) and their
// pictures loaded under one rule; its function keys, which act only while it
// is the visible page (TScreenKeys); its palette chips, the pictures a pupil
// drags onto the screen; and the box for a program record that does not read.
class TPageScreen : public QWidget {
    Q_OBJECT
public:
    TPageScreen(TMainHost &host, QWidget *parent, const QString &objectName);

    virtual void FormShow() {}

    // A lesson whose program is kept while the program runs: the name of its
    // record ("STEP3"), the record's lines as its save button writes them,
    // and taking such lines back as its read button does. Empty for others.
    virtual QString KeptLessonName() const { return {}; }
    virtual QStringList KeptRecordLines() const { return {}; }
    virtual void RestoreKeptRecord(const QStringList &) {}

    // The warning box shown when a screen could not be set up completely.
    static void ShowCreateError(QWidget *parent);

    // Runs the screen's own function key `event` when it is shown (the main
    // window hands it the keys that reach the window itself).
    bool RunKey(QKeyEvent *event);

    // The page host's part of a page change. A control keeps the keyboard
    // when its page is hidden unless another takes it, and then every key and
    // typed character goes to a page nobody sees. So the page left remembers
    // which of its controls had the keyboard, and the page shown takes it:
    // back into the control that had it there, or else onto the page itself.
    void LetGoOfKeyboard();
    void TakeKeyboard();

Q_SIGNALS:
    // What KeptRecordLines gives may have changed.
    void KeptRecordChanged();

protected:
    TMainHost &Host() { return m_host; }

    // Makes the picture controls of `rows` on `parent` (the screen itself
    // when null); their pictures go through Pictures().
    template <class Screen, std::size_t N>
    void AddPictures(const TPictureRow<Screen> (&rows)[N], QWidget *parent = nullptr)
    {
        MakePictures(static_cast<Screen &>(*this), parent ? parent : this, rows, m_pictures);
    }
    // Every picture the screen loads goes through here ...
    TPictureLoader &Pictures() { return m_pictures; }
    // ... and the teacher hears once when some were missing.
    void ReportMissingPictures() { m_pictures.ReportMissing(this); }

    // `key` runs `action` whichever control of the window has the focus
    // (unless that control takes the key itself), but only while this screen
    // is the visible page.
    template <class Screen>
    void BindKey(Qt::Key key, void (Screen::*action)())
    {
        m_keys.Bind(key, [this, action] { (static_cast<Screen *>(this)->*action)(); });
    }
    // The same, but only while `control` is the one the window's keys go to.
    template <class Screen>
    void BindKey(Qt::Key key, void (Screen::*action)(), const QWidget *control)
    {
        m_keys.Bind(key, [this, action] { (static_cast<Screen *>(this)->*action)(); },
                    [control] { return control->window()->focusWidget() == control; });
    }
    void keyPressEvent(QKeyEvent *event) override;

    // The record a record reader's `read` holds, or nothing after the box
    // that tells the pupil why it could not be read (the read button's and
    // the kept work's rule).
    template <class Read>
    auto RecordOrComplaint(const Read &read) -> decltype(read.record)
    {
        if (!read.record)
            ShowUnreadable(read.problem);
        return read.record;
    }

    // Makes `chip` a palette chip of `drag`: pressed and moved past the drag
    // threshold, it is dragged with `picture()` under the pointer, or with its
    // own picture when no `picture` is given. Space or Enter on it picks it
    // up for placing by keys.
    void MakePaletteChip(TImage *chip, TDragController *drag, std::function<QPixmap()> picture = {});

private:
    void ShowUnreadable(const QString &problem);
    void DragChip(TImage *chip, TDragController *drag, const std::function<QPixmap()> &picture);

    TMainHost &m_host;
    TPictureLoader m_pictures;
    TScreenKeys m_keys;
    QPointer<QWidget> m_keyboardControl;
    // One press at a time: the chip pressed last, until its release or drag.
    TDragPress m_chipPress;
};
