// Built as a unit of der by the test layers_compiler_refuses_wrong_way_include:
// the token binding sits above der, so its header must not be found.
#include "token/token.h"
