#include <windows.h>
#include "monitor/service.h"
#include "platform/win32/window_class.h"
#include "settings/win32/shared_block.h"
