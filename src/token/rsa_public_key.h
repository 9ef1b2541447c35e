// An RSA public key read from a token, with the object it was read from.
#pragma once

#include "der/byte_buffer.h"
#include "token/pkcs11.h"

struct RsaPublicKey {
    CK_OBJECT_HANDLE objectHandle = CK_INVALID_HANDLE;
    ByteBuffer modulus{size_t{0}};
    ByteBuffer exponent{size_t{0}};
};
