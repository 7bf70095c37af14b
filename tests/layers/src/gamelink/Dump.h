#pragma once
#include "settings/Ini.h"
#include <QString>
#  include <windows.h>
