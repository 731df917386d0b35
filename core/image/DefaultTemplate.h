#pragma once

#include <span>

namespace orvane {

// A run of registers that the built-in template sets to one value.
struct TemplateRun {
    int first;
    int last;
    unsigned short value;
};

// The runs of the default template; registers outside every run hold FFFF.
std::span<const TemplateRun> DefaultTemplateRuns();

} // namespace orvane
