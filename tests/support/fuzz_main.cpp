// Runs a fuzz target (LLVMFuzzerTestOneInput) where clang's libFuzzer is not at hand: random inputs
// from a fixed seed, and mutations of earlier ones, for the seconds given (default 2). The same seed
// gives the same inputs, so a failure can be found again. Usage: TARGET [SECONDS [SEED [FOLDER]]]: the
// inputs in FOLDER are run first, and mutated as well.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2;
    const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    std::mt19937_64 random(seed);
    std::vector<std::vector<uint8_t>> seeds;
    if (argc > 3)
        for (const auto& entry : std::filesystem::directory_iterator(argv[3])) {
            std::ifstream file(entry.path(), std::ios::binary);
            seeds.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(seeds.back().data(), seeds.back().size());
        }
    std::vector<uint8_t> input;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long long runs = 0;
    while (std::chrono::steady_clock::now() < end) {
        for (int i = 0; i < 64; ++i, ++runs) {
            if (!seeds.empty() && random() % 4 == 0) { // a seed again, to be changed
                input = seeds[random() % seeds.size()];
            } else if (input.empty() || random() % 4 == 0) { // a fresh input
                input.resize(random() % 160);
                for (uint8_t& byte : input)
                    byte = uint8_t(random());
            } else { // a few bytes of the last one changed: near what it reached
                for (int change = int(random() % 4); change >= 0; --change)
                    input[random() % input.size()]
                        = uint8_t(random() % 3 == 0 ? 0xff * (random() & 1) : random());
            }
            LLVMFuzzerTestOneInput(input.data(), input.size());
        }
    }
    std::printf("%lld inputs from seed %llu\n", runs, seed);
    return 0;
}
