// Preloaded into the monitors of sanitizer builds by the end-to-end tests.
// Pa_Terminate unloads the ALSA plugins that PortAudio's device scan loaded;
// what those plugins keep for their whole life then looks like a leak to the
// leak checker at exit, with no module left to name it by. Keeping the
// plugins mapped until the process ends leaves their memory reachable, so
// that a leak report names a real leak.
#include <dlfcn.h>
#include <link.h>
#include <string_view>

extern "C" int dlclose(void* handle)
{
    static const auto closeLibrary = reinterpret_cast<int (*)(void*)>(dlsym(RTLD_NEXT, "dlclose"));
    link_map* library = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &library) == 0 && library != nullptr && library->l_name != nullptr &&
        std::string_view(library->l_name).find("/alsa-lib/libasound_module_") != std::string_view::npos) {
        return 0;
    }
    return closeLibrary(handle);
}
