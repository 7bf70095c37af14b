#include "platform/Clock.h"
#include <QTimer>
#include "shell/Detector.h"
