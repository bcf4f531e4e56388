#include "capture/audio_library_internal.h"

#include <atomic>

#include "guard/abort_guard.h"
#include "guard/library_messages.h"

namespace {

std::atomic<bool> libraryBroken{false};

} // namespace

LibraryStart startAudioLibrary(PaError& error)
{
    if (libraryBroken.load()) {
        return LibraryStart::broken;
    }
    quietLibraryMessages();
    PaError result = paNoError;
    if (!survivesAbort([&result] { result = Pa_Initialize(); })) {
        libraryBroken.store(true);
        return LibraryStart::broken;
    }
    error = result;
    return result == paNoError ? LibraryStart::started : LibraryStart::failed;
}
