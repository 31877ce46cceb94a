#pragma once
#include <string>

// The output file under construction: a hidden temporary name in the target folder that is renamed
// to the real name only when commit() is called. Otherwise the destructor removes it.
class TempOutput {
public:
    TempOutput(const std::string& finalPath, bool overwrite);
    ~TempOutput();
    TempOutput(const TempOutput&) = delete;
    TempOutput& operator=(const TempOutput&) = delete;

    const std::string& path() const { return tempPath_; }
    void commit();

private:
    std::string finalPath_;
    std::string tempPath_;
    bool committed_ = false;
};

std::string folderOf(const std::string& path);
