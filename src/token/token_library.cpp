#include "common/logger.h"
#include "common/native_host_exception.h"
#include "platform/platform.h"
#include "token/token.h"
#include "token/token_errors.h"
#include "token/token_internal.h"

namespace {

struct TokenLibrary {
    void* module = nullptr;
    CK_FUNCTION_LIST* functions = nullptr;
    std::string name;
};

TokenLibrary library;

// A module that cannot be used counts as not loaded: nothing may call into it
// (C_Finalize neither: it was never initialised).
bool dropModule() {
    library.functions = nullptr;
    platform::freeLibrary(library.module);
    library.module = nullptr;
    return false;
}

}  // namespace

namespace token_internal {

CK_FUNCTION_LIST* functions() {
    requireTokenLibrary();
    return library.functions;
}

void check(CK_RV rv, const char* failure, std::initializer_list<CodeMeaning> meanings) {
    if (rv == CKR_OK) {
        return;
    }
    for (const CodeMeaning& meaning : meanings) {
        if (meaning.code == rv) {
            throw TokenException(meaning.text, rv);
        }
    }
    throw TokenException(failure, rv);
}

}  // namespace token_internal

bool loadTokenLibrary(const std::string& libraryName) {
    Logger* logger = Logger::instance();
    library.name = libraryName.empty() ? platform::kDefaultPkcs11Library : libraryName;
    library.module = platform::loadLibrary(library.name);
    if (library.module == nullptr) {
        logger->error("Error loading %s", library.name.c_str());
        return false;
    }
    auto getFunctionList = reinterpret_cast<CK_C_GetFunctionList>(
        platform::findSymbol(library.module, "C_GetFunctionList"));
    if (getFunctionList == nullptr) {
        logger->error("Error retrieving C_GetFunctionList PKCS11 DLL entry point");
        return dropModule();
    }
    getFunctionList(&library.functions);
    if (library.functions == nullptr) {
        logger->error("Error loading PKCS11 functions");
        return dropModule();
    }
    if (library.functions->C_Initialize(nullptr) != CKR_OK) {
        logger->error("Error loading PKCS11 functions");
        return dropModule();
    }
    return true;
}

void unloadTokenLibrary() {
    if (library.functions != nullptr) {
        library.functions->C_Finalize(nullptr);
        library.functions = nullptr;
    }
    if (library.module != nullptr) {
        platform::freeLibrary(library.module);
        library.module = nullptr;
    }
}

bool isTokenLibraryLoaded() {
    return library.module != nullptr;
}

std::string tokenLibraryDriverName() {
    if (!isTokenLibraryLoaded()) {
        return "None";
    }
#if defined(_WIN32)
    size_t separator = library.name.find_last_of("\\/");
#else
    size_t separator = library.name.find_last_of('/');
#endif
    return separator == std::string::npos ? library.name : library.name.substr(separator + 1);
}

void requireTokenLibrary() {
    if (library.module == nullptr || library.functions == nullptr) {
        throw HandlerException(kModuleNotLoaded);
    }
}
