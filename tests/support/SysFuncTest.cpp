// Finding a running process by its executable's name; handing freed memory back.
#include "support/SysFunc.h"
#include "support/WorkingSet.h"
#include "engine/ChildProcess.h"
#include "common/TestChild.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void endChild(TSpawnedChild &child)
{
    ::kill(child.pid, SIGKILL);
    ::waitpid(child.pid, nullptr, 0);
}

// Resident memory of this process in KiB.
long residentKib()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
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

// Memory freed in the middle of the heap (blocks still in use between the freed runs keep the
// heap from shrinking by itself) leaves the process's resident set.
TEST(TrimWorkingSet, GivesFreedHeapMemoryBackToTheSystem)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's allocator keeps freed memory to itself";
#endif
    constexpr size_t Blocks = 32 * 1024, BlockSize = 2048, KeepEvery = 32; // 64 MiB the heap serves
    std::vector<char *> blocks(Blocks);
    for (char *&block : blocks) {
        block = static_cast<char *>(std::malloc(BlockSize));
        std::memset(block, 1, BlockSize);
    }
    long sum = 0;   // reading the blocks keeps the compiler from leaving them out
    for (size_t i = 0; i < Blocks; ++i) {
        sum += blocks[i][BlockSize - 1];
        if (i % KeepEvery != KeepEvery - 1)
            std::free(blocks[i]);
    }
    ASSERT_EQ(sum, long(Blocks));
    const long before = residentKib();
    TrimWorkingSet();
    const long after = residentKib();
    for (size_t i = KeepEvery - 1; i < Blocks; i += KeepEvery)
        std::free(blocks[i]);
    ASSERT_GT(before, 60 * 1024) << "the freed blocks should still be resident";
    EXPECT_LT(after, before - 32 * 1024) << "resident before " << before << " KiB, after " << after << " KiB";
}
