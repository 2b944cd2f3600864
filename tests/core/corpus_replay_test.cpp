// Replays every seed and every input that fuzzing once broke through the fuzz harness, so
// the ordinary test run keeps the readers robust.
#include "../../fuzz/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lapwerk::fuzz {
namespace {

std::vector<std::filesystem::path> CorpusFiles(Reader reader) {
    const std::filesystem::path folder =
        std::filesystem::path(LAPWERK_TEST_DATA) / "corpus" / CorpusFolder(reader);
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CorpusReplay : public testing::TestWithParam<Reader> {};

TEST_P(CorpusReplay, EveryFileIsHandledSoundly) {
    const std::vector<std::filesystem::path> files = CorpusFiles(GetParam());
    ASSERT_GE(files.size(), 5u) << "the corpus folder " << CorpusFolder(GetParam())
                                << " is missing or nearly empty";
    for (const std::filesystem::path& file : files) {
        const std::string bytes = FileBytes(file);
        const std::vector<std::string> problems =
            RunInput(GetParam(), reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        for (const std::string& problem : problems) {
            ADD_FAILURE() << file.filename().string() << ": " << problem;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, CorpusReplay,
                         testing::Values(Reader::PartsDef, Reader::SectionsOwn, Reader::Tr2,
                                         Reader::Trk),
                         [](const testing::TestParamInfo<Reader>& row) {
                             return std::string(CorpusFolder(row.param));
                         });

} // namespace
} // namespace lapwerk::fuzz
