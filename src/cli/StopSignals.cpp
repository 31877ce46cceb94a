#include "cli/StopSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int HandledSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t writeFd = -1;

extern "C" void onStopSignal(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = ::write(writeFd, &number, 1);
    errno = saved;
}

void setHandler(int signal, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

} // namespace

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_read.reset(ends[0]);
    m_write.reset(ends[1]);
    writeFd = m_write.get();
    m_notifier = new QSocketNotifier(m_read.get(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::readPending);
    for (const int signal : HandledSignals)
        setHandler(signal, onStopSignal);
    std::signal(SIGPIPE, SIG_IGN);
}

StopSignals::~StopSignals()
{
    for (const int signal : HandledSignals)
        setHandler(signal, SIG_DFL);
    writeFd = -1;
}

void StopSignals::readPending()
{
    unsigned char number = 0;
    while (::read(m_read.get(), &number, 1) == 1)
        Q_EMIT received(number);
}
