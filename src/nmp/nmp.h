// Native messaging framing: each message is a 32-bit little-endian length
// followed by that many bytes of JSON text.
#pragma once

#include <cstdint>
#include <string>

#include "common/secret_string.h"

class Logger;

// Reads framed messages from a file descriptor (standard input by default).
class NMPReader {
  public:
    explicit NMPReader(int fd = 0);

    // The 4-byte prefix. Throws NMPEndOfInputException at end of input, after
    // logging "End of input %s\n" when the prefix was cut short.
    uint32_t readLength();
    // One whole message, assembled from as many reads as it takes. Throws
    // NMPEndOfInputException, or NMPException when it cannot be held in memory.
    // A message may hold a PIN: it comes as a SecretString. The reader keeps
    // the buffer for the next message, so that a stream of large messages
    // does not make the host take fresh memory (and fault in its pages) for
    // each: the text is valid until the next call or finishMessage().
    SecretString& readMessage();
    // Wipes the message. Its block stays for the next one unless it is larger
    // than kKeptBlock: a huge message's block is not held while the reply to
    // it is built.
    void finishMessage();

    static constexpr size_t kKeptBlock = 32 << 20;

  private:
    // Bytes from the read-ahead buffer or the descriptor; 0 at end of input.
    // What it hands out is wiped from the buffer at once.
    size_t readSome(char* destination, size_t size);
    void reportCutShort();

    Logger* logger;
    int fd;
    SecretString buffer;
    size_t bufferStart = 0;
    size_t bufferEnd = 0;
    SecretString message;
};

// Writes framed messages to a file descriptor (standard output by default).
class NMPWriter {
  public:
    explicit NMPWriter(int fd = 1);

    // Throws NMPException with the error text after logging
    // "Error: unexpected IO error writing to stdout - %s\n".
    void writeLength(uint32_t length);
    // Prefix and text; throws NMPException with the error text after logging
    // "Error writing message - %s\n".
    void writeMessage(const std::string& text);

  private:
    // Replies up to this size are copied behind their prefix and written at
    // once; longer ones are written in two parts instead of being copied.
    static constexpr size_t kJoinedFrameLimit = 64 * 1024;

    // Adds to `written` what each write call took; false when one fails.
    bool writeAll(const char* data, size_t size, size_t& written);
    void writeText(const char* data, size_t size);
    [[noreturn]] void reportPrefixFailure();
    [[noreturn]] void reportTextFailure();

    Logger* logger;
    int fd;
    // The last frame written, kept for its capacity.
    std::string frame;
};

// Removes the whitespace outside string literals, in place. The text ends at
// its first NUL byte: it is cut there. Returns its argument. The bytes that
// the text no longer uses are zeroed, so that no part of a PIN stays behind
// its end.
std::string& compactJson(std::string& text);
SecretString& compactJson(SecretString& text);
