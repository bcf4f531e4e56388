// Sets environment variables of this process for a scope and puts the old
// values back afterwards, e.g. to point the test's own PortAudio at a private
// audio server. The environment is process-wide: use it only while no other
// thread reads or writes the environment.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rig/child_process.h"

namespace rig {

class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const EnvironmentVariables& variables);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

} // namespace rig
