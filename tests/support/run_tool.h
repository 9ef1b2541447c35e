// Runs a program to its end, without a shell (so arguments may hold any
// byte), for setting up what tests need: token tools, certificate databases,
// daemons' configuration tools.
#pragma once

#include <string>
#include <vector>

struct ToolResult {
    int status = -1;     // the exit status; 128 + the signal's number when a signal ended it
    std::string output;  // standard output and standard error, interleaved
};

// Runs arguments[0] (looked up in PATH) with `input` on its standard input.
ToolResult tryTool(const std::vector<std::string>& arguments, const std::string& input = "");
// The same, but throws std::runtime_error with the output when the exit
// status is not 0; returns the output.
std::string runTool(const std::vector<std::string>& arguments, const std::string& input = "");
