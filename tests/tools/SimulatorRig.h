#pragma once

#include <chrono>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/RegisterImage.h"
#include "sim/SimulatorHost.h"

namespace orvane::test {

// Fast ticks for the end-to-end runs; the simulated controller's clock runs as many
// times faster, so that one tick is still one of its seconds.
inline constexpr int kFastTickMs = 20;
inline constexpr double kTimeScale = 1000.0 / kFastTickMs;

// A simulated controller on a pseudo-terminal, unpaced.
struct SimulatorRig {
    sim::SimulatorHost host;
    std::string path;

    explicit SimulatorRig(std::optional<RegisterTexts> configuration = std::nullopt) {
        sim::SimulatorOptions options;
        options.unpaced = true;
        options.timeScale = kTimeScale;
        options.configuration = std::move(configuration);
        const sim::StartResult started = host.Start(options);
        EXPECT_TRUE(started.ok) << started.error;
        path = started.path;
    }
};

// An image that differs from the template in several places.
inline CRegisterImage EditedImage() {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    image.SetText(0, "0002");
    image.SetText(180, "0003");
    image.SetText(186, "0045"); // name "EEFAULT"
    image.SetText(211, "0007");
    image.SetText(296, "0014");
    return image;
}

} // namespace orvane::test
