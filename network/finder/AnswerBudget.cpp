#include "AnswerBudget.h"

bool TAnswerBudget::Take(quint32 address, qint64 nowMs)
{
    if (!m_started || nowMs < m_windowStart || nowMs - m_windowStart >= WindowMs) {
        m_started = true;
        m_windowStart = nowMs;
        m_inAll = 0;
        m_perAddress.clear();
    }
    int &toAddress = m_perAddress[address];
    if (m_inAll >= InAll || toAddress >= PerAddress)
        return false;
    ++m_inAll;
    ++toAddress;
    return true;
}
