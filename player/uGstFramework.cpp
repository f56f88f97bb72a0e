#include "player/uGstFramework.h"
