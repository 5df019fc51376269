// Runs a fuzz entry point over every file of its corpus folder (and any
// files or folders named on the command line), with the normal compiler:
// each stored input, crashers found earlier among them, must pass.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int replay(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 1;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> roots;
    for (int i = 1; i < argc; ++i)
        roots.emplace_back(argv[i]);
    if (roots.empty())
        roots.emplace_back(ZOLVAR_FUZZ_CORPUS);
    int files = 0, failures = 0;
    for (const auto& root : roots) {
        if (std::filesystem::is_directory(root)) {
            std::vector<std::filesystem::path> paths;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
                if (entry.is_regular_file())
                    paths.push_back(entry.path());
            std::sort(paths.begin(), paths.end());
            for (const auto& path : paths) {
                failures += replay(path);
                ++files;
            }
        } else {
            failures += replay(root);
            ++files;
        }
    }
    std::printf("%d inputs replayed\n", files);
    if (files == 0) {
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    return failures ? 1 : 0;
}
