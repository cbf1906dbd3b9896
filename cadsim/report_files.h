#pragma once
// Where the mass-properties command writes its report: the file system, reached through this
// interface so that the command stays portable and tests can hand it files of their own.

#include <string>

namespace cadsim {

class ReportFiles {
public:
    virtual ~ReportFiles() = default;
    // The name as the host shows it: a relative name completed with the current folder.
    virtual std::string FullPath(const std::string& name) const = 0;
    virtual bool Exists(const std::string& path) const = 0;
    // Creates or replaces the file with exactly these bytes. False when it cannot be written.
    virtual bool Write(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace cadsim
