// One window per settings folder: a second start hands its files to the first and ends.
#include "app/SingleInstance.h"
#include "common/EventuallyTrue.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>

namespace {

// A later start runs in a process of its own; here on a thread, so that the first one's event
// loop can answer it.
SingleInstance::Outcome startElsewhere(const QString &socket, std::function<SingleInstance::Outcome(SingleInstance &)> how)
{
    std::atomic<int> outcome{-1};
    std::unique_ptr<QThread> later(QThread::create([&] {
        SingleInstance instance(socket);
        outcome = static_cast<int>(how(instance));
    }));
    later->start();
    EXPECT_EVENTUALLY(later->isFinished());
    later->wait();
    return static_cast<SingleInstance::Outcome>(outcome.load());
}

} // namespace

TEST(SingleInstance, ASecondStartHandsItsFilesToTheFirst)
{
    QTemporaryDir dir;
    const QString socket = dir.filePath("kelvane-test");
    SingleInstance first(socket);
    ASSERT_EQ(first.handOverOrListen({"/v/mine.mp4"}), SingleInstance::Outcome::Listening) << first.problem().toStdString();
    QSignalSpy handed(&first, &SingleInstance::filesHandedOver);

    const QStringList files{"/v/a b.mp4", "/v/\"c\" ü.mkv"};
    EXPECT_EQ(startElsewhere(socket, [&](SingleInstance &s) { return s.handOverOrListen(files); }),
              SingleInstance::Outcome::HandedOver);
    ASSERT_EVENTUALLY(handed.count() == 1);
    EXPECT_EQ(handed.at(0).at(0).toStringList(), files);

    // A start with no files only brings the window up; one that asks for a window of its own
    // gets it, without the list.
    EXPECT_EQ(startElsewhere(socket, [](SingleInstance &s) { return s.handOverOrListen({}); }),
              SingleInstance::Outcome::HandedOver);
    ASSERT_EVENTUALLY(handed.count() == 2);
    EXPECT_TRUE(handed.at(1).at(0).toStringList().isEmpty());
    EXPECT_EQ(startElsewhere(socket, [](SingleInstance &s) { return s.listenUnlessRunning(); }),
              SingleInstance::Outcome::AnotherWindow);
}

// What a program killed outright leaves behind (its socket file) does not stop the next one.
TEST(SingleInstance, ASocketLeftByAnEndedProgramIsTakenOver)
{
    QTemporaryDir dir;
    const QString socket = dir.filePath("kelvane-test");
    {
        QFile left(socket);
        ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    }
    SingleInstance first(socket);
    EXPECT_EQ(first.handOverOrListen({}), SingleInstance::Outcome::Listening) << first.problem().toStdString();
    SingleInstance own(dir.filePath("other"));
    EXPECT_EQ(own.listenUnlessRunning(), SingleInstance::Outcome::Listening);
}

// Windows of different settings folders never meet.
TEST(SingleInstance, EachSettingsFolderHasASocketOfItsOwn)
{
    EXPECT_NE(SingleInstanceSocketPath("/a/Kelvane/"), SingleInstanceSocketPath("/b/Kelvane/"));
    EXPECT_EQ(SingleInstanceSocketPath("/a/Kelvane/"), SingleInstanceSocketPath("/a/Kelvane"));
}
