#pragma once

#include <string>

namespace orvane {

// UTF-8 to and from the UTF-16 of the Win32 API.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

} // namespace orvane
