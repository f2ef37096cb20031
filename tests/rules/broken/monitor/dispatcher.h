#include <string>
#include <windows.h>
#include "monitor/win32/worker_thread.h"
#include "settings/record.h"
