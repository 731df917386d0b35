// Building the configuration text and encoding and decoding a configuration file.
#include <benchmark/benchmark.h>

#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"

using namespace orvane;

namespace {

RegisterImage TemplateImage() {
    RegisterImage image;
    image.LoadDefaultTemplate();
    return image;
}

void BuildText(benchmark::State& state) {
    RegisterImage image = TemplateImage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildConfigurationText(image));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(kConfigurationTextLength));
}
BENCHMARK(BuildText);

void EncodeFile(benchmark::State& state) {
    RegisterImage image = TemplateImage();
    const std::string text = BuildConfigurationText(image).text;
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeConfigurationFile(text));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(kConfigFileSize));
}
BENCHMARK(EncodeFile);

void DecodeFile(benchmark::State& state) {
    RegisterImage image = TemplateImage();
    const auto bytes = EncodeConfigurationFile(BuildConfigurationText(image).text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeConfigurationFile(bytes));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(kConfigFileSize));
}
BENCHMARK(DecodeFile);

} // namespace
