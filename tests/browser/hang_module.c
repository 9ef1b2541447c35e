/* A PKCS#11 module for the browser test: a token that stops answering. It
 * forwards every call to a real module (VANTREL_HANG_TARGET, default SoftHSM2)
 * except the one named by VANTREL_HANG_FUNCTION, which never returns. Only
 * the functions in the table below can be made to hang. */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <p11-kit/pkcs11.h>

#define DEFAULT_TARGET "/usr/lib/softhsm/libsofthsm2.so"

static CK_FUNCTION_LIST functions;

static CK_RV never_return(void) {
    for (;;) {
        pause();
    }
    return CKR_GENERAL_ERROR;
}

static CK_RV hang_Login(CK_SESSION_HANDLE session, CK_USER_TYPE user, CK_UTF8CHAR_PTR pin,
                        CK_ULONG pin_length) {
    (void)session, (void)user, (void)pin, (void)pin_length;
    return never_return();
}

static CK_RV hang_Sign(CK_SESSION_HANDLE session, CK_BYTE_PTR data, CK_ULONG data_length,
                       CK_BYTE_PTR signature, CK_ULONG_PTR signature_length) {
    (void)session, (void)data, (void)data_length, (void)signature, (void)signature_length;
    return never_return();
}

static CK_RV hang_GenerateKeyPair(CK_SESSION_HANDLE session, CK_MECHANISM_PTR mechanism,
                                  CK_ATTRIBUTE_PTR public_template, CK_ULONG public_count,
                                  CK_ATTRIBUTE_PTR private_template, CK_ULONG private_count,
                                  CK_OBJECT_HANDLE_PTR public_key,
                                  CK_OBJECT_HANDLE_PTR private_key) {
    (void)session, (void)mechanism, (void)public_template, (void)public_count;
    (void)private_template, (void)private_count, (void)public_key, (void)private_key;
    return never_return();
}

static void hang_chosen_function(void) {
    const char* chosen = getenv("VANTREL_HANG_FUNCTION");
    if (chosen == NULL || *chosen == '\0') {
        return;
    }
    if (strcmp(chosen, "C_Login") == 0) {
        functions.C_Login = hang_Login;
    } else if (strcmp(chosen, "C_Sign") == 0) {
        functions.C_Sign = hang_Sign;
    } else if (strcmp(chosen, "C_GenerateKeyPair") == 0) {
        functions.C_GenerateKeyPair = hang_GenerateKeyPair;
    } else {
        fprintf(stderr, "hang module: cannot make %s hang\n", chosen);
    }
}

CK_RV C_GetFunctionList(CK_FUNCTION_LIST_PTR_PTR list) {
    if (list == NULL) {
        return CKR_ARGUMENTS_BAD;
    }
    if (functions.C_GetFunctionList == NULL) {
        const char* target = getenv("VANTREL_HANG_TARGET");
        void* module = dlopen(target && *target ? target : DEFAULT_TARGET,
                              RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        CK_C_GetFunctionList real =
            module ? (CK_C_GetFunctionList)dlsym(module, "C_GetFunctionList") : NULL;
        CK_FUNCTION_LIST_PTR real_list = NULL;
        if (real == NULL || real(&real_list) != CKR_OK || real_list == NULL) {
            return CKR_GENERAL_ERROR;
        }
        functions = *real_list;
        functions.C_GetFunctionList = C_GetFunctionList;
        hang_chosen_function();
    }
    *list = &functions;
    return CKR_OK;
}
