#include "ControllerTexts.h"

#include "core/image/Checksum.h"

namespace orvane::sim {

const char* const kMenuText = "\r\n--- SETUP MENU ---\r\n"
                              " s  show configuration (press twice)\r\n"
                              " r  receive configuration\r\n"
                              " x  restore defaults\r\n"
                              " z  restart\r\n"
                              " space  leave menu\r\n";
const char* const kPressAgainText = "\r\nPress s again to show the configuration\r\n";
const char* const kSendConfigurationText = "\r\nReady for configuration text\r\n";
const char* const kConfigurationAcceptedText = "\r\nConfiguration accepted\r\n";
const char* const kChecksumRefusedText = "\r\nChecksum error - configuration refused\r\n";
const char* const kMalformedRefusedText = "\r\nBad configuration text - refused\r\n";
const char* const kTimeoutRefusedText = "\r\nConfiguration text incomplete - refused\r\n";
const char* const kDefaultsRestoredText = "\r\nFactory defaults restored\r\n";
const char* const kRestartingText = "\r\nRestarting...\r\n";
const char* const kLeaveMenuText = "\r\n";

std::string IdentificationText() {
    return "ORV-FC4 Fan and Thermal Controller\r\n"
           "Firmware Version 4.12.0  Build 2026-11-20 14:31\r\n"
           "Bootloader 1.3.2\r\n"
           "Serial Number 0417-2291-SIM\r\n"
           "Hardware: 4 fan outputs  2 sensor inputs  2 switch inputs  4 alarm outputs\r\n"
           "ModBus slave on RS485\r\n"
           "Simulated: no hardware\r\n";
}

std::string ConfigurationDump(const RegisterImage& config) {
    std::string dump = "\r\nConfiguration\r\n<\r";
    for (int i = 0; i < kRegisterCount; ++i) {
        dump += config.Text(i);
        if (i % 20 == 19) {
            dump += "\r\n";
        }
    }
    dump += ChecksumText(config.Texts());
    dump += "> END\r\n";
    return dump;
}

} // namespace orvane::sim
