#pragma once

#include "Image.h"

#include <QRect>
#include <QString>
#include <cstddef>
#include <functional>

// How a picture control of a table row looks and meets the mouse; the
// values combine.
namespace PictureLook {
enum : unsigned {
    Plain = 0,
    Stretched = 1u << 0,   // the picture is drawn at the control's size
    Pressable = 1u << 1,   // shifts while the mouse button is held on it
    Hand = 1u << 2,        // the pointing hand over it
    OpenHand = 1u << 3,    // the open hand of a palette chip over it
    Hidden = 1u << 4,      // shown later by the screen
};
// A picture button of the lessons' button rows.
constexpr unsigned Button = Stretched | Pressable | Hand;
} // namespace PictureLook

// Loads the pictures of one window under one rule: every picture is tried,
// so a missing or broken file leaves the others shown, and the teacher is
// told once, after the last, that the installation is incomplete.
class TPictureLoader {
public:
    void Load(TImage *image, const QString &relativePath);
    // Other picture work (a drawn or masked picture) under the same rule.
    void Try(const std::function<void()> &work);
    // Something else the window needs (a font, its settings) failed as well:
    // told in the same box.
    void NoteFailure() { m_missing = true; }
    bool AnyMissing() const { return m_missing; }
    // The warning box over `parent` when a picture was missing since the last report.
    void ReportMissing(QWidget *parent);

private:
    bool m_missing = false;
};

// One picture control of a window, as a row of the window's control table.
template <class Owner>
struct TPictureRow {
    TImage *Owner::*member;   // where the window keeps it, or nullptr
    const char *name;         // its object name
    const char *picture;      // loaded when it is made; nullptr: the window sets it
    QRect at;
    const char *hint;         // "short|long" as TImage::SetHint takes it (the short part
                              // is the name a screen reader says), or nullptr
    void (Owner::*click)();   // or nullptr
    unsigned look;            // PictureLook values
};

// A picture control with its place, hint and look, still without picture.
TImage *MakePicture(QWidget *parent, const QString &name, QRect at, const char *hint, unsigned look);

// Makes the controls of `rows` on `parent`, in table order (later rows lie
// above earlier ones), loading their pictures through `pictures`.
template <class Owner, std::size_t N>
void MakePictures(Owner &owner, QWidget *parent, const TPictureRow<Owner> (&rows)[N], TPictureLoader &pictures)
{
    for (const TPictureRow<Owner> &row : rows) {
        TImage *image = MakePicture(parent, QString::fromLatin1(row.name), row.at, row.hint, row.look);
        if (row.picture)
            pictures.Load(image, QString::fromLatin1(row.picture));
        if (row.click) {
            image->SetRole(QAccessible::Button);
            QObject::connect(image, &TImage::Click, &owner, row.click);
        }
        if (row.member)
            owner.*row.member = image;
    }
}
