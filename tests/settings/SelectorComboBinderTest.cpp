#include "settings/widgets/SelectorComboBinder.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(SelectorComboBinder, CodeSelectionUpdatesTheViewWithoutRunningTheHandler)
{
    OptionSelectionModel model;
    model.setEntries(Selector::AudioSample, {"22050", "32000", "44100"});
    model.setSelectedIndex(Selector::AudioSample, 2);
    QComboBox combo;
    int handlerRuns = 0;
    new SelectorComboBinder(&combo, &model, Selector::AudioSample, [&] { ++handlerRuns; });
    EXPECT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.currentText(), "44100");

    model.setSelectedIndex(Selector::AudioSample, 0);
    EXPECT_EQ(combo.currentText(), "22050");
    model.appendEntries(Selector::AudioSample, {"48000"});
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(handlerRuns, 0);
}

TEST(SelectorComboBinder, TheUsersPickUpdatesTheModelBeforeTheHandlerRuns)
{
    OptionSelectionModel model;
    model.setEntries(Selector::OutputType, {"A", "B", "C"});
    model.setSelectedIndex(Selector::OutputType, 0);
    QComboBox combo;
    QList<int> seenByHandler;
    new SelectorComboBinder(&combo, &model, Selector::OutputType,
                            [&] { seenByHandler << model.selectedIndex(Selector::OutputType); });
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(seenByHandler, QList<int>({1}));
    EXPECT_EQ(combo.currentText(), "B");
}

TEST(SelectorComboBinder, EnabledStateFollowsTheModel)
{
    OptionSelectionModel model;
    QPushButton button;
    bindEnabledState(&button, &model, SelectorControl::OptionsButton);
    EXPECT_TRUE(button.isEnabled());
    model.setEnabled(SelectorControl::OptionsButton, false);
    EXPECT_FALSE(button.isEnabled());
    model.setEnabled(SelectorControl::ProfileSelector, true);
    EXPECT_FALSE(button.isEnabled());
}
