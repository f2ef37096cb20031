// kavo-double-click-probe.exe: ends with the system's double-click time as its exit code. A process reads
// the system's settings when it starts, so a fresh one sees what another program set since; the test
// process itself may keep answering with the value it read first.
#include <windows.h>

int main() { return static_cast<int>(::GetDoubleClickTime()); }
