#include "request/request_factory.h"

#include "common/native_host_exception.h"
#include "request/request_errors.h"

namespace {

template <typename R>
std::unique_ptr<Request> make(JsonObject& json) {
    return std::make_unique<R>(json);
}

struct Action {
    const char* name;
    std::unique_ptr<Request> (*create)(JsonObject& json);
};

// Looked up in this order; the first equal name decides.
const Action kActions[] = {
    {"sign", make<SignRequest>},
    {"info", make<InfoRequest>},
    {"selectCertificate", make<SelectCertificateRequest>},
    {"listCertificates", make<ListCertificatesRequest>},
    {"getCertificate", make<GetCertificateRequest>},
    {"login", make<LoginRequest>},
    {"listTokens", make<GetTokensRequest>},
    {"getOrphanKeys", make<GetOrphanKeysRequest>},
    {"deleteOrphanKeys", make<DeleteOrphanKeysRequest>},
    {"deleteCertificate", make<DeleteCertificateRequest>},
    {"formatToken", make<FormatTokenRequest>},
    {"generateKeys", make<GenerateKeysRequest>},
    {"importCertificate", make<ImportCertificateRequest>},
    {"changePIN", make<ChangePinRequest>},
};

}  // namespace

std::unique_ptr<Request> RequestFactory::createRequest(JsonObject& json) const {
    const JsonValue* action = json.get("action");
    if (action == nullptr) {
        throw RequestException(kActionMissing);
    }
    if (!isString(action)) {
        throw RequestException(kActionNotText);
    }
    const std::string& name = static_cast<const JsonString*>(action)->getValue();
    for (const Action& candidate : kActions) {
        if (name == candidate.name) {
            return candidate.create(json);
        }
    }
    throw RequestException(kActionUnknown + name);
}
