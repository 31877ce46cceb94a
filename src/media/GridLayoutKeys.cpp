#include "media/GridLayoutKeys.h"

namespace {

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return true;
    default:
        return false;
    }
}

} // namespace

bool GridLayoutKeys::pressLaysOut(int key, Qt::KeyboardModifiers modifiers)
{
    if (isModifierKey(key))
        return false;
    if (m_isCommand && m_isCommand(key, modifiers)) {
        if (!m_commandKeysDown.contains(key))
            m_commandKeysDown << key;
        return false;
    }
    m_commandKeysDown.removeAll(key); // its release as a command went elsewhere
    return true;
}

bool GridLayoutKeys::releaseLaysOut(int key)
{
    if (isModifierKey(key))
        return false;
    return m_commandKeysDown.removeAll(key) == 0;
}
