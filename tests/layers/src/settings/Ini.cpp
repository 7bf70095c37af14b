#include "common/Strings.h"
#include "gamelink/Dump.h"
#include "Ini.h"
#include <string>
