// A small program the runner tests start. Its first argument picks what it does:
//   silent                   writes nothing, exits 0
//   bytes N                  writes N bytes (a..z repeated) in one write
//   then-fifo N FIFO TEXT    writes N 'A's, waits for a byte on FIFO, writes TEXT
//   args ...                 writes every further argument as "[arg]\n"
//   cwd                      writes its working folder
//   pgid                     writes "pid pgid"
//   env NAME                 writes every value of the environment variable NAME, one a line
//   exit N / signal N        exits with code N / ends itself with signal N
//   block                    writes "ready\n" and waits for a signal
//   group                    starts a child that waits, writes its pid, waits
//   ignore-term              ignores SIGTERM, writes "ready\n", waits
//   cleanup-on-term FILE     creates FILE, writes "ready\n", waits; on SIGTERM takes a while to
//                            tidy up (as an encoder closing its output does), removes FILE, exits
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

void writeAll(const std::string &text)
{
    const char *data = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, data, left);
        if (n <= 0)
            std::exit(90);
        data += n;
        left -= static_cast<size_t>(n);
    }
}

[[noreturn]] void waitForever()
{
    for (;;)
        ::pause();
}

volatile std::sig_atomic_t terminateAsked = 0;

extern "C" void onTerminate(int) { terminateAsked = 1; }

int cleanUpOnTerminate(const char *file)
{
    std::signal(SIGTERM, onTerminate);
    const int fd = ::open(file, O_CREAT | O_WRONLY, 0600);
    if (fd < 0)
        return 94;
    ::close(fd);
    writeAll("ready\n");
    while (!terminateAsked)
        ::pause();
    const timespec tidying{0, 200 * 1000 * 1000};
    ::nanosleep(&tidying, nullptr);
    ::unlink(file);
    return 0;
}

int run(int argc, char **argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "silent")
        return 0;
    if (mode == "bytes") {
        std::string text;
        for (int i = 0; i < std::atoi(argv[2]); ++i)
            text += static_cast<char>('a' + i % 26);
        writeAll(text);
        return 0;
    }
    if (mode == "then-fifo") {
        writeAll(std::string(std::atoi(argv[2]), 'A'));
        const int fifo = ::open(argv[3], O_RDONLY);
        char byte;
        if (fifo < 0 || ::read(fifo, &byte, 1) != 1)
            return 91;
        writeAll(argv[4]);
        return 0;
    }
    if (mode == "args") {
        std::string text;
        for (int i = 2; i < argc; ++i)
            text += std::string("[") + argv[i] + "]\n";
        writeAll(text);
        return 0;
    }
    if (mode == "cwd") {
        char folder[4096];
        writeAll(::getcwd(folder, sizeof folder) ? folder : "?");
        return 0;
    }
    if (mode == "pgid") {
        writeAll(std::to_string(::getpid()) + " " + std::to_string(::getpgrp()));
        return 0;
    }
    if (mode == "env") {
        const std::string prefix = std::string(argv[2]) + "=";
        std::string text;
        for (char **entry = environ; *entry; ++entry) {
            if (std::strncmp(*entry, prefix.c_str(), prefix.size()) == 0)
                text += std::string(*entry + prefix.size()) + "\n";
        }
        writeAll(text);
        return 0;
    }
    if (mode == "exit")
        return std::atoi(argv[2]);
    if (mode == "signal") {
        ::raise(std::atoi(argv[2]));
        return 92;
    }
    if (mode == "ignore-term")
        std::signal(SIGTERM, SIG_IGN);
    if (mode == "cleanup-on-term")
        return cleanUpOnTerminate(argv[2]);
    if (mode == "group") {
        const pid_t child = ::fork();
        if (child == 0)
            waitForever();
        writeAll(std::to_string(child) + "\n");
        waitForever();
    }
    if (mode == "block" || mode == "ignore-term") {
        writeAll("ready\n");
        waitForever();
    }
    return 93;
}

} // namespace

int main(int argc, char **argv)
{
    return run(argc, argv);
}
