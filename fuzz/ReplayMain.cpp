// Runs a fuzz target over saved inputs without libFuzzer, so that every build (gcc, the
// sanitizer build) replays the seeds and the inputs that once broke something. Each argument is
// a file or a folder of files; a target's failed check aborts the run.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadInput(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void Replay(const fs::path& path) {
    const std::vector<std::uint8_t> input = ReadInput(path);
    // An exactly sized copy: a read past the input's end shows up under the address sanitizer.
    std::vector<std::uint8_t> exact(input);
    exact.shrink_to_fit();
    LLVMFuzzerTestOneInput(exact.data(), exact.size());
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path argument(argv[i]);
        if (!fs::exists(argument)) {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 2;
        }
        if (!fs::is_directory(argument)) {
            Replay(argument);
            ++replayed;
            continue;
        }
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(argument)) {
            if (entry.is_regular_file()) {
                Replay(entry.path());
                ++replayed;
            }
        }
    }
    std::printf("replayed %zu inputs\n", replayed);
    return replayed == 0 ? 1 : 0;
}
