#include "monitor/service.h"
