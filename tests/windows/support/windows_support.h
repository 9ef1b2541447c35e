// Helpers for the tests of the Windows build: temporary folders with Windows
// paths, message frames, and child processes with redirected standard streams.
#pragma once

#include "nmp/frame.h"
#include "support/whole_file.h"

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// A fresh folder under the user's temporary folder, removed with everything in
// it when the object goes. Paths are joined with "\".
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return folderPath; }
    std::string file(const std::string& name) const { return folderPath + "\\" + name; }

    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;
    // Names of the entries, sorted.
    std::vector<std::string> list() const;

  private:
    std::string folderPath;
};

// Names of the entries of a folder, sorted; empty when it cannot be read.
std::vector<std::string> listFolder(const std::string& path);
void copyFile(const std::string& from, const std::string& to);

// The folder of the running test program, where the build puts what the tests
// start (vantrel.exe, the stub module, the registration files).
std::string programFolder();

// Splits a stream of frames; a cut-off frame at the end is returned as it is, so
// that comparisons show it.
std::vector<std::string> unframe(const std::string& bytes);

struct ProcessResult {
    std::string out;
    std::string err;
    uint32_t exitCode = 0;
    bool finished = false;
};

// A child process whose standard streams are pipes of the test. Standard error
// is collected all along; standard input and output are the test's to use.
class ChildProcess {
  public:
    // `commandLine` begins with the program as its first argument; the child
    // starts in `folder`.
    ChildProcess(const std::string& program, const std::string& commandLine,
                 const std::string& folder);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Writes all bytes unless the child stops reading; false then.
    bool write(const std::string& bytes);
    void closeInput();
    // Reads exactly `count` bytes, or what there is before the output ends.
    std::string read(size_t count);
    // Reads one frame's text, or what there is before the output ends.
    std::string readFrame();
    // Collects the rest of the output until the child ends or `timeoutMs` have
    // passed (it is then killed).
    ProcessResult finish(uint32_t timeoutMs = 60000);

  private:
    void* process = nullptr;
    void* input = nullptr;
    void* output = nullptr;
    void* errors = nullptr;
    std::string errText;
    std::thread errReader;
};

// Starts the child, feeds `input` and closes it, and collects everything.
ProcessResult runProcess(const std::string& program, const std::string& commandLine,
                         const std::string& input, const std::string& folder,
                         uint32_t timeoutMs = 60000);

// The command line quoting of one argument for programs built with the usual
// C runtime.
std::string quoteArgument(const std::string& argument);
