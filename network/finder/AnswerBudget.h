#pragma once

#include <QHash>
#include <QtGlobal>

// How many finder answers a station may send. A question's sender address
// can be forged, and an answer is larger than a question, so without a bound
// every station of a class could be made to answer a third computer again and
// again. A real search asks three times within a second.
class TAnswerBudget {
public:
    static constexpr int PerAddress = 6;
    static constexpr int InAll = 128;
    static constexpr qint64 WindowMs = 1000;

    // True, and counted, when one more answer to `address` fits the second
    // that `nowMs` falls in; false when the answer is to be left unsent.
    bool Take(quint32 address, qint64 nowMs);

private:
    qint64 m_windowStart = 0;
    bool m_started = false;
    int m_inAll = 0;
    QHash<quint32, int> m_perAddress;
};
