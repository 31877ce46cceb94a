#include "engine/EncoderProcesses.h"

namespace {

void logLine(const TLogger &log, const char *line)
{
    if (log)
        log(QString::fromLatin1(line));
}

} // namespace

pid_t FindEncoderProcessId(const TAdvanceSystem *runner, const TLogger &log)
{
    const pid_t pid = runner ? runner->runningPid() : 0;
    if (pid == 0)
        logLine(log, "Get Process id error.");
    return pid;
}

bool TerminateEncoderGroup(TAdvanceSystem *runner, const TLogger &log, std::chrono::milliseconds grace)
{
    const bool signalled = runner && runner->requestStop(grace);
    if (!signalled)
        logLine(log, "Terminate process error.");
    return signalled;
}

void KillEncoder(TAdvanceSystem *runner, const TLogger &log, std::chrono::milliseconds grace)
{
    if (FindEncoderProcessId(runner, log) != 0)
        TerminateEncoderGroup(runner, log, grace);
    else if (runner)
        runner->requestStop(grace);
}
