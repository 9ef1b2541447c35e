#include <gtest/gtest.h>

#include <unistd.h>

#include <thread>

#include "common/logger.h"
#include "common/native_host_exception.h"
#include "nmp/nmp.h"
#include "platform/platform.h"
#include "support/pipe.h"

namespace {
class NMPWriterTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::ignoreBrokenPipe(); }
    void TearDown() override { Logger::destroyInstance(); }
};
}  // namespace

TEST_F(NMPWriterTest, FramesTheTextWithItsByteLength) {
    Pipe pipe;
    std::string text(101, 'r');
    NMPWriter(pipe.writeEnd()).writeMessage(text);
    pipe.closeWrite();
    EXPECT_EQ(pipe.readAll(), std::string("\x65\0\0\0", 4) + text);
}

TEST_F(NMPWriterTest, CountsBytesNotCharacters) {
    Pipe pipe;
    std::string text = "\xC3\xA9\xE2\x82\xAC";  // two characters, five bytes
    NMPWriter(pipe.writeEnd()).writeMessage(text);
    pipe.closeWrite();
    EXPECT_EQ(pipe.readAll(), std::string("\x05\0\0\0", 4) + text);
}

TEST_F(NMPWriterTest, WritingToAClosedPipeThrowsInsteadOfKillingTheProcess) {
    Pipe pipe;
    pipe.closeRead();
    testing::internal::CaptureStderr();
    try {
        NMPWriter(pipe.writeEnd()).writeMessage("{}");
        FAIL() << "the write succeeded";
    } catch (const NMPException& e) {
        EXPECT_EQ(e.getMessage(), "Broken pipe");
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: unexpected IO error writing to stdout - Broken pipe\n");
}

TEST_F(NMPWriterTest, AReaderLeavingMidMessageFailsTheBodyWrite) {
    Pipe pipe;
    std::thread reader([&] {
        char prefix[4];
        size_t got = 0;
        while (got < 4) {
            got += static_cast<size_t>(read(pipe.readEnd(), prefix + got, 4 - got));
        }
        pipe.closeRead();
    });
    testing::internal::CaptureStderr();
    EXPECT_THROW(NMPWriter(pipe.writeEnd()).writeMessage(std::string(4 * 1024 * 1024, 'x')),
                 NMPException);
    reader.join();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error writing message - Broken pipe\n");
}

// Short replies go out with their prefix in one write, long ones in two; the
// bytes on the wire are the same frame either way.
TEST_F(NMPWriterTest, ShortAndLongRepliesAreFramedAlike) {
    for (size_t size : {size_t{0}, size_t{1}, size_t{65536}, size_t{65537}, size_t{300000}}) {
        SCOPED_TRACE(size);
        Pipe pipe;
        std::string text(size, 'r');
        for (size_t i = 0; i < size; i += 7) {
            text[i] = static_cast<char>(i % 251);
        }
        std::string received;
        std::thread reader([&] { received = pipe.readAll(); });
        NMPWriter writer(pipe.writeEnd());
        writer.writeMessage(text);
        writer.writeMessage("{}");
        pipe.closeWrite();
        reader.join();
        EXPECT_EQ(received, frame(text) + frame("{}"));
    }
}
