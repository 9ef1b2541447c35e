// The application: serves framed requests on standard input and output until
// the input ends or a message cannot be handled.
#pragma once

#include <memory>

#include "common/host_config.h"

class Logger;
class NMPReader;
class NMPWriter;
class SessionState;
class JsonObjectParserFactory;
class DefaultRequestHandler;

class VantrelApp {
  public:
    // Hands the logger the configured log folder and file count. The streams
    // default to standard input and output.
    explicit VantrelApp(std::unique_ptr<HostConfig> config, int inputFd = 0, int outputFd = 1);
    virtual ~VantrelApp();

    // Serves until the loop ends; always returns 0.
    int run();

  private:
    struct Loop;
    // Reads, handles and answers one message; false when the message does not
    // parse and the loop must end without a reply.
    bool serveOneMessage(Loop& loop);

    Logger* logger;
    std::unique_ptr<HostConfig> config;
    int inputFd;
    int outputFd;
};
