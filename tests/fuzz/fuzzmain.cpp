// The libFuzzer entry of one reader's fuzzer; KNTR_FUZZ_TARGET names the reader.

#include "fuzztargets.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const kntr::fuzz::Harness run = kntr::fuzz::harness(KNTR_FUZZ_TARGET);
    if (!run) {
        std::fprintf(stderr, "no fuzz target named %s\n", KNTR_FUZZ_TARGET);
        std::abort();
    }
    const std::string problem =
        run(QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!problem.empty()) {
        // A wrong result is a finding like a crash: libFuzzer keeps the input.
        std::fprintf(stderr, "%s: %s\n", KNTR_FUZZ_TARGET, problem.c_str());
        std::abort();
    }
    return 0;
}
