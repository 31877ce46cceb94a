// Finding a running process by its executable's name.
#include "support/SysFunc.h"
#include "engine/ChildProcess.h"
#include "common/TestChild.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void endChild(TSpawnedChild &child)
{
    ::kill(child.pid, SIGKILL);
    ::waitpid(child.pid, nullptr, 0);
}

} // namespace

TEST(SysFunc, FindsTheLastListedProcessOfANameWithoutRegardToCase)
{
    QTemporaryDir folder;
    // A name no other program on the machine carries, longer than the kernel's short name.
    const QString name = QStringLiteral("KTestEvcName%1").arg(::getpid());
    const QString program = copyTestChild(folder.path(), name);
    EXPECT_EQ(TSysFunc::FindProcessId(name.toLower()), 0);

    QString error;
    auto first = SpawnChild(program, {QStringLiteral("block")}, error);
    auto second = SpawnChild(program, {QStringLiteral("block")}, error);
    ASSERT_TRUE(first && second) << error.toStdString();
    EXPECT_EQ(TSysFunc::FindProcessId(name.toLower()), std::max(first->pid, second->pid));
    EXPECT_EQ(TSysFunc::FindProcessId(name.toUpper()), std::max(first->pid, second->pid));

    endChild(*second);
    EXPECT_EQ(TSysFunc::FindProcessId(name), first->pid);
    endChild(*first);
    EXPECT_EQ(TSysFunc::FindProcessId(name), 0);
    EXPECT_EQ(TSysFunc::FindProcessId(QString()), 0);
}
