#include "VirtualKeys.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <limits>

namespace {

constexpr short kKeyDown = std::numeric_limits<short>::min();

struct KeyPair
{
    int qtKey;
    UINT virtualKey;
};

constexpr KeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},       {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},    {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},  {Qt::Key_Alt, VK_MENU},      {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},     {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Menu, VK_APPS},
};

bool IsModifierDown(Qt::KeyboardModifier modifier)
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(modifier);
}

bool IsButtonDown(Qt::MouseButton button)
{
    return QGuiApplication::mouseButtons().testFlag(button);
}

} // namespace

UINT VirtualKeyFromQtKey(int qtKey)
{
    for (const KeyPair& pair : kNamedKeys) {
        if (pair.qtKey == qtKey)
            return pair.virtualKey;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return UINT(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + UINT(qtKey - Qt::Key_F1);
    return 0;
}

UINT VirtualKeyFromEvent(const QKeyEvent* event)
{
    return VirtualKeyFromQtKey(event->key());
}

QString TypedCharacters(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return control ? QString() : QString(QChar(u'\t'));
    case Qt::Key_Return:
    case Qt::Key_Enter: return QString(QChar(control ? u'\n' : u'\r'));
    case Qt::Key_Escape: return QString(QChar(0x1B));
    case Qt::Key_Backspace: return control ? QString() : QString(QChar(u'\b'));
    default: break;
    }
    if (control || modifiers.testFlag(Qt::AltModifier))
        return QString();
    QString text = event->text();
    // Qt puts control characters into the text of some keys (Delete gives 0x7F);
    // a window receives those as keys, not as characters.
    text.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
    return text;
}

short GetKeyState(int virtualKey)
{
    bool down = false;
    switch (UINT(virtualKey)) {
    case VK_SHIFT: down = IsModifierDown(Qt::ShiftModifier); break;
    case VK_CONTROL: down = IsModifierDown(Qt::ControlModifier); break;
    case VK_MENU: down = IsModifierDown(Qt::AltModifier); break;
    case VK_LBUTTON: down = IsButtonDown(Qt::LeftButton); break;
    case VK_RBUTTON: down = IsButtonDown(Qt::RightButton); break;
    case VK_MBUTTON: down = IsButtonDown(Qt::MiddleButton); break;
    default: break;
    }
    return down ? kKeyDown : 0;
}

short GetAsyncKeyState(int virtualKey)
{
    return GetKeyState(virtualKey);
}

UINT MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons.testFlag(Qt::LeftButton))
        flags |= MK_LBUTTON;
    if (buttons.testFlag(Qt::RightButton))
        flags |= MK_RBUTTON;
    if (buttons.testFlag(Qt::MiddleButton))
        flags |= MK_MBUTTON;
    if (modifiers.testFlag(Qt::ShiftModifier))
        flags |= MK_SHIFT;
    if (modifiers.testFlag(Qt::ControlModifier))
        flags |= MK_CONTROL;
    return flags;
}
