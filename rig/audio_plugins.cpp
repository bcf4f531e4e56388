#include "rig/audio_plugins.h"

#include <dlfcn.h>
#include <link.h>
#include <string>
#include <vector>

namespace rig {

void keepAudioPluginsLoaded()
{
    std::vector<std::string> plugins;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* found) {
            const std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (name.find("/alsa-lib/libasound_module_") != std::string::npos) {
                static_cast<std::vector<std::string>*>(found)->push_back(name);
            }
            return 0;
        },
        &plugins);
    for (const std::string& plugin : plugins) {
        // Takes a reference that is never given back; RTLD_NODELETE also
        // keeps the object mapped when ALSA closes its own handle.
        dlopen(plugin.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
}

} // namespace rig
