#include "rig/scoped_environment.h"

#include <cstdlib>

namespace rig {

ScopedEnvironment::ScopedEnvironment(const EnvironmentVariables& variables)
{
    for (const auto& [name, value] : variables) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
        setenv(name.c_str(), value.c_str(), 1);
    }
}

ScopedEnvironment::~ScopedEnvironment()
{
    for (auto entry = saved_.rbegin(); entry != saved_.rend(); ++entry) {
        if (entry->second) {
            setenv(entry->first.c_str(), entry->second->c_str(), 1);
        } else {
            unsetenv(entry->first.c_str());
        }
    }
}

} // namespace rig
