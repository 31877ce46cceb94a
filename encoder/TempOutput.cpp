#include "TempOutput.h"
#include "Failure.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string fileNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string errorText() { return std::strerror(errno); }

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

bool unnamedFilesRefused()
{
    const char* value = std::getenv(NoUnnamedFileVariable);
    return value && std::string(value) == "1";
}

// Creates a fresh temporary of ours beside `finalPath` and returns its name; `fd` gets it open.
std::string createNamedTemporary(const std::string& finalPath, int& fd)
{
    const std::string folder = folderOf(finalPath);
    const std::string suffix = TemporarySuffix;
    const std::string tail = TemporaryMarker + std::to_string(getpid()) + "-XXXXXX" + suffix;
    // The leading "." and the tail must not push a name that fits past the limit.
    const std::size_t longestStem = NAME_MAX - 1 - tail.size();
    const std::string pattern = folder + "/." + fileNameOf(finalPath).substr(0, longestStem) + tail;
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    fd = mkostemps(buffer.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
    if (fd < 0)
        throw Failure("Cannot create a file in " + folder + ": " + errorText());
    return buffer.data();
}

// The folder's entry for the new name reaches the disk too; a folder that can't be synced
// (some network filesystems) is no reason to fail a complete file.
void syncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

[[noreturn]] void throwExists(const std::string& finalPath)
{
    throw Failure("Output file already exists (use -y to replace it): " + finalPath);
}

} // namespace

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

TempOutput::TempOutput(const std::string& finalPath, bool overwrite) : finalPath_(finalPath), overwrite_(overwrite)
{
    const std::string folder = folderOf(finalPath);
    checkFolder(folder);
    struct stat info {};
    if (stat(finalPath.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            throw Failure("The output name is a folder: " + finalPath);
        if (!overwrite)
            throwExists(finalPath);
    }
    if (unnamedFilesRefused() || !openUnnamed(folder))
        writePath_ = createNamedTemporary(finalPath_, fd_);
}

// False when the folder's filesystem (or a system without /proc) can't give an unnamed file a
// name later; then a named temporary is used.
bool TempOutput::openUnnamed(const std::string& folder)
{
    fd_ = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return false;
    writePath_ = "/proc/self/fd/" + std::to_string(fd_);
    if (access(writePath_.c_str(), W_OK) != 0) {
        close(fd_);
        fd_ = -1;
        return false;
    }
    unnamed_ = true;
    return true;
}

TempOutput::~TempOutput()
{
    if (fd_ >= 0)
        close(fd_);
    if (!committed_ && !unnamed_ && !writePath_.empty())
        unlink(writePath_.c_str());
}

void TempOutput::commit()
{
    if (fsync(fd_) != 0)
        throw Failure("Writing the output failed: " + errorText());
    fchmod(fd_, defaultFileMode());
    if (unnamed_)
        linkUnnamed();
    else
        renameNamed();
    committed_ = true;
    syncFolder(folderOf(finalPath_));
}

void TempOutput::linkUnnamed()
{
    if (linkat(AT_FDCWD, writePath_.c_str(), AT_FDCWD, finalPath_.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return;
    if (errno != EEXIST)
        throw Failure("Cannot give the finished file its name " + finalPath_ + ": " + errorText());
    if (!overwrite_)
        throwExists(finalPath_);
    // A name can't be linked over an existing file: the file gets a temporary name of ours first
    // and replaces the existing one by a rename.
    int fd = -1;
    const std::string named = createNamedTemporary(finalPath_, fd);
    close(fd);
    unlink(named.c_str());
    if (linkat(AT_FDCWD, writePath_.c_str(), AT_FDCWD, named.c_str(), AT_SYMLINK_FOLLOW) != 0)
        throw Failure("Cannot give the finished file its name " + finalPath_ + ": " + errorText());
    replaceFinal(named);
}

void TempOutput::renameNamed()
{
    if (overwrite_)
        return replaceFinal(writePath_);
    if (renameat2(AT_FDCWD, writePath_.c_str(), AT_FDCWD, finalPath_.c_str(), RENAME_NOREPLACE) == 0)
        return;
    if (errno == EEXIST)
        throwExists(finalPath_);
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        throw Failure("Cannot rename the finished file to " + finalPath_ + ": " + errorText());
    // A filesystem that can't refuse to replace: the check at the start has to do.
    replaceFinal(writePath_);
}

void TempOutput::replaceFinal(const std::string& from)
{
    if (std::rename(from.c_str(), finalPath_.c_str()) != 0) {
        const std::string reason = errorText();
        unlink(from.c_str());
        throw Failure("Cannot rename the finished file to " + finalPath_ + ": " + reason);
    }
}
