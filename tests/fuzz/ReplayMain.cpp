// A fuzz target as a plain program: every input of its checked-in corpus (or each file
// named on the command line) through LLVMFuzzerTestOneInput once. A broken property
// aborts, as under the fuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> files(argv + 1, argv + argc);
    if (files.empty()) {
        for (const auto& entry : std::filesystem::directory_iterator(VARNHOLT_FUZZ_CORPUS))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
    }
    if (files.empty()) {
        std::printf("no inputs in %s\n", VARNHOLT_FUZZ_CORPUS);
        return 1;
    }
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::printf("cannot read %s\n", file.c_str());
            return 1;
        }
        const std::vector<char> bytes(std::istreambuf_iterator<char>(in), {});
        static const std::uint8_t none = 0; // an empty input still has an address
        LLVMFuzzerTestOneInput(bytes.empty() ? &none
                                             : reinterpret_cast<const std::uint8_t*>(bytes.data()),
                               bytes.size());
    }
    std::printf("%zu inputs replayed\n", files.size());
    return 0;
}
