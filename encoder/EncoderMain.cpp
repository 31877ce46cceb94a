#include "EncoderMain.h"
#include "AvsScript.h"
#include "EncodePlan.h"
#include "Extractor.h"
#include "Failure.h"
#include "StopSignal.h"

#include <cstdio>
#include <new>
#include <unistd.h>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

namespace {

std::string programName(const char* argv0)
{
    std::string name = argv0 ? argv0 : "evc";
    const auto slash = name.rfind('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

} // namespace

int runEncoder(int argc, char** argv, bool scriptInput)
{
    const pid_t parentAtStart = getppid();
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    installStopHandlers();
    av_log_set_level(AV_LOG_QUIET);
    const std::string name = programName(argc > 0 ? argv[0] : nullptr);
    if (!followParent(parentAtStart)) {
        std::fprintf(stderr, "%s: Stopped: the program that started it has ended\n", name.c_str());
        return 1;
    }
    try {
        Options options = parseOptions(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
        if (scriptInput && extensionOf(options.input) == ".avs")
            options.input = mediaPathFromScript(options.input);
        extractAudio(options);
        return 0;
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), failure.what());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s: Out of memory\n", name.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), error.what());
    }
    return 1;
}
