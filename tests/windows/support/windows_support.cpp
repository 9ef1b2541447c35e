#include "support/windows_support.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

std::string lastErrorText(const std::string& what) {
    return what + " failed (error " + std::to_string(GetLastError()) + ")";
}

// Reads a pipe until its write end is closed everywhere.
void drain(HANDLE pipe, std::string& bytes) {
    char chunk[65536];
    DWORD count = 0;
    while (ReadFile(pipe, chunk, sizeof(chunk), &count, nullptr) && count > 0) {
        bytes.append(chunk, count);
    }
}

struct PipeEnds {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
};

// A pipe whose `childEnd` end ("read" or "write") is inherited by the child.
PipeEnds inheritablePipe(bool childReads) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    PipeEnds ends;
    if (!CreatePipe(&ends.read, &ends.write, &inherit, 0)) {
        throw std::runtime_error(lastErrorText("CreatePipe"));
    }
    SetHandleInformation(childReads ? ends.write : ends.read, HANDLE_FLAG_INHERIT, 0);
    return ends;
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    char base[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof(base), base);
    if (length == 0 || length > MAX_PATH) {
        throw std::runtime_error(lastErrorText("GetTempPathA"));
    }
    std::string temp(base, length);
    if (!temp.empty() && temp.back() == '\\') {
        temp.pop_back();
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = temp + "\\vantrel-test-" + std::to_string(GetCurrentProcessId()) +
                                "-" + std::to_string(counter++) + "-" +
                                std::to_string(GetTickCount64());
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            folderPath = candidate;
            return;
        }
    }
    throw std::runtime_error(lastErrorText("CreateDirectoryA"));
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folderPath, ignored);
}

void TempFolder::write(const std::string& name, const std::string& content) const {
    writeWholeFile(file(name), content);
}

std::string TempFolder::read(const std::string& name) const {
    return readWholeFile(file(name));
}

std::vector<std::string> TempFolder::list() const {
    return listFolder(folderPath);
}

std::vector<std::string> listFolder(const std::string& path) {
    std::vector<std::string> names;
    std::error_code failed;
    for (const auto& entry : std::filesystem::directory_iterator(path, failed)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void copyFile(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
        throw std::runtime_error(lastErrorText("CopyFileA " + from));
    }
}

std::string programFolder() {
    char path[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length > MAX_PATH) {
        throw std::runtime_error(lastErrorText("GetModuleFileNameA"));
    }
    std::string text(path, length);
    return text.substr(0, text.find_last_of('\\'));
}

std::vector<std::string> unframe(const std::string& bytes) {
    std::vector<std::string> messages;
    size_t pos = 0;
    while (pos < bytes.size()) {
        if (bytes.size() - pos < kFramePrefixSize) {
            messages.push_back(bytes.substr(pos));
            break;
        }
        uint32_t length = frameLength(bytes.data() + pos);
        pos += kFramePrefixSize;
        messages.push_back(bytes.substr(pos, length));
        pos += std::min<size_t>(length, bytes.size() - pos);
    }
    return messages;
}

std::string quoteArgument(const std::string& argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

ChildProcess::ChildProcess(const std::string& program, const std::string& commandLine,
                           const std::string& folder) {
    PipeEnds in = inheritablePipe(true);
    PipeEnds out = inheritablePipe(false);
    PipeEnds err = inheritablePipe(false);

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.read;
    startup.hStdOutput = out.write;
    startup.hStdError = err.write;
    PROCESS_INFORMATION started{};
    std::string line = commandLine;
    BOOL ok = CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                             nullptr, folder.c_str(), &startup, &started);
    // The child holds its own copies now; ours would keep the pipes open.
    CloseHandle(in.read);
    CloseHandle(out.write);
    CloseHandle(err.write);
    input = in.write;
    output = out.read;
    errors = err.read;
    if (!ok) {
        std::string failure = lastErrorText("CreateProcessA " + program);
        closeInput();
        CloseHandle(output);
        CloseHandle(errors);
        throw std::runtime_error(failure);
    }
    CloseHandle(started.hThread);
    process = started.hProcess;
    errReader = std::thread(drain, errors, std::ref(errText));
}

ChildProcess::~ChildProcess() {
    if (process != nullptr) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
    }
    closeInput();
    if (errReader.joinable()) {
        errReader.join();
    }
    if (output != nullptr) {
        CloseHandle(output);
    }
    if (errors != nullptr) {
        CloseHandle(errors);
    }
}

bool ChildProcess::write(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD count = 0;
        DWORD step = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(input, bytes.data() + done, step, &count, nullptr) || count == 0) {
            return false;
        }
        done += count;
    }
    return true;
}

void ChildProcess::closeInput() {
    if (input != nullptr) {
        CloseHandle(input);
        input = nullptr;
    }
}

std::string ChildProcess::read(size_t count) {
    std::string bytes(count, '\0');
    size_t done = 0;
    while (done < count) {
        DWORD got = 0;
        if (!ReadFile(output, &bytes[done], static_cast<DWORD>(count - done), &got, nullptr) ||
            got == 0) {
            break;
        }
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

std::string ChildProcess::readFrame() {
    std::string prefix = read(4);
    if (prefix.size() < 4) {
        return prefix;
    }
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        length |= uint32_t{static_cast<unsigned char>(prefix[i])} << (8 * i);
    }
    return read(length);
}

ProcessResult ChildProcess::finish(uint32_t timeoutMs) {
    ProcessResult result;
    std::thread outReader(drain, output, std::ref(result.out));
    result.finished = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (!result.finished) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, INFINITE);
    }
    outReader.join();
    errReader.join();
    result.err = errText;
    DWORD exitCode = 0;
    GetExitCodeProcess(process, &exitCode);
    result.exitCode = exitCode;
    CloseHandle(process);
    process = nullptr;
    return result;
}

ProcessResult runProcess(const std::string& program, const std::string& commandLine,
                         const std::string& input, const std::string& folder, uint32_t timeoutMs) {
    ChildProcess child(program, commandLine, folder);
    // Fed from a thread of its own: the child may answer before it has read
    // everything, and its answers must be drained meanwhile.
    std::thread writer([&] {
        child.write(input);
        child.closeInput();
    });
    ProcessResult result = child.finish(timeoutMs);
    writer.join();
    return result;
}
