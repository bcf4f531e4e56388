#include "rig/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace rig {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "earshot-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary directory");
    }
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace rig
