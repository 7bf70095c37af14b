#include "gamelink/Dump.h"
#include "setup/Steps.h"
