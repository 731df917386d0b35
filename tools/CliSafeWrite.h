#pragma once

#include <ostream>

#include "core/chain/SafeWriteChain.h"
#include "tools/CliOptions.h"
#include "tools/CliSession.h"

namespace orvane::cli {

struct SafeWriteRun {
    Outcome outcome;
    SafeWriteResult result;
};

// write [--backup DIR] [--verify]: the session's image through the safe-write chain, as the
// window runs it. Prints "Backup: <file>" once saved, and the verification's lines.
SafeWriteRun RunSafeWrite(CliSession& session, const CliOptions& options, std::ostream& out);

} // namespace orvane::cli
