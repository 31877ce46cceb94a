// Choosing the output folder: the browser's answer, the existence and the write check.
#include "settings/OutputFolderChoice.h"
#include "common/Fakes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class OutputFolderChoiceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeFolderBrowser browser;
    FakeMessageBoxes boxes;
    QString current = dir.filePath("current");

    QString choose(std::optional<QString> answer)
    {
        browser.answers.push_back(answer);
        return ChooseOutputFolder(current, browser, boxes);
    }
};

TEST_F(OutputFolderChoiceTest, AWritableFolderIsAcceptedAndTheProbeLeavesNoTrace)
{
    const QString chosen = dir.filePath("music");
    ASSERT_TRUE(QDir().mkpath(chosen + "/test"));   // a folder named test already there
    EXPECT_EQ(choose(chosen), chosen);
    EXPECT_EQ(browser.titles, QStringList{"Please select output folder:"});
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(QDir(chosen).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"test"});
}

TEST_F(OutputFolderChoiceTest, CancelKeepsTheCurrentFolderAndCreatesIt)
{
    EXPECT_EQ(choose(std::nullopt), current);
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_TRUE(QDir(current).exists());
}

TEST_F(OutputFolderChoiceTest, RefusedChoicesWarnAndKeepTheCurrentFolder)
{
    struct Case {
        QString chosen;
        QString warning;
    };
    const Case cases[] = {
        {dir.filePath("no such folder"), "The path is invalid."},
        {QString(), "The path is invalid."},
        {"/proc", "This is a read-only path."},   // refuses new folders, also to root
    };
    for (const Case &c : cases) {
        boxes.shown.clear();
        EXPECT_EQ(choose(c.chosen), current) << c.chosen.toStdString();
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_EQ(boxes.shown[0].text, c.warning);
        EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::Ok);
    }
    EXPECT_FALSE(QDir(dir.filePath("no such folder")).exists());
}

TEST(WriteProbe, NeedsAnExistingFolderThatTakesNewEntries)
{
    QTemporaryDir dir;
    EXPECT_TRUE(CanWriteInFolder(dir.path()));
    EXPECT_FALSE(CanWriteInFolder(dir.filePath("missing")));
    EXPECT_FALSE(CanWriteInFolder("/proc"));
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

} // namespace
