#include <gtest/gtest.h>

#include <thread>

#include "common/logger.h"
#include "common/native_host_exception.h"
#include "nmp/nmp.h"
#include "support/pipe.h"

namespace {

class NMPReaderTest : public ::testing::Test {
  protected:
    void TearDown() override { Logger::destroyInstance(); }

    // Feeds the bytes and closes the write end, then reads one message,
    // returning the exception message or "" and what reached standard error.
    static std::string readAfterFeeding(const std::string& bytes, std::string& message,
                                        std::string& stderrText) {
        Pipe fed;
        fed.write(bytes);
        fed.closeWrite();
        NMPReader reader(fed.readEnd());
        testing::internal::CaptureStderr();
        std::string error;
        try {
            message = std::string(reader.readMessage().view());
        } catch (const NMPEndOfInputException& e) {
            error = "EOI:" + e.getMessage();
        } catch (const NMPException& e) {
            error = "NMP:" + e.getMessage();
        }
        stderrText = testing::internal::GetCapturedStderr();
        return error;
    }

    Pipe pipe;
};

}  // namespace

TEST_F(NMPReaderTest, ReadsExactlyTheAnnouncedBytes) {
    std::string body(29, 'x');
    pipe.write(std::string("\x1d\0\0\0", 4) + body + frame("{}"));
    pipe.closeWrite();
    NMPReader reader(pipe.readEnd());
    EXPECT_EQ(reader.readMessage().view(), body);
    EXPECT_EQ(reader.readMessage().view(), "{}");
    EXPECT_THROW(reader.readMessage(), NMPEndOfInputException);
}

TEST_F(NMPReaderTest, LengthIsLittleEndian) {
    pipe.write(std::string("\x01\x02\x03\x04", 4));
    pipe.closeWrite();
    EXPECT_EQ(NMPReader(pipe.readEnd()).readLength(), 0x04030201u);
}

TEST_F(NMPReaderTest, EndsAndFailuresAsTabled) {
    struct Case {
        std::string bytes;
        std::string error;
        std::string stderrText;
        std::string message;
    } cases[] = {
        {"", "EOI:end-of-input", "", ""},
        {std::string("\0\0\0\0", 4), "", "", ""},
        {std::string("\x05\0", 2), "EOI:end-of-input", "End of input Success\n", ""},
        {std::string("\x05", 1), "EOI:end-of-input", "End of input Success\n", ""},
        {std::string("\x05\0\0\0ab", 6), "EOI:end-of-input", "End of input Success\n", ""},
        {std::string("\xff\xff\xff\xff", 4) + "abc",
         "NMP:Unable to allocate memory for NMP input message", "", ""},
        // Announcing nearly 4 GiB and sending little must not reserve it all.
        {std::string("\xfe\xff\xff\xff", 4) + "abc", "EOI:end-of-input", "End of input Success\n",
         ""},
        {std::string("\x03\0\0\0", 4) + std::string("a\0b", 3), "", "", std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        std::string message;
        std::string stderrText;
        std::string error = readAfterFeeding(c.bytes, message, stderrText);
        EXPECT_EQ(error, c.error) << testing::PrintToString(c.bytes);
        EXPECT_EQ(stderrText, c.stderrText) << testing::PrintToString(c.bytes);
        EXPECT_EQ(message, c.message) << testing::PrintToString(c.bytes);
    }
}

TEST_F(NMPReaderTest, AssemblesAMessageDeliveredOneByteAtATime) {
    std::string body = R"({"action":"sign","payload":")" + std::string(5000, 'p') + "\"}";
    std::string bytes = frame(body) + frame("{}");
    std::thread writer([&] {
        for (char c : bytes) {
            pipe.write(std::string(1, c));
            std::this_thread::yield();
        }
        pipe.closeWrite();
    });
    NMPReader reader(pipe.readEnd());
    EXPECT_EQ(reader.readMessage().view(), body);
    EXPECT_EQ(reader.readMessage().view(), "{}");
    writer.join();
}

TEST_F(NMPReaderTest, AssemblesALargeMessageFromPipeSizedPieces) {
    std::string body(3 * 1024 * 1024 + 17, 'q');
    std::thread writer([&] {
        pipe.write(frame(body));
        pipe.closeWrite();
    });
    NMPReader reader(pipe.readEnd());
    EXPECT_EQ(reader.readMessage().view(), body);
    writer.join();
}

// A message that fits in the block an earlier one left is read into it, and
// nothing of the earlier one stays behind either message's end.
TEST_F(NMPReaderTest, KeepsItsBlockForTheNextMessageAndWipesWhatItHeld) {
    const std::string large(200 * 1024, 'L');
    std::thread writer([&] {
        pipe.write(frame(large) + frame("{}") + frame(std::string(100, 'm')));
        pipe.closeWrite();
    });
    NMPReader reader(pipe.readEnd());
    SecretString& first = reader.readMessage();
    ASSERT_EQ(first.view(), large);
    const char* block = first.data();
    SecretString& second = reader.readMessage();
    EXPECT_EQ(second.data(), block);
    EXPECT_EQ(second.view(), "{}");
    EXPECT_EQ(std::string(block + 2, large.size() - 2), std::string(large.size() - 2, '\0'));
    reader.finishMessage();
    EXPECT_EQ(std::string(block, 2), std::string(2, '\0'));
    EXPECT_EQ(reader.readMessage().view(), std::string(100, 'm'));
    writer.join();
}

// A block larger than the reader keeps is freed once its message is done.
TEST_F(NMPReaderTest, FreesABlockLargerThanItKeeps) {
    const std::string huge(NMPReader::kKeptBlock + 1, 'H');
    std::thread writer([&] {
        pipe.write(frame(huge));
        pipe.closeWrite();
    });
    NMPReader reader(pipe.readEnd());
    SecretString& message = reader.readMessage();
    EXPECT_EQ(message.size(), huge.size());
    reader.finishMessage();
    EXPECT_EQ(message.capacity(), 0u);
    writer.join();
}
