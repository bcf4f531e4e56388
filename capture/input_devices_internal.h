// Inside the capture: the inputs as PortAudio lists them and the parameters
// that open one, for the work readInputs runs and for the supervisor. Both
// need PortAudio initialised, on the thread that owns it. For capture/ itself
// and for the tests of it.
#pragma once

#include <vector>

#include <portaudio.h>

#include "capture/input_devices.h"

// Every device with at least one input channel, in PortAudio's order.
std::vector<InputDevice> listInputs();

// The parameters that capture from the device in the capture's format.
PaStreamParameters captureParameters(int deviceIndex);
