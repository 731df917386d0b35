// While a failed open is retried, the status line says why and what the user can do about it.
#include <gtest/gtest.h>

#include "SequencerFakes.h"

namespace orvane::test {
namespace {

TEST(SequencerOpenFailure, StatusLineSaysWhyAndRetryingGoesOn) {
    const struct {
        LinkOpenFailure failure;
        std::string status;
    } cases[] = {
        {{LinkOpenError::PermissionDenied, "/dev/ttyUSB0", "dialout", ""},
         "COM3 (/dev/ttyUSB0): permission denied - add your user to the 'dialout' group and log "
         "in again, retrying (2)"},
        {{LinkOpenError::PermissionDenied, "/dev/ttyS0", "", ""},
         "COM3 (/dev/ttyS0): permission denied - ask your administrator for read and write "
         "access to the device, retrying (2)"},
        {{LinkOpenError::InUse, "/dev/ttyUSB0", "", ""},
         "COM3 (/dev/ttyUSB0): is in use by another program - close it there or choose another "
         "port, retrying (2)"},
        {{LinkOpenError::NotPresent, "", "", ""},
         "COM3: is not present - plug the adapter in or choose another port, retrying (2)"},
        {{LinkOpenError::NotSerial, "/tmp/file", "", ""},
         "COM3 (/tmp/file): is not a serial port - choose another port, retrying (2)"},
        {{LinkOpenError::SettingsRefused, "/dev/ttyACM0", "", ""},
         "COM3 (/dev/ttyACM0): refuses 9600 baud, 8 data bits, no parity, 1 stop bit - choose "
         "another port, retrying (2)"},
        {{LinkOpenError::Unknown, "/dev/ttyUSB0", "", "Input/output error"},
         "COM3 (/dev/ttyUSB0): could not be opened (Input/output error), retrying (2)"},
    };
    for (const auto& c : cases) {
        SequencerRig rig;
        rig.failingOpens = 2;
        rig.openFailure = c.failure;
        rig.Connect(3);
        rig.Tick();
        EXPECT_EQ(rig.seq.StatusText(), c.status);
        rig.Tick();
        EXPECT_TRUE(rig.seq.IsConnected()) << c.status;
        EXPECT_EQ(rig.opens, 3) << c.status;
    }
}

} // namespace
} // namespace orvane::test
