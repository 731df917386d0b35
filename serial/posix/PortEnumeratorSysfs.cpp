#include "serial/posix/PortEnumeratorSysfs.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

namespace orvane {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> ReadFirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return std::nullopt;
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    return line;
}

// The by-id link that leads to this device, which names the adapter by its
// vendor, product and serial number and so survives re-plugging into another socket.
std::optional<std::string> ByIdLink(const fs::path& devRoot, const fs::path& device) {
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(device, ec);
    for (const auto& entry : fs::directory_iterator(devRoot / "serial" / "by-id", ec)) {
        std::error_code linkEc;
        if (fs::weakly_canonical(entry.path(), linkEc) == target && !linkEc) {
            return entry.path().filename().string();
        }
    }
    return std::nullopt;
}

// The USB device above an interface: the first ancestor carrying a product string.
std::optional<std::string> UsbProduct(const fs::path& sysDevice) {
    for (fs::path dir = sysDevice; dir.has_relative_path(); dir = dir.parent_path()) {
        if (auto product = ReadFirstLine(dir / "product"); product && !product->empty()) {
            return product;
        }
        if (dir.parent_path() == dir) {
            break;
        }
    }
    return std::nullopt;
}

bool IsUsb(const fs::path& sysDevice) {
    return sysDevice.string().find("/usb") != std::string::npos;
}

} // namespace

std::vector<PortCandidate> ScanSerialDevices(const std::string& sysRoot,
                                             const std::string& devRoot) {
    std::vector<PortCandidate> found;
    std::error_code ec;
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(fs::path(sysRoot) / "class" / "tty", ec)) {
        entries.push_back(entry.path());
    }
    std::sort(entries.begin(), entries.end());
    for (const auto& tty : entries) {
        std::error_code deviceEc;
        const fs::path sysDevice = fs::canonical(tty / "device", deviceEc);
        if (deviceEc) {
            continue; // consoles, pseudo-terminals and other ttys without hardware
        }
        const auto uartType = ReadFirstLine(tty / "type");
        if (uartType && *uartType == "0") {
            continue; // a UART slot the kernel reserves but no chip answered
        }
        const std::string name = tty.filename().string();
        const fs::path devicePath = fs::path(devRoot) / name;

        PortCandidate candidate;
        candidate.devicePath = devicePath.string();
        if (auto byId = ByIdLink(devRoot, devicePath)) {
            candidate.identity = "by-id:" + *byId;
        } else {
            candidate.identity = "sysfs:" + sysDevice.string();
        }
        if (uartType) {
            candidate.service = "Serial";
        } else {
            std::error_code driverEc;
            const fs::path driver = fs::read_symlink(tty / "device" / "driver", driverEc);
            if (!driverEc) {
                candidate.service = driver.filename().string();
            }
        }
        if (auto product = UsbProduct(sysDevice)) {
            candidate.description = *product;
        } else if (IsUsb(sysDevice)) {
            candidate.description = "USB Serial Port";
        } else {
            candidate.description = "Communications Port";
        }
        found.push_back(std::move(candidate));
    }
    return found;
}

std::vector<PortCandidate> ExtraDeviceCandidates(const std::vector<std::string>& paths) {
    std::vector<PortCandidate> found;
    std::set<std::string> seen;
    for (const auto& path : paths) {
        std::error_code ec;
        if (path.empty() || !seen.insert(path).second || !fs::exists(path, ec)) {
            continue;
        }
        PortCandidate candidate;
        candidate.identity = "path:" + path;
        candidate.description = "Serial device " + path;
        candidate.devicePath = path;
        found.push_back(std::move(candidate));
    }
    return found;
}

std::vector<PortCandidate> ScanSimulatorProcesses(const std::string& procRoot,
                                                  const std::string& ptsDir) {
    std::vector<PortCandidate> found;
    std::set<std::string> seen;
    std::error_code ec;
    for (const auto& process : fs::directory_iterator(procRoot, ec)) {
        const std::string pid = process.path().filename().string();
        const auto isDigit = [](unsigned char c) { return std::isdigit(c) != 0; };
        if (pid.empty() || !std::all_of(pid.begin(), pid.end(), isDigit)) {
            continue;
        }
        if (ReadFirstLine(process.path() / "comm").value_or("") != "orvane-sim") {
            continue;
        }
        std::error_code fdEc;
        for (const auto& fd : fs::directory_iterator(process.path() / "fd", fdEc)) {
            std::error_code linkEc;
            const std::string target = fs::read_symlink(fd.path(), linkEc).string();
            if (linkEc) {
                continue;
            }
            std::string pts;
            if (target == "/dev/ptmx" || target == "/dev/pts/ptmx") {
                std::ifstream info(process.path() / "fdinfo" / fd.path().filename());
                std::string line;
                while (std::getline(info, line)) {
                    if (line.rfind("tty-index:", 0) == 0) {
                        const auto digits = line.find_first_of("0123456789");
                        if (digits != std::string::npos) {
                            pts = (fs::path(ptsDir) / line.substr(digits)).string();
                        }
                    }
                }
            } else if (target.rfind("/dev/pts/", 0) == 0) {
                pts = (fs::path(ptsDir) / fs::path(target).filename()).string();
            }
            if (pts.empty() || !seen.insert(pts).second) {
                continue;
            }
            PortCandidate candidate;
            candidate.identity = "orvane-sim:" + pts;
            candidate.description = "orvane-sim on " + pts;
            candidate.devicePath = pts;
            candidate.remember = false;
            found.push_back(std::move(candidate));
        }
    }
    std::sort(found.begin(), found.end(), [](const PortCandidate& a, const PortCandidate& b) {
        return a.identity < b.identity;
    });
    return found;
}

} // namespace orvane
