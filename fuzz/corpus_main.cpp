// Runs a fuzz target over the files named on the command line, and over
// every file in the directories named there, so that a seed corpus is a
// regression test in builds without libFuzzer. A failed property aborts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path path = argv[i];
        if (fs::is_directory(path)) {
            for (const auto& entry : fs::directory_iterator(path))
                if (entry.is_regular_file()) inputs.push_back(entry.path());
        } else {
            inputs.push_back(path);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& path : inputs) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            std::cerr << "cannot read " << path << '\n';
            return 1;
        }
        const std::string bytes((std::istreambuf_iterator<char>(file)), {});
        std::cout << path.filename().string() << '\n' << std::flush;
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    if (inputs.empty()) {
        std::cerr << "no corpus inputs\n";
        return 1;
    }
    std::cout << inputs.size() << " corpus inputs passed\n";
    return 0;
}
