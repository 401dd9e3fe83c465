#include "DisabledWhileOpen.h"

DisabledWhileOpen::DisabledWhileOpen(QWidget* owner, QWidget* secondary) : m_owner(owner)
{
    if (m_owner)
        m_owner->setEnabled(false);
    secondary->setEnabled(true);
}

DisabledWhileOpen::~DisabledWhileOpen()
{
    release();
}

void DisabledWhileOpen::release()
{
    if (m_released)
        return;
    m_released = true;
    if (m_owner)
        m_owner->setEnabled(true);
}
