// The PKCS#11 declarations. On Windows, modules are built with structures
// packed to one byte.
#pragma once

#if defined(_WIN32)
#pragma pack(push, 1)
#include <p11-kit/pkcs11.h>
#pragma pack(pop)
#else
#include <p11-kit/pkcs11.h>
#endif
