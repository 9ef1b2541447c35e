// The host's error family. An error carries its text and, for a PKCS#11
// failure, the module's return code beside it; the two become one message
// only when it is shown (a reply's "error", a log line).
#pragma once

#include <optional>
#include <string>

class NativeHostException {
  public:
    explicit NativeHostException(std::string text) : text(std::move(text)) {}
    NativeHostException(const char* text, unsigned long returnCode)
        : text(text), returnCode(returnCode) {}
    virtual ~NativeHostException() = default;

    // The text, followed by " (rc=N)" when there is a return code, N in
    // unsigned decimal.
    std::string getMessage() const;
    std::optional<unsigned long> getReturnCode() const { return returnCode; }

  private:
    std::string text;
    std::optional<unsigned long> returnCode;
};

class NMPException : public NativeHostException {
  public:
    explicit NMPException(std::string message) : NativeHostException(std::move(message)) {}
};

class NMPEndOfInputException : public NMPException {
  public:
    NMPEndOfInputException() : NMPException("end-of-input") {}
};

class RequestException : public NativeHostException {
  public:
    explicit RequestException(std::string message) : NativeHostException(std::move(message)) {}
};

class HandlerException : public NativeHostException {
  public:
    explicit HandlerException(std::string message) : NativeHostException(std::move(message)) {}
    HandlerException(const char* text, unsigned long returnCode)
        : NativeHostException(text, returnCode) {}
};

class TokenException : public NativeHostException {
  public:
    explicit TokenException(std::string message) : NativeHostException(std::move(message)) {}
    TokenException(const char* text, unsigned long returnCode)
        : NativeHostException(text, returnCode) {}
};

class DERException : public NativeHostException {
  public:
    explicit DERException(std::string message) : NativeHostException(std::move(message)) {}
};

class CertificateException : public NativeHostException {
  public:
    explicit CertificateException(std::string message) : NativeHostException(std::move(message)) {}
};

class EncodeException : public NativeHostException {
  public:
    explicit EncodeException(std::string message) : NativeHostException(std::move(message)) {}
};
