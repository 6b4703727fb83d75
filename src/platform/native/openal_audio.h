// The real sound device: OpenAL Soft on the default output.
#pragma once
#include "platform/platform.h"

AudioDevice* OpenALAudio();
