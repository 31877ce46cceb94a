// The Options dialog with its handlers: what the user types or picks in the name box, the
// buttons, and a failure in a handler shown by the general error display.
#include "support/EscapedFailure.h"
#include "CustomProfilesFixture.h"
#include "settings/widgets/OptionForm.h"
#include "settings/widgets/OptionFormController.h"
#include "settings/widgets/SelectorComboBinder.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <utility>
#include <gtest/gtest.h>

namespace {

class OptionFormControllerTest : public CustomProfilesFixture {
protected:
    TfrmOption form;
    OptionFormController *controller = new OptionFormController(
        form, profiles, options,
        [this](const std::function<void()> &handler) { DeliverReportingFailures([&] { handler(); return true; }, boxes); });

    void showActive()
    {
        form.showModeless();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        combo()->setFocus();
    }
    QComboBox *combo() const { return form.cbbCustomProfile(); }
    qsizetype errors() const
    {
        return std::count_if(boxes.shown.begin(), boxes.shown.end(),
                             [](const ShownMessage &m) { return m.icon == MessageIcon::Error; });
    }
};

TEST_F(OptionFormControllerTest, TypingCompletesAndLoadsAMatchingName)
{
    writeInfo("\r\n[My AAC]\r\nMy AAC=1|1|2|5|0|0\r\n\r\n[Other]\r\nOther=0|0|0|0|0|0\r\n");
    showActive();
    EXPECT_EQ(combo()->count(), 2);
    EXPECT_EQ(combo()->currentText(), "");

    QTest::keyClicks(combo(), "zz");   // names no profile: nothing changes
    EXPECT_EQ(values(), StartValues);
    combo()->lineEdit()->clear();
    QTest::keyClicks(combo(), "my");   // completed to "my AAC", which names "My AAC"
    EXPECT_EQ(box.selectedName(), "My AAC");
    EXPECT_EQ(values(), "1|1|2|5|0|0");

    QTest::keyClick(combo(), Qt::Key_Down);   // picks the first name, already loaded
    QTest::keyClick(combo(), Qt::Key_Down);
    EXPECT_EQ(combo()->currentText(), "Other");
    EXPECT_EQ(values(), "0|0|0|0|0|0");
}

TEST_F(OptionFormControllerTest, APickLoadsOnceAndSelectingFromCodeLoadsNothing)
{
    writeInfo("\r\n[Good]\r\nGood=0|0|0|0|0|0\r\n\r\n[Bad]\r\nBad=4|x|0|0|0|0\r\n");
    showActive();
    QTest::keyClick(combo(), Qt::Key_Down);
    QTest::keyClick(combo(), Qt::Key_Down);   // "Bad": its text changes, then it is activated
    EXPECT_EQ(combo()->currentText(), "Bad");
    EXPECT_EQ(errors(), 1);
    EXPECT_TRUE(boxes.shown.last().text.contains("\"x\" is not a valid integer value"));
    EXPECT_EQ(values(), "4|0|0|0|0|0");   // set up to the bad piece

    QTest::keyClick(combo(), Qt::Key_Up);
    EXPECT_EQ(values(), "0|0|0|0|0|0");
    options.setSelectedIndex(Selector::AudioBitrate, 8);
    Q_EMIT combo()->activated(0);   // picking the shown name again loads it again
    EXPECT_EQ(values(), "0|0|0|0|0|0");

    options.setSelectedIndex(Selector::AudioBitrate, 8);
    box.select(1);
    EXPECT_EQ(combo()->currentText(), "Bad");
    EXPECT_EQ(options.selectedIndex(Selector::AudioBitrate), 8);
    EXPECT_EQ(errors(), 1);
}

// The options a profile holds, changed by the user in the dialog, leave the profile: OK names
// the values ("Custom settings"), not the profile. The volume is no part of a profile.
TEST_F(OptionFormControllerTest, ChangingAProfilesOptionLeavesTheProfile)
{
    writeInfo("\r\n[Alpha]\r\nAlpha=1|1|2|3|1|2\r\n");
    for (const auto [option, selector] : {std::pair{form.cbbAudioBitrate(), Selector::AudioBitrate},
                                         std::pair{form.cbbAudioSample(), Selector::AudioSample},
                                         std::pair{form.cbbAudioChannels(), Selector::AudioChannels},
                                         std::pair{form.cbbAudioVolumeGain(), Selector::VolumeGain}}) {
        SCOPED_TRACE(option->objectName().toStdString());
        new SelectorComboBinder(option, &options, selector);
        showActive();
        combo()->setCurrentIndex(-1);
        QTest::keyClick(combo(), Qt::Key_Down);
        ASSERT_EQ(profiles.profileInForce(), "Alpha");
        option->setFocus();
        const int before = options.selectedIndex(selector);
        QTest::keyClick(option, before > 0 ? Qt::Key_Up : Qt::Key_Down);
        ASSERT_NE(options.selectedIndex(selector), before);
        form.btnApply()->click();
        const bool leaves = selector != Selector::VolumeGain;
        EXPECT_EQ(profiles.profileInForce(), leaves ? "" : "Alpha");
        EXPECT_EQ(options.selectedText(Selector::Quality), leaves ? "Custom settings" : "Alpha");
    }
}

TEST_F(OptionFormControllerTest, ButtonsRunTheHandlersAndAFailureIsShown)
{
    showActive();
    boxes.textAnswers.push_back(QStringLiteral("Loud"));
    form.btnAdd()->click();
    EXPECT_EQ(combo()->currentText(), "Loud");
    EXPECT_EQ(profiles.store().value("Loud"), StartValues);

    form.btnDel()->click();
    EXPECT_EQ(combo()->count(), 0);
    EXPECT_EQ(combo()->currentText(), "");

    // The Config folder becomes a file: Add fails before its prompt, the dialog stays usable.
    ASSERT_TRUE(QDir(folder + "Config").removeRecursively());
    QFile blocker(folder + "Config");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const qsizetype prompts = boxes.proposedTexts.size();
    form.btnAdd()->click();
    EXPECT_EQ(boxes.proposedTexts.size(), prompts);
    ASSERT_EQ(errors(), 1);
    EXPECT_TRUE(boxes.shown.last().text.startsWith("Cannot write the settings file"));

    // OK fills the main window's profile selector again: "Normal Quality" is chosen, whatever was.
    options.setSelectedIndex(Selector::Quality, 4);
    ASSERT_EQ(options.selectedText(Selector::Quality), "Superb Quality");
    form.btnApply()->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(options.selectedText(Selector::Quality), "Normal Quality");
}

} // namespace
