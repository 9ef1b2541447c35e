#include <memory>

#include "common/host_config.h"
#include "common/logger.h"
#include "platform/platform.h"
#include "vantrel_app.h"

int main(int argc, char** argv) {
    // Before anything that could hold a PIN.
    platform::disableCoreDumps();
    platform::setBinaryStdio();
    // A browser that goes away must end the host through its error path.
    platform::ignoreBrokenPipe();
    platform::keepFreedMemoryForReuse();
    auto config = std::make_unique<HostConfig>(platform::programPath(argc > 0 ? argv[0] : nullptr));
    int result;
    {
        VantrelApp app(std::move(config));
        result = app.run();
    }
    Logger::destroyInstance();
    return result;
}
