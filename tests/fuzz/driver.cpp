// Stand-in for libFuzzer when the fuzz targets are built with g++, so that every ctest run
// exercises the parsers under the sanitizers. It first replays every file of the seed corpus
// (the checked-in inputs, crash regressions among them), then feeds a fixed number of
// pseudo-random inputs: random bytes, bytes that are meaningful to our parsers, and mutations
// of the corpus files, which reach deeper than random bytes into formats with headers.
// Usage: fuzz_NAME COUNT CORPUS-FOLDER...
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

// The files of each folder in name order, so every run replays them alike. Empty when a folder
// is missing or holds no file: a target without its seed corpus is a mistake in the tree.
bool readCorpus(int argc, char** argv, std::vector<Bytes>& corpus) {
    for (int i = 2; i < argc; ++i) {
        std::error_code error;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        if (error || files.empty()) {
            std::fprintf(stderr, "no seed corpus in %s\n", argv[i]);
            return false;
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            std::ifstream stream(file, std::ios::binary);
            corpus.emplace_back(std::istreambuf_iterator<char>(stream),
                                std::istreambuf_iterator<char>());
        }
    }
    return true;
}

// A few edits of the kinds libFuzzer makes: overwrite, insert, erase, repeat a stretch, or
// splice in a piece of another corpus file.
Bytes mutated(const std::vector<Bytes>& corpus, std::mt19937& rng, const char* interesting,
              size_t interestingCount) {
    Bytes input = corpus[rng() % corpus.size()];
    const unsigned edits = 1 + rng() % 8;
    for (unsigned edit = 0; edit < edits; ++edit) {
        const size_t at = input.empty() ? 0 : rng() % (input.size() + 1);
        const uint8_t byte = rng() % 2
                                 ? static_cast<uint8_t>(rng())
                                 : static_cast<uint8_t>(interesting[rng() % interestingCount]);
        switch (rng() % 5) {
        case 0:
            if (at < input.size())
                input[at] = byte;
            break;
        case 1:
            input.insert(input.begin() + static_cast<long>(at), byte);
            break;
        case 2:
            if (at < input.size())
                input.erase(input.begin() + static_cast<long>(at),
                            input.begin() +
                                static_cast<long>(std::min(input.size(), at + 1 + rng() % 16)));
            break;
        case 3: {
            const size_t length = std::min<size_t>(input.size() - at, 1 + rng() % 32);
            const Bytes stretch(input.begin() + static_cast<long>(at),
                                input.begin() + static_cast<long>(at + length));
            input.insert(input.begin() + static_cast<long>(at), stretch.begin(), stretch.end());
            break;
        }
        default: {
            const Bytes& other = corpus[rng() % corpus.size()];
            if (other.empty())
                break;
            const size_t from = rng() % other.size();
            const size_t length = std::min<size_t>(other.size() - from, 1 + rng() % 64);
            input.insert(input.begin() + static_cast<long>(at),
                         other.begin() + static_cast<long>(from),
                         other.begin() + static_cast<long>(from + length));
            break;
        }
        }
    }
    return input;
}

} // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
    std::vector<Bytes> corpus;
    if (!readCorpus(argc, argv, corpus))
        return 1;
    for (const Bytes& input : corpus)
        LLVMFuzzerTestOneInput(input.data(), input.size());

    // Bytes the launcher's parsers treat specially: quotes, blanks, separators, digits, units.
    static const char interesting[] = "\"\" \t\r\n=[]+;.%\\/-_0123456789PpTtKkMmGgXsmx:\xff\xfe";
    const size_t interestingCount = sizeof interesting - 1;
    std::mt19937 rng(0x51a7e);
    Bytes input;
    for (long i = 0; i < count; ++i) {
        if (!corpus.empty() && i % 3 == 2) {
            input = mutated(corpus, rng, interesting, interestingCount);
        } else {
            input.resize(rng() % 96);
            const bool fromInteresting = (i % 3) != 0;
            for (auto& byte : input)
                byte = fromInteresting ? static_cast<uint8_t>(interesting[rng() % interestingCount])
                                       : static_cast<uint8_t>(rng());
        }
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%zu corpus files and %ld inputs, 0 failures\n", corpus.size(), count);
    return 0;
}
