#pragma once

#include <QList>
#include <QString>

// The note text of a melody: exactly Capacity characters, the notes in
// playing order from the first position and "?" on every later one, with an
// insertion point (the number of notes before it).
class TMelodyText {
public:
    static constexpr int Capacity = 79;

    TMelodyText() { Clear(); }

    const QString &Text() const { return m_text; }
    int Count() const { return m_count; }
    int Cursor() const { return m_cursor; }
    bool IsFull() const { return m_count >= Capacity; }

    // Inserts a note letter at the cursor and moves the cursor after it; the
    // notes after the cursor move one position on. False when the melody is
    // full or `letter` is no note letter.
    bool Insert(QChar letter);
    // Removes the note just before the cursor. False when the cursor is at 0.
    bool DeleteBeforeCursor();
    // Puts the cursor at a staff position, never beyond the last note.
    void MoveCursor(int position);
    void Clear();

    // Takes a note text as stored in a file. Characters that are no note
    // letters are dropped, everything from the first "?" on is empty staff,
    // and the text is cut or padded to Capacity; the cursor goes after the
    // last note. Returns true when the text had to be repaired that way.
    bool Load(const QString &text);

    // The note codes in playing order.
    QList<int> NoteCodes() const;

private:
    QString m_text;
    int m_count = 0;
    int m_cursor = 0;
};
