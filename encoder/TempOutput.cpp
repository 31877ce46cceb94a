#include "TempOutput.h"
#include "Failure.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string fileNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void checkFolder(const std::string& folder)
{
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw Failure("Output folder does not exist: " + folder);
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        throw Failure("Output folder is not writable: " + folder);
}

mode_t defaultFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

TempOutput::TempOutput(const std::string& finalPath, bool overwrite) : finalPath_(finalPath)
{
    const std::string folder = folderOf(finalPath);
    checkFolder(folder);
    struct stat info {};
    if (stat(finalPath.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            throw Failure("The output name is a folder: " + finalPath);
        if (!overwrite)
            throw Failure("Output file already exists (use -y to replace it): " + finalPath);
    }
    const std::string suffix = ".part";
    // "." and ".XXXXXX.part" around the name must not push a name that fits past the limit.
    const std::size_t longestStem = NAME_MAX - 1 - 7 - suffix.size();
    std::string pattern = folder + "/." + fileNameOf(finalPath).substr(0, longestStem) + ".XXXXXX" + suffix;
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = mkstemps(buffer.data(), static_cast<int>(suffix.size()));
    if (fd < 0)
        throw Failure("Cannot create a file in " + folder + ": " + std::strerror(errno));
    close(fd);
    tempPath_ = buffer.data();
}

TempOutput::~TempOutput()
{
    if (!committed_)
        unlink(tempPath_.c_str());
}

void TempOutput::commit()
{
    chmod(tempPath_.c_str(), defaultFileMode());
    if (std::rename(tempPath_.c_str(), finalPath_.c_str()) != 0)
        throw Failure("Cannot rename the finished file to " + finalPath_ + ": " + std::strerror(errno));
    committed_ = true;
}
