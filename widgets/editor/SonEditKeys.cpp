#include "SonEditKeys.h"

#include <algorithm>
#include <array>

namespace SonEditKeys {
namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier | Qt::MetaModifier;

// A key runs its command when the `needed` modifiers are held and none of the
// `refused` ones; other modifiers do not matter (Shift on a move extends the
// selection). The first row that fits wins, so rows with more modifiers come
// before the plain key.
struct Binding {
    int key;
    Qt::KeyboardModifiers needed;
    Qt::KeyboardModifiers refused;
    TSonEditCommand command;
};

using C = TSonEditCommand;
const std::array kBindings{
    Binding{Qt::Key_Home, kCtrl, kNone, C::MoveTextStart},
    Binding{Qt::Key_Home, kNone, kNone, C::MoveRowStart},
    Binding{Qt::Key_End, kCtrl, kNone, C::MoveTextEnd},
    Binding{Qt::Key_End, kNone, kNone, C::MoveRowEnd},
    Binding{Qt::Key_Left, kCtrl, kNone, C::MoveWordLeft},
    Binding{Qt::Key_Left, kNone, kNone, C::MoveLeft},
    Binding{Qt::Key_Right, kCtrl, kNone, C::MoveWordRight},
    Binding{Qt::Key_Right, kNone, kNone, C::MoveRight},
    Binding{Qt::Key_Up, kNone, kNone, C::MoveUp},
    Binding{Qt::Key_Down, kNone, kNone, C::MoveDown},
    Binding{Qt::Key_PageUp, kNone, kNone, C::PageUp},
    Binding{Qt::Key_PageDown, kNone, kNone, C::PageDown},
    Binding{Qt::Key_Comma, kCtrl, kNone, C::MoveRowStart},
    Binding{Qt::Key_Period, kCtrl, kNone, C::MoveRowEnd},
    Binding{Qt::Key_Backspace, kCtrl, kNone, C::DeleteWordBefore},
    Binding{Qt::Key_Backspace, kNone, kNone, C::DeleteBefore},
    Binding{Qt::Key_Delete, kShift, kNone, C::Cut},
    Binding{Qt::Key_Delete, kCtrl, kNone, C::DeleteWordAfter},
    Binding{Qt::Key_Delete, kNone, kNone, C::DeleteAfter},
    Binding{Qt::Key_Insert, kCtrl, kNone, C::Copy},
    Binding{Qt::Key_Insert, kShift, kNone, C::Paste},
    Binding{Qt::Key_Insert, kNone, kNone, C::ToggleOverwrite},
    Binding{Qt::Key_Return, kNone, kNone, C::NewLine},
    Binding{Qt::Key_Enter, kNone, kNone, C::NewLine},
    Binding{Qt::Key_Tab, kNone, kNone, C::InsertTab},
    Binding{Qt::Key_C, kCtrl, kAlt, C::Copy},
    Binding{Qt::Key_V, kCtrl, kAlt, C::Paste},
    Binding{Qt::Key_X, kCtrl, kAlt, C::Cut},
    Binding{Qt::Key_A, kCtrl, kAlt, C::SelectAll},
    // Both of the usual redo keys; Shift turns undo round.
    Binding{Qt::Key_Z, kCtrl | kShift, kAlt, C::Redo},
    Binding{Qt::Key_Z, kCtrl, kAlt, C::Undo},
    Binding{Qt::Key_Y, kCtrl, kAlt, C::Redo},
};

} // namespace

bool Typable(const QString &text)
{
    if (text.isEmpty())
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint() || c.isSurrogate(); });
}

std::optional<TSonEditCommand> CommandFor(int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    for (const Binding &binding : kBindings) {
        if (binding.key == key && (modifiers & binding.needed) == binding.needed && !(modifiers & binding.refused))
            return binding.command;
    }
    if (!(modifiers & (kCtrl | kAlt)) && Typable(text))
        return TSonEditCommand::TypeText;
    return std::nullopt;
}

} // namespace SonEditKeys
