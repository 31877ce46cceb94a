#include "app/KeyboardCommands.h"

#include <array>
#include <utility>

namespace {

// Checked in this order; the first matching row wins.
constexpr std::array<std::pair<int, MainCommand>, 11> kCtrlShortcuts{{
    {Qt::Key_O, MainCommand::OpenFile},
    {Qt::Key_R, MainCommand::RemoveFile},
    {Qt::Key_L, MainCommand::ClearFile},
    {Qt::Key_I, MainCommand::Options},
    {Qt::Key_P, MainCommand::Play},
    {Qt::Key_U, MainCommand::Pause},
    {Qt::Key_T, MainCommand::Stop},
    {Qt::Key_S, MainCommand::Convert},
    {Qt::Key_N, MainCommand::Convert},
    {Qt::Key_B, MainCommand::SelectOutputFolder},
    {Qt::Key_Z, MainCommand::Undo},
}};

// The keypad flag says where the key sits, not what the user holds.
Qt::KeyboardModifiers held(Qt::KeyboardModifiers modifiers) { return modifiers & ~Qt::KeypadModifier; }

bool onlyCtrl(Qt::KeyboardModifiers modifiers) { return held(modifiers) == Qt::ControlModifier; }

} // namespace

MainCommand commandForKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_F1)
        return MainCommand::Help;
    if (key == Qt::Key_Escape && held(modifiers) == Qt::NoModifier)
        return MainCommand::StopAdding;
    if (key == Qt::Key_Z && held(modifiers) == (Qt::ControlModifier | Qt::ShiftModifier))
        return MainCommand::Redo;
    if (!onlyCtrl(modifiers))
        return MainCommand::None;
    for (const auto &[shortcutKey, command] : kCtrlShortcuts)
        if (shortcutKey == key)
            return command;
    return MainCommand::None;
}
