// One libFuzzer entry point, built once per reader with LAPWERK_FUZZ_READER naming it.
#include "harness.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using lapwerk::fuzz::Reader;
    const std::vector<std::string> problems =
        lapwerk::fuzz::RunInput(Reader::LAPWERK_FUZZ_READER, data, size);
    if (!problems.empty()) {
        for (const std::string& problem : problems) {
            std::fprintf(stderr, "broken property: %s\n", problem.c_str());
        }
        std::abort();
    }
    return 0;
}
