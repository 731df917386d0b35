#pragma once

// What differs between two configurations, in the register map's words: field by field for
// a person comparing two files, register by register for checking a write.

#include <string>
#include <vector>

#include "core/image/RegisterImage.h"
#include "core/reports/RegisterMap.h"

namespace orvane {

struct FieldDifference {
    const RegisterField* field = nullptr;
    std::vector<int> registers; // the field's registers whose bits differ
    std::string before;         // the field's value shown as in the first image
    std::string after;          // and as in the second
};

// Every field whose bits differ, in the map's order (grouped by page). A field that shows
// the same in both (a text whose registers differ after its end) names those registers.
std::vector<FieldDifference> DiffConfigurations(const RegisterImage& before,
                                                const RegisterImage& after);

// "Fan Setting / FAN 2 Ramp Rate: 10 -> 25".
std::string DescribeDifference(const FieldDifference& difference);

struct RegisterMismatch {
    int reg = 0; // 0 to 399, or kChecksumIndex
    std::string sent;
    std::string read;
    std::vector<const RegisterField*> fields; // those whose bits differ; none for the checksum
};

// Registers 0 to 399 and the checksum entry that differ between what was sent and what
// was read back (digits compared by value, so case does not count).
std::vector<RegisterMismatch> CompareRegisters(const RegisterImage& sent,
                                               const RegisterImage& read);

// The fields the register's differing bits belong to: "Fan Setting / FAN 2 Ramp Rate".
std::string MismatchNames(const RegisterMismatch& mismatch);

// The register's word in `image` (what was sent, or what was read), followed by its value
// when one field with a word of its own holds the differing bits: "0019 (25)".
std::string ShowMismatchWord(const RegisterMismatch& mismatch, const RegisterImage& image);

// "register 297 (Fan Setting / FAN 2 Ramp Rate): sent 000A (10), read 0019 (25)".
std::string DescribeMismatch(const RegisterMismatch& mismatch, const RegisterImage& sent,
                             const RegisterImage& read);

// "Fan Setting / FAN 2 Ramp Rate", or the name alone for a register no page uses.
std::string QualifiedName(const RegisterField& field);

} // namespace orvane
