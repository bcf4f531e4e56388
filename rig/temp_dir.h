// A fresh private directory under the system's temporary directory, removed
// with everything in it when the object goes away.
#pragma once

#include <string>

namespace rig {

class TempDir {
public:
    // Throws std::runtime_error when no directory can be made.
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Absolute path, without a trailing slash.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace rig
