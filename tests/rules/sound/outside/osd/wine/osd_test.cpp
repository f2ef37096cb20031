#include <windows.h>
#include "tests/support/fake_clock.h"
#include "outside/osd/notice_board.h"
