#include "app/KeyboardCommands.h"

#include <gtest/gtest.h>

namespace {

struct KeyRow {
    int key;
    Qt::KeyboardModifiers modifiers;
    MainCommand expected;
};

const Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;

class KeyboardTable : public ::testing::TestWithParam<KeyRow> {};

TEST_P(KeyboardTable, KeyGivesCommand)
{
    const KeyRow row = GetParam();
    EXPECT_EQ(commandForKey(row.key, row.modifiers), row.expected)
        << "key " << std::hex << row.key << " modifiers " << int(row.modifiers);
}

INSTANTIATE_TEST_SUITE_P(
    Shortcuts, KeyboardTable,
    ::testing::Values(
        KeyRow{Qt::Key_O, Ctrl, MainCommand::OpenFile},
        KeyRow{Qt::Key_R, Ctrl, MainCommand::RemoveFile},
        KeyRow{Qt::Key_L, Ctrl, MainCommand::ClearFile},
        KeyRow{Qt::Key_I, Ctrl, MainCommand::Options},
        KeyRow{Qt::Key_P, Ctrl, MainCommand::Play},
        KeyRow{Qt::Key_U, Ctrl, MainCommand::Pause},
        KeyRow{Qt::Key_T, Ctrl, MainCommand::Stop},
        KeyRow{Qt::Key_S, Ctrl, MainCommand::Convert},
        KeyRow{Qt::Key_N, Ctrl, MainCommand::Convert},
        KeyRow{Qt::Key_B, Ctrl, MainCommand::SelectOutputFolder},
        // F1 with any modifiers or none
        KeyRow{Qt::Key_F1, Qt::NoModifier, MainCommand::Help},
        KeyRow{Qt::Key_F1, Ctrl, MainCommand::Help},
        KeyRow{Qt::Key_F1, Qt::ShiftModifier | Qt::AltModifier, MainCommand::Help}));

INSTANTIATE_TEST_SUITE_P(
    Refused, KeyboardTable,
    ::testing::Values(
        // Ctrl must be held alone
        KeyRow{Qt::Key_O, Ctrl | Qt::ShiftModifier, MainCommand::None},
        KeyRow{Qt::Key_O, Ctrl | Qt::AltModifier, MainCommand::None},
        KeyRow{Qt::Key_S, Ctrl | Qt::MetaModifier, MainCommand::None},
        KeyRow{Qt::Key_O, Qt::NoModifier, MainCommand::None},
        KeyRow{Qt::Key_O, Qt::ShiftModifier, MainCommand::None},
        // keys outside the table
        KeyRow{Qt::Key_X, Ctrl, MainCommand::None},
        KeyRow{Qt::Key_F2, Qt::NoModifier, MainCommand::None}));

TEST(KeyboardTable, KeypadPositionIsNotAModifier)
{
    EXPECT_EQ(commandForKey(Qt::Key_O, Qt::ControlModifier | Qt::KeypadModifier), MainCommand::OpenFile);
}

} // namespace
