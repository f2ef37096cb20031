#include <windows.h>
#include "monitor/dispatcher.h"
#include "platform/win32/win32_handles.h"
