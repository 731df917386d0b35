#include "serial/ComNumbers.h"

#include <set>

namespace orvane {

std::vector<int> ComNumbers::Assign(const std::vector<Request>& requests) {
    std::map<int, std::string> assignments = m_settings.LoadComAssignments();
    std::map<std::string, int> byIdentity;
    std::set<int> taken;
    for (const auto& [number, identity] : assignments) {
        taken.insert(number);
        // A hand-edited file may give one device two numbers; the lowest wins.
        byIdentity.try_emplace(identity, number);
    }

    auto lowestFree = [&taken] {
        int number = 1;
        while (taken.count(number) != 0) {
            ++number;
        }
        taken.insert(number);
        return number;
    };

    std::vector<int> numbers;
    numbers.reserve(requests.size());
    bool changed = false;
    for (const auto& request : requests) {
        if (const auto found = byIdentity.find(request.identity); found != byIdentity.end()) {
            numbers.push_back(found->second);
            continue;
        }
        const int number = lowestFree();
        byIdentity.emplace(request.identity, number);
        if (request.remember) {
            assignments.emplace(number, request.identity);
            changed = true;
        }
        numbers.push_back(number);
    }
    if (changed) {
        m_settings.SaveComAssignments(assignments);
    }
    return numbers;
}

} // namespace orvane
