#include "vantrel_app.h"

#include <exception>

#include "common/logger.h"
#include "common/native_host_exception.h"
#include "common/pin_masking.h"
#include "handler/default_request_handler.h"
#include "handler/session_state.h"
#include "json/json_parser.h"
#include "json/json_serializer.h"
#include "nmp/nmp.h"
#include "request/request_factory.h"
#include "response/response.h"
#include "token/token.h"

struct VantrelApp::Loop {
    Loop(int inputFd, int outputFd) : reader(inputFd), writer(outputFd) {}

    NMPReader reader;
    NMPWriter writer;
    SessionState state;
    JsonObjectParserFactory parserFactory;
    DefaultRequestHandler handler;
};

VantrelApp::VantrelApp(std::unique_ptr<HostConfig> hostConfig, int inputFd, int outputFd)
    : logger(Logger::instance()),
      config(std::move(hostConfig)),
      inputFd(inputFd),
      outputFd(outputFd) {
    logger->setLogDir(config->getLogDir());
    logger->setMaxLogFiles(static_cast<uint32_t>(config->getMaxLogFiles()));
}

VantrelApp::~VantrelApp() = default;

int VantrelApp::run() {
    auto loop = std::make_unique<Loop>(inputFd, outputFd);
    loop->state.setDevMode(config->getDevMode());
    if (!loadTokenLibrary(config->getPkcs11Library())) {
        logger->error("Failed to initialise PKCS11");
    }
    logger->startLogFile();
    try {
        while (serveOneMessage(*loop)) {
        }
    } catch (const NMPEndOfInputException&) {
        logger->error("End of input");
    } catch (const NativeHostException& failure) {
        logger->error("Error while processing request - %s", failure.getMessage().c_str());
    } catch (const std::exception& failure) {
        // Outside the error family (memory exhaustion, say): stop the same way
        // instead of dying.
        logger->error("Error while processing request - %s", failure.what());
    }
    unloadTokenLibrary();
    return 0;
}

bool VantrelApp::serveOneMessage(Loop& loop) {
    SecretString& text = loop.reader.readMessage();
    compactJson(text);
    std::unique_ptr<Response> response;
    {
        std::unique_ptr<Parser<JsonValue>> parser = loop.parserFactory.create();
        ParserInput input(text.data(), text.size());
        ParseResultPtr<JsonValue> parsed = parser->parse(input);
        // Parsed first: a message that does not parse may have its PIN keys
        // mistyped, and is logged masked more widely.
        if (!parsed->isSuccess()) {
            logger->logUnparsableRequest(text);
            logger->error("Failed to parse request: %s", maskPinsOfUnparsable(text).c_str());
            return false;
        }
        logger->logRequest(text);
        // The tree holds all that the request needs: the text is wiped now
        // rather than held beside it while the request is handled.
        loop.reader.finishMessage();
        auto& json = static_cast<JsonObject&>(*parsed->getValue());
        std::unique_ptr<Request> request = RequestFactory().createRequest(json);
        // The request holds copies of what it needs; a large member is then
        // not held twice while the token works.
        parsed.reset();
        response = loop.handler.handle(*request, &loop.state);
        response->setPort(request->getPort());
    }
    // The request and its tree are gone before the reply is built: a payload
    // is held only once.
    std::unique_ptr<JsonObject> reply = response->toJson();
    response.reset();
    std::string replyText = JsonSerialiser(*reply).takeText();
    loop.writer.writeMessage(replyText);
    logger->logResponse(replyText);
    logger->startLogFile();
    return true;
}
