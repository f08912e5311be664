#include "app/startup.h"

int RunVantor(int, char**) { return 0; }
