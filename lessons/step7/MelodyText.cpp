#include "MelodyText.h"

#include "NoteLetters.h"

#include <algorithm>

bool TMelodyText::Insert(QChar letter)
{
    if (IsFull() || !NoteLetters::IsNoteLetter(letter))
        return false;
    m_text.chop(1);
    m_text.insert(m_cursor, letter);
    ++m_cursor;
    ++m_count;
    return true;
}

bool TMelodyText::DeleteBeforeCursor()
{
    if (m_cursor <= 0)
        return false;
    m_text.remove(m_cursor - 1, 1);
    m_text.append(NoteLetters::Empty);
    --m_cursor;
    --m_count;
    return true;
}

void TMelodyText::MoveCursor(int position)
{
    m_cursor = std::clamp(position, 0, m_count);
}

void TMelodyText::Clear()
{
    m_text = QString(Capacity, NoteLetters::Empty);
    m_count = 0;
    m_cursor = 0;
}

bool TMelodyText::Load(const QString &text)
{
    QString notes;
    for (const QChar c : text) {
        if (c == NoteLetters::Empty || notes.size() == Capacity)
            break;
        if (NoteLetters::IsNoteLetter(c))
            notes.append(c);
    }
    m_count = static_cast<int>(notes.size());
    m_cursor = m_count;
    m_text = notes + QString(Capacity - m_count, NoteLetters::Empty);
    return m_text != text;
}

QList<int> TMelodyText::NoteCodes() const
{
    QList<int> codes;
    for (const QChar c : m_text) {
        if (c == NoteLetters::Empty)
            break;
        if (const auto code = NoteLetters::CodeOf(c))
            codes.append(*code);
    }
    return codes;
}
