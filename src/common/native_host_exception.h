// The host's error family. An error carries only its message text; PKCS#11
// return codes are folded into that text.
#pragma once

#include <string>

class NativeHostException {
  public:
    explicit NativeHostException(std::string message) : message(std::move(message)) {}
    virtual ~NativeHostException() = default;

    std::string getMessage() const { return message; }

  protected:
    // The text followed by " (rc=N)", N the return code in unsigned decimal.
    static std::string withReturnCode(const char* text, unsigned long returnCode);

  private:
    std::string message;
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
        : NativeHostException(withReturnCode(text, returnCode)) {}
};

class TokenException : public NativeHostException {
  public:
    explicit TokenException(std::string message) : NativeHostException(std::move(message)) {}
    TokenException(const char* text, unsigned long returnCode)
        : NativeHostException(withReturnCode(text, returnCode)) {}
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
