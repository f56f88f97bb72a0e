#include "player/uFMXMfPlayerClass.h"
