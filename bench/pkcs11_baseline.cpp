// What the host's token work costs without the host: a program that makes the
// same PKCS#11 calls directly.
//
//   vantrel-bench-pkcs11 init MODULE
//       loads the module, calls C_Initialize and writes one frame to standard
//       output (the start-up baseline), then finalises and exits at the end
//       of its input.
//   vantrel-bench-pkcs11 sign MODULE TOKEN_SERIAL PIN CERT_SN_HEX COUNT PAYLOAD [bare]
//       logs in, then makes COUNT signatures of PAYLOAD with the calls the
//       host makes per sign request (find the certificate, find its private
//       key by CKA_ID, read CKA_NEVER_EXTRACTABLE, read the key's type and
//       CKA_ALWAYS_AUTHENTICATE, C_SignInit and C_Sign for the length and the
//       signature) and, at the first signature of the login, the token's
//       mechanism list; or with "bare" only C_SignInit and one C_Sign. Prints
//       the seconds the COUNT signatures took and the processor seconds they
//       used.
#include <dlfcn.h>
#include <p11-kit/pkcs11.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

CK_FUNCTION_LIST* p11 = nullptr;

void check(CK_RV rv, const char* what) {
    if (rv != CKR_OK) {
        std::fprintf(stderr, "%s failed (rc=%lu)\n", what, static_cast<unsigned long>(rv));
        std::exit(1);
    }
}

void load(const char* module) {
    void* library = dlopen(module, RTLD_NOW);
    if (library == nullptr) {
        std::fprintf(stderr, "cannot load %s\n", module);
        std::exit(1);
    }
    auto getFunctionList =
        reinterpret_cast<CK_C_GetFunctionList>(dlsym(library, "C_GetFunctionList"));
    if (getFunctionList == nullptr) {
        std::fprintf(stderr, "no C_GetFunctionList in %s\n", module);
        std::exit(1);
    }
    check(getFunctionList(&p11), "C_GetFunctionList");
    check(p11->C_Initialize(nullptr), "C_Initialize");
}

std::vector<uint8_t> hexBytes(const std::string& hex) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::string trimmed(const CK_UTF8CHAR* field, size_t width) {
    while (width > 0 && field[width - 1] == ' ') {
        --width;
    }
    return std::string(reinterpret_cast<const char*>(field), width);
}

CK_SLOT_ID findSlot(const std::string& serial) {
    CK_ULONG count = 0;
    check(p11->C_GetSlotList(CK_TRUE, nullptr, &count), "C_GetSlotList");
    std::vector<CK_SLOT_ID> slots(count);
    check(p11->C_GetSlotList(CK_TRUE, slots.data(), &count), "C_GetSlotList");
    for (CK_ULONG i = 0; i < count; ++i) {
        CK_TOKEN_INFO info;
        if (p11->C_GetTokenInfo(slots[i], &info) == CKR_OK &&
            trimmed(info.serialNumber, sizeof(info.serialNumber)) == serial) {
            return slots[i];
        }
    }
    std::fprintf(stderr, "no token with serial %s\n", serial.c_str());
    std::exit(1);
}

CK_OBJECT_HANDLE findOne(CK_SESSION_HANDLE session, CK_ATTRIBUTE* attributes, CK_ULONG count) {
    check(p11->C_FindObjectsInit(session, attributes, count), "C_FindObjectsInit");
    CK_OBJECT_HANDLE handle = CK_INVALID_HANDLE;
    CK_ULONG found = 0;
    check(p11->C_FindObjects(session, &handle, 1, &found), "C_FindObjects");
    check(p11->C_FindObjectsFinal(session), "C_FindObjectsFinal");
    if (found == 0) {
        std::fprintf(stderr, "object not found\n");
        std::exit(1);
    }
    return handle;
}

CK_OBJECT_HANDLE findCertificate(CK_SESSION_HANDLE session, const std::vector<uint8_t>& serial) {
    CK_OBJECT_CLASS objectClass = CKO_CERTIFICATE;
    CK_ATTRIBUTE attributes[] = {
        {CKA_CLASS, &objectClass, sizeof(objectClass)},
        {CKA_SERIAL_NUMBER, const_cast<uint8_t*>(serial.data()), serial.size()}};
    return findOne(session, attributes, 2);
}

CK_OBJECT_HANDLE findPrivateKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE certificate) {
    CK_OBJECT_CLASS objectClass = 0;
    CK_ATTRIBUTE attributes[] = {{CKA_CLASS, &objectClass, sizeof(objectClass)},
                                 {CKA_ID, nullptr, 0}};
    check(p11->C_GetAttributeValue(session, certificate, attributes, 2), "C_GetAttributeValue");
    std::vector<uint8_t> id(attributes[1].ulValueLen);
    attributes[1].pValue = id.data();
    check(p11->C_GetAttributeValue(session, certificate, attributes, 2), "C_GetAttributeValue");
    objectClass = CKO_PRIVATE_KEY;
    return findOne(session, attributes, 2);
}

bool isExtractable(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key) {
    CK_BBOOL neverExtractable = CK_FALSE;
    CK_ATTRIBUTE attribute = {CKA_NEVER_EXTRACTABLE, &neverExtractable, sizeof(neverExtractable)};
    check(p11->C_GetAttributeValue(session, key, &attribute, 1), "C_GetAttributeValue");
    return neverExtractable == CK_FALSE;
}

void readKeyType(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key) {
    CK_KEY_TYPE type = 0;
    CK_BBOOL alwaysAuthenticate = CK_FALSE;
    CK_ATTRIBUTE attributes[] = {
        {CKA_KEY_TYPE, &type, sizeof(type)},
        {CKA_ALWAYS_AUTHENTICATE, &alwaysAuthenticate, sizeof(alwaysAuthenticate)}};
    check(p11->C_GetAttributeValue(session, key, attributes, 2), "C_GetAttributeValue");
}

void readMechanisms(CK_SLOT_ID slot) {
    CK_ULONG count = 0;
    check(p11->C_GetMechanismList(slot, nullptr, &count), "C_GetMechanismList");
    std::vector<CK_MECHANISM_TYPE> mechanisms(count);
    check(p11->C_GetMechanismList(slot, mechanisms.data(), &count), "C_GetMechanismList");
}

size_t sign(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key, const std::string& payload,
            bool askLength) {
    CK_MECHANISM mechanism = {CKM_SHA256_RSA_PKCS, nullptr, 0};
    check(p11->C_SignInit(session, &mechanism, key), "C_SignInit");
    auto data = reinterpret_cast<CK_BYTE_PTR>(const_cast<char*>(payload.data()));
    CK_ULONG length = 512;
    if (askLength) {
        check(p11->C_Sign(session, data, payload.size(), nullptr, &length), "C_Sign");
    }
    std::vector<uint8_t> signature(length);
    check(p11->C_Sign(session, data, payload.size(), signature.data(), &length), "C_Sign");
    return length;
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

int runSign(char** argv, bool bare) {
    load(argv[2]);
    const std::string tokenSerial = argv[3];
    const std::string pin = argv[4];
    const std::vector<uint8_t> certificateSerial = hexBytes(argv[5]);
    const long count = std::atol(argv[6]);
    const std::string payload = argv[7];

    const CK_SLOT_ID slot = findSlot(tokenSerial);
    CK_SESSION_HANDLE session;
    check(p11->C_OpenSession(slot, CKF_SERIAL_SESSION, nullptr, nullptr, &session),
          "C_OpenSession");
    check(
        p11->C_Login(session, CKU_USER,
                     reinterpret_cast<CK_UTF8CHAR_PTR>(const_cast<char*>(pin.data())), pin.size()),
        "C_Login");
    const CK_OBJECT_HANDLE bareKey =
        findPrivateKey(session, findCertificate(session, certificateSerial));

    size_t signed_ = 0;
    const double cpuStart = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < count; ++i) {
        if (bare) {
            signed_ += sign(session, bareKey, payload, false);
            continue;
        }
        CK_OBJECT_HANDLE certificate = findCertificate(session, certificateSerial);
        CK_OBJECT_HANDLE key = findPrivateKey(session, certificate);
        if (isExtractable(session, key)) {
            std::fprintf(stderr, "the key is extractable\n");
            return 1;
        }
        readKeyType(session, key);
        if (i == 0) {
            readMechanisms(slot);
        }
        signed_ += sign(session, key, payload, true);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double cpu = cpuSeconds() - cpuStart;
    if (signed_ != static_cast<size_t>(count) * 256) {
        std::fprintf(stderr, "unexpected signature lengths\n");
        return 1;
    }
    std::printf("%.6f %.6f\n", elapsed.count(), cpu);
    p11->C_Logout(session);
    p11->C_CloseSession(session);
    p11->C_Finalize(nullptr);
    return 0;
}

int runInit(char** argv) {
    load(argv[2]);
    const char frame[] = {2, 0, 0, 0, '{', '}'};
    if (write(1, frame, sizeof(frame)) != static_cast<ssize_t>(sizeof(frame))) {
        return 1;
    }
    // Like a host, it stays until its input ends, so the request written to
    // it never meets a closed pipe.
    char discard[4096];
    while (read(0, discard, sizeof(discard)) > 0) {
    }
    p11->C_Finalize(nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "init") == 0) {
        return runInit(argv);
    }
    if ((argc == 8 || (argc == 9 && std::strcmp(argv[8], "bare") == 0)) &&
        std::strcmp(argv[1], "sign") == 0) {
        return runSign(argv, argc == 9);
    }
    std::fprintf(stderr,
                 "usage: %s init MODULE | sign MODULE TOKEN_SERIAL PIN CERT_SN_HEX COUNT PAYLOAD "
                 "[bare]\n",
                 argv[0]);
    return 2;
}
