// The host's work on one message between reading it and writing the reply:
// compact, parse, decode, dispatch (no token module loaded), build the reply
// and serialise it. The baseline is nlohmann::json parsing the same text.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "handler/default_request_handler.h"
#include "handler/session_state.h"
#include "json/json_parser.h"
#include "json/json_serializer.h"
#include "nmp/nmp.h"
#include "request/request_factory.h"
#include "response/response.h"

namespace {

// Printable text with spaces, the kind of text a page asks to have signed.
std::string payloadText(size_t size) {
    static const char kAlphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:-_+=/()";
    std::string text(size, ' ');
    uint32_t state = 12345;
    for (char& c : text) {
        state = state * 1103515245u + 12345u;
        c = kAlphabet[(state >> 16) % (sizeof(kAlphabet) - 1)];
    }
    return text;
}

std::string signMessage(const std::string& payload) {
    return "{\"action\":\"sign\",\"certificateSN\":\"02055a17c0de42\",\"payload\":" + payload +
           ",\"port\":\"p1\"}";
}

std::string stringPayloadMessage(size_t size) {
    return signMessage("\"" + payloadText(size) + "\"");
}

std::string objectPayloadMessage(size_t members) {
    std::string object = "{";
    char member[64];
    for (size_t i = 0; i < members; ++i) {
        snprintf(member, sizeof(member), "%s\"field%05zu\":\"value number %05zu\"",
                 i == 0 ? "" : ",", i, i);
        object += member;
    }
    return signMessage(object + "}");
}

const std::string& message(int64_t kind) {
    static const std::string messages[] = {
        "{\"action\":\"info\",\"port\":\"p1\"}",
        stringPayloadMessage(1 << 10),
        stringPayloadMessage(1 << 20),
        stringPayloadMessage(16 << 20),
        objectPayloadMessage(10000),
    };
    return messages[kind];
}

const char* const kNames[] = {"info", "sign_1KiB", "sign_1MiB", "sign_16MiB",
                              "sign_object_10000_members"};

// What the request loop does with a message once it has read it.
std::string answer(std::string& text, JsonObjectParserFactory& parserFactory,
                   DefaultRequestHandler& handler, SessionState& state) {
    compactJson(text);
    std::unique_ptr<Response> response;
    {
        std::unique_ptr<Parser<JsonValue>> parser = parserFactory.create();
        ParserInput input(text);
        ParseResultPtr<JsonValue> parsed = parser->parse(input);
        if (!parsed->isSuccess()) {
            return std::string();
        }
        auto& json = static_cast<JsonObject&>(*parsed->getValue());
        std::unique_ptr<Request> request = RequestFactory().createRequest(json);
        response = handler.handle(*request, &state);
        response->setPort(request->getPort());
    }
    std::unique_ptr<JsonObject> reply = response->toJson();
    return JsonSerialiser(*reply).takeText();
}

void BM_Host(benchmark::State& benchmarkState) {
    const std::string& original = message(benchmarkState.range(0));
    JsonObjectParserFactory parserFactory;
    DefaultRequestHandler handler;
    SessionState state;
    // Compacting compact text leaves it as it is, so one copy serves every
    // iteration and no copy is timed.
    std::string text = original;
    if (answer(text, parserFactory, handler, state).empty() || text != original) {
        benchmarkState.SkipWithError("the message was not answered");
        return;
    }
    for (auto _ : benchmarkState) {
        std::string reply = answer(text, parserFactory, handler, state);
        benchmark::DoNotOptimize(reply);
    }
    benchmarkState.SetBytesProcessed(static_cast<int64_t>(benchmarkState.iterations()) *
                                     static_cast<int64_t>(original.size()));
    benchmarkState.SetLabel(kNames[benchmarkState.range(0)]);
}

void BM_Nlohmann(benchmark::State& benchmarkState) {
    const std::string& text = message(benchmarkState.range(0));
    for (auto _ : benchmarkState) {
        nlohmann::json parsed = nlohmann::json::parse(text);
        benchmark::DoNotOptimize(parsed);
    }
    benchmarkState.SetBytesProcessed(static_cast<int64_t>(benchmarkState.iterations()) *
                                     static_cast<int64_t>(text.size()));
    benchmarkState.SetLabel(kNames[benchmarkState.range(0)]);
}

}  // namespace

BENCHMARK(BM_Host)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Nlohmann)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
