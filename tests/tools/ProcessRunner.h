#pragma once

#include <string>
#include <vector>

namespace orvane::test {

struct ProcessResult {
    int exitCode = -1; // -1: did not end in time (it was killed) or could not start
    std::string out;
    std::string err;
};

// Runs a program with its output captured; kills it after timeoutSeconds.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         int timeoutSeconds = 30);

} // namespace orvane::test
