// Read by the thread sanitizer when the capture tests are built with it.
// PulseAudio's client library, which the default input reaches through ALSA,
// passes its own objects between its threads with synchronisation the
// sanitizer cannot see (the library is not instrumented), so its reports are
// about that library, not about this code.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:libpulse\n";
}
