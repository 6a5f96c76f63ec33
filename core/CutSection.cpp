#include "core/CutSection.h"

bool CutSection::isSet() const
{
    if (m_startMs <= 0 && m_endMs <= 0)
        return false;
    return m_endMs <= 0 || m_endMs > m_startMs;
}
