#pragma once
#include <string>

// The output file under construction, in the target folder. It is an unnamed file (O_TMPFILE)
// that gets its name only in commit(), after its data has reached the disk, so that no crash,
// kill or power loss can leave a partial file. Where the folder's filesystem refuses unnamed
// files, it is a hidden temporary name instead (see TemporaryMarker), renamed in commit().
// Without commit(), the destructor leaves nothing behind.
class TempOutput {
public:
    TempOutput(const std::string& finalPath, bool overwrite);
    ~TempOutput();
    TempOutput(const TempOutput&) = delete;
    TempOutput& operator=(const TempOutput&) = delete;

    // Where the sinks open the file: "/proc/self/fd/N" for the unnamed file, else the temporary name.
    const std::string& path() const { return writePath_; }
    bool unnamed() const { return unnamed_; }
    // Flushes the data to the disk and gives the file its final name. Without -y an existing
    // file of that name is never replaced, also one that appeared while the encoder worked.
    void commit();

private:
    bool openUnnamed(const std::string& folder);
    void openNamed(const std::string& folder);
    void linkUnnamed();
    void renameNamed();
    void replaceFinal(const std::string& from);

    std::string finalPath_;
    std::string writePath_;
    int fd_ = -1;
    bool unnamed_ = false;
    bool overwrite_ = false;
    bool committed_ = false;
};

// A named temporary is "." + the output's file name (shortened to fit) + TemporaryMarker + the
// encoder's process id + "-" + six letters or digits + TemporarySuffix, for example
// ".talk.m4a.kelvane-4711-a8Zk3q.part". The program that starts the encoder recognises its
// temporaries by this pattern (src/engine/OutputTemporaries.h holds the same pattern).
inline constexpr const char* TemporaryMarker = ".kelvane-";
inline constexpr const char* TemporarySuffix = ".part";
// Set to 1, this makes the encoder write through a named temporary also where unnamed files
// work (for tests of that path).
inline constexpr const char* NoUnnamedFileVariable = "KELVANE_NO_TMPFILE";

std::string folderOf(const std::string& path);
