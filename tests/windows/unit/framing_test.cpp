// Framing on Windows pipes. The C runtime opens standard input and output in
// text mode, where 0x0D 0x0A reads as 0x0A, 0x1A ends the input and 0x0A is
// written as 0x0D 0x0A: length prefixes and bodies holding those bytes must
// cross unchanged once the host has switched the streams to binary mode.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>

#include <cstring>

#include "common/logger.h"
#include "common/native_host_exception.h"
#include "nmp/nmp.h"
#include "platform/platform.h"
#include "support/windows_support.h"

namespace {

// Puts one end of a fresh text-mode pipe in place of a standard stream for the
// life of the object, and gives the other end in binary mode.
class RedirectedStream {
  public:
    explicit RedirectedStream(int stream) : stream(stream), saved(_dup(stream)) {
        int fds[2];
        if (_pipe(fds, 1 << 16, _O_TEXT) != 0) {
            throw std::runtime_error("_pipe failed");
        }
        int streamEnd = stream == 0 ? fds[0] : fds[1];
        otherEnd = stream == 0 ? fds[1] : fds[0];
        _dup2(streamEnd, stream);
        _close(streamEnd);
        _setmode(stream, _O_TEXT);
        _setmode(otherEnd, _O_BINARY);
    }
    ~RedirectedStream() {
        _dup2(saved, stream);
        _close(saved);
        closeOtherEnd();
    }

    int other() const { return otherEnd; }
    void closeOtherEnd() {
        if (otherEnd >= 0) {
            _close(otherEnd);
            otherEnd = -1;
        }
    }
    // Ends the stream's side, so that the other end sees the end of input.
    void closeStream() { _dup2(saved, stream); }

  private:
    int stream;
    int saved;
    int otherEnd;
};

class WindowsFramingTest : public ::testing::Test {
  protected:
    void TearDown() override { Logger::destroyInstance(); }
};

// A request of the given length whose compacted text is {"action":"info"}.
std::string paddedInfoRequest(size_t length) {
    std::string text = "{\"action\":\"info\"";
    while (text.size() + 1 < length) {
        text += text.size() % 2 == 0 ? "\r" : "\n";
    }
    return text + "}";
}

}  // namespace

TEST_F(WindowsFramingTest, StandardInputDeliversControlBytesUnchanged) {
    RedirectedStream input(0);
    const std::string first = paddedInfoRequest(0x1A);
    // Prefix 0A 0D 00 00; a body with CR LF pairs and a 0x1A inside a string.
    std::string second = "{\"action\":\"info\",\r\n\"port\":\"\x1a\r\n";
    second += std::string(0x0D0A - second.size() - 2, 'p') + "\"}";
    const std::string bytes = frame(first) + frame(second);
    ASSERT_EQ(bytes.substr(0, 4), std::string("\x1a\0\0\0", 4));
    ASSERT_EQ(bytes.substr(first.size() + 4, 4), std::string("\x0a\x0d\0\0", 4));
    ASSERT_EQ(_write(input.other(), bytes.data(), static_cast<unsigned>(bytes.size())),
              static_cast<int>(bytes.size()));
    input.closeOtherEnd();

    platform::setBinaryStdio();
    NMPReader reader(0);
    EXPECT_EQ(reader.readMessage(), first);
    EXPECT_EQ(reader.readMessage(), second);
    EXPECT_THROW(reader.readMessage(), NMPEndOfInputException);
}

TEST_F(WindowsFramingTest, StandardOutputCarriesControlBytesUnchanged) {
    RedirectedStream output(1);
    // Prefix 0A 0D 00 00, and line feeds in the text.
    const std::string text = "\n" + std::string(0x0D0A - 2, 'r') + "\n";
    platform::setBinaryStdio();
    NMPWriter(1).writeMessage(text);
    output.closeStream();

    std::string bytes;
    char chunk[4096];
    int count;
    while ((count = _read(output.other(), chunk, sizeof(chunk))) > 0) {
        bytes.append(chunk, static_cast<size_t>(count));
    }
    EXPECT_EQ(bytes.size(), text.size() + 4);
    EXPECT_EQ(bytes, std::string("\x0a\x0d\0\0", 4) + text);
}

TEST_F(WindowsFramingTest, InputCutShortReportsTheRuntimesText) {
    int fds[2];
    ASSERT_EQ(_pipe(fds, 4096, _O_BINARY), 0);
    ASSERT_EQ(_write(fds[1], "\x05\x00", 2), 2);
    _close(fds[1]);
    NMPReader reader(fds[0]);
    testing::internal::CaptureStderr();
    EXPECT_THROW(reader.readMessage(), NMPEndOfInputException);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              std::string("End of input ") + std::strerror(0) + "\n");
    _close(fds[0]);
}

TEST_F(WindowsFramingTest, WritingToAPipeWithoutReaderThrows) {
    int fds[2];
    ASSERT_EQ(_pipe(fds, 4096, _O_BINARY), 0);
    _close(fds[0]);
    testing::internal::CaptureStderr();
    std::string message;
    try {
        NMPWriter(fds[1]).writeMessage("{}");
        ADD_FAILURE() << "the write succeeded";
    } catch (const NMPException& e) {
        message = e.getMessage();
    }
    // Which error number the runtime reports differs (EPIPE on Windows, EINVAL
    // under Wine); the message is its text.
    EXPECT_NE(message, "");
    EXPECT_NE(message, std::string(std::strerror(0)));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: unexpected IO error writing to stdout - " + message + "\n");
    _close(fds[1]);
}
