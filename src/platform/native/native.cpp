// The machine's own layer: installed by the program entry before the game starts.
#include "platform/platform.h"

void InstallNativePlatform() {}
