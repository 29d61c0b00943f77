// Runs files through a fuzz target without libFuzzer, so that a normal (or sanitizer) build checks
// the corpus and every input that once found a fault. Arguments are files or folders (every file in
// them, recursively); an empty or missing folder is an error, so that a lost corpus does not pass.

#include "FuzzTarget.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " FILE_OR_FOLDER...\n";
        return 2;
    }
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg = argv[i];
        std::error_code ec;
        if (fs::is_directory(arg, ec)) {
            const auto before = files.size();
            for (const auto& entry : fs::recursive_directory_iterator(arg))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            if (files.size() == before) {
                std::cerr << arg.string() << ": no inputs in this folder\n";
                return 1;
            }
        } else if (fs::is_regular_file(arg, ec)) {
            files.push_back(arg);
        } else {
            std::cerr << arg.string() << ": no such file or folder\n";
            return 1;
        }
    }
    // In a fixed order, so that a failure names the same input every time.
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::cerr << "replay " << file.string() << " (" << data.size() << " bytes)\n";
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    }
    std::cout << files.size() << " inputs replayed\n";
    return 0;
}
