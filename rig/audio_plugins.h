// For tests that use PortAudio inside the test process. PortAudio's device
// scan opens every ALSA device, which loads ALSA's plugins and the libraries
// they need, and Pa_Terminate unloads them again; what those libraries keep
// for their whole life then looks like a leak to the leak checker of
// sanitizer builds, with no module left to name it by.
#pragma once

namespace rig {

// Keeps every ALSA plugin that is loaded now (and what it needs) loaded
// until the process ends. Call while PortAudio is initialised; any thread
// (the dynamic loader orders it with PortAudio's own loading).
void keepAudioPluginsLoaded();

} // namespace rig
