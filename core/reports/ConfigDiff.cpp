#include "core/reports/ConfigDiff.h"

namespace orvane {

namespace {

// " (register 207 FFFF, 208 FFFF)": what tells two equal-looking values apart.
std::string WordsOf(const std::vector<int>& registers, const RegisterImage& image) {
    std::string words = registers.size() == 1 ? " (register " : " (registers ";
    for (std::size_t i = 0; i < registers.size(); ++i) {
        words += (i ? ", " : "") + std::to_string(registers[i]) + " " + image.Text(registers[i]);
    }
    return words + ")";
}

// "(2.10 V)"; a value that already stands in parentheses, such as "(not used)", as it is.
std::string InParentheses(const std::string& value) {
    if (value.size() >= 2 && value.front() == '(' && value.back() == ')') {
        return value;
    }
    return "(" + value + ")";
}

} // namespace

std::string QualifiedName(const RegisterField& field) {
    if (field.page.empty()) {
        return field.name;
    }
    return std::string(field.page) + " / " + field.name;
}

std::vector<FieldDifference> DiffConfigurations(const RegisterImage& before,
                                                const RegisterImage& after) {
    std::vector<FieldDifference> differences;
    for (const RegisterField& field : RegisterMap::Get().Fields()) {
        FieldDifference difference{&field, {}, {}, {}};
        for (const int r : field.registers) {
            if ((DifferingBits(before.Text(r), after.Text(r)) & field.mask) != 0) {
                difference.registers.push_back(r);
            }
        }
        if (difference.registers.empty()) {
            continue;
        }
        difference.before = ShowFieldValue(field, before);
        difference.after = ShowFieldValue(field, after);
        if (difference.before == difference.after) {
            difference.before += WordsOf(difference.registers, before);
            difference.after += WordsOf(difference.registers, after);
        }
        differences.push_back(std::move(difference));
    }
    return differences;
}

std::string DescribeDifference(const FieldDifference& difference) {
    return QualifiedName(*difference.field) + ": " + difference.before + " -> " + difference.after;
}

std::vector<RegisterMismatch> CompareRegisters(const RegisterImage& sent,
                                               const RegisterImage& read) {
    std::vector<RegisterMismatch> mismatches;
    for (int r = 0; r < kImageEntries; ++r) {
        const unsigned bits = DifferingBits(sent.Text(r), read.Text(r));
        if (bits == 0) {
            continue;
        }
        RegisterMismatch mismatch{r, sent.Text(r), read.Text(r), {}};
        for (const RegisterField* field : RegisterMap::Get().FieldsAt(r)) {
            if ((field->mask & bits) != 0) {
                mismatch.fields.push_back(field);
            }
        }
        mismatches.push_back(std::move(mismatch));
    }
    return mismatches;
}

std::string MismatchNames(const RegisterMismatch& mismatch) {
    std::string names;
    for (const RegisterField* field : mismatch.fields) {
        names += (names.empty() ? "" : ", ") + QualifiedName(*field);
    }
    return names;
}

std::string ShowMismatchWord(const RegisterMismatch& mismatch, const RegisterImage& image) {
    std::string shown = image.Text(mismatch.reg);
    // One field with a word of its own: its value says more than the digits alone.
    if (mismatch.fields.size() == 1 && mismatch.fields.front()->kind != FieldKind::Text &&
        mismatch.fields.front()->kind != FieldKind::Raw) {
        shown += " " + InParentheses(ShowFieldValue(*mismatch.fields.front(), image));
    }
    return shown;
}

std::string DescribeMismatch(const RegisterMismatch& mismatch, const RegisterImage& sent,
                             const RegisterImage& read) {
    if (mismatch.reg == kChecksumIndex) {
        return "checksum: sent " + mismatch.sent + ", read " + mismatch.read;
    }
    return "register " + std::to_string(mismatch.reg) + " (" + MismatchNames(mismatch) +
           "): sent " + ShowMismatchWord(mismatch, sent) + ", read " +
           ShowMismatchWord(mismatch, read);
}

} // namespace orvane
