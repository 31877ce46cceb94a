#include "app/widgets/SelectorWindow.h"

#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

TEST(SelectorWindow, ShowsTheOutputTypeAndQualitySelectorsOverTheModel)
{
    SelectorWindow window;
    const QList<QComboBox *> combos = window.findChildren<QComboBox *>();
    ASSERT_EQ(combos.size(), 2);
    QComboBox *outputType = combos[0];
    QComboBox *quality = combos[1];
    EXPECT_EQ(outputType->count(), 7);
    EXPECT_EQ(outputType->currentText(), "AMR Audio Files (*.amr)");
    EXPECT_EQ(quality->currentText(), "Normal Quality");
    EXPECT_TRUE(quality->isEnabled());

    // The user picks OGG (the last but one type): the quality selector is disabled.
    outputType->setCurrentIndex(4);
    QTest::keyClick(outputType, Qt::Key_Down);
    EXPECT_EQ(outputType->currentText(), "OGG Audio Files (*.ogg)");
    EXPECT_FALSE(quality->isEnabled());
}
