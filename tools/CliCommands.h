#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace orvane::cli {

// orvane-cli: args are the arguments after the program name; results go to out,
// messages and progress (when showProgress) to err. Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool showProgress);

} // namespace orvane::cli
