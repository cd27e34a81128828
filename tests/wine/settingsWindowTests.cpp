#include "tests/wine/testProgram.h"
