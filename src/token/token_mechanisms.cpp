#include "token/token_mechanisms.h"

#include <algorithm>

#include "token/token_errors.h"
#include "token/token_internal.h"

using token_internal::check;
using token_internal::functions;

bool TokenMechanisms::offers(CK_MECHANISM_TYPE mechanism) {
    if (!offered) {
        const char* failure = kMechanismsUnreadable;
        CK_ULONG count = 0;
        check(functions()->C_GetMechanismList(slot, nullptr, &count), failure);
        std::vector<CK_MECHANISM_TYPE> list;
        token_internal::allocateOrRaise([&] { list.resize(count); }, kInsufficientMemory);
        check(functions()->C_GetMechanismList(slot, list.data(), &count), failure);
        list.resize(std::min<size_t>(count, list.size()));
        std::sort(list.begin(), list.end());
        offered = std::move(list);
    }
    return std::binary_search(offered->begin(), offered->end(), mechanism);
}
