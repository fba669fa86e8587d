#include "host/archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "test_archive.h"

namespace tov {
namespace {

using test::archive_format;
using test::archive_item;
using test::noise;
using test::test_archive;

constexpr std::size_t four_mib = 4 * 1024 * 1024;

// The names of the files in `folder`.
std::vector<std::string> files_in(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        names.push_back(file.path().filename().string());
    }
    return names;
}

TEST(Archive, ListsAndReadsCartridgeEntriesInArchiveOrder) {
    const archive_item first{"first.gb", noise(0x8000, 1)};
    const archive_item second{"Second.GBC", noise(0x4000, 2)};
    const archive_item notes{"readme.txt", {'h', 'i'}};
    const archive_item colour{"games/colour.cgb", noise(0x100, 3)};
    const archive_item climbing{"../../climb.gb", noise(0x200, 4)};
    struct case_t {
        archive_format format;
        std::vector<archive_item> items;
        std::string file_name;
        std::vector<std::string> listed;
    };
    const case_t cases[] = {
        {archive_format::zip, {first}, "one.zip", {"first.gb"}},
        {archive_format::seven_zip, {first}, "one.7z", {"first.gb"}},
        {archive_format::gzip, {first}, "first.gb.gz", {"first.gb"}},
        {archive_format::gzip, {second}, "Second.GBC.GZ", {"Second.GBC"}},
        {archive_format::zip,
         {second, notes, first, colour},
         "mixed.zip",
         {"Second.GBC", "first.gb", "games/colour.cgb"}},
        {archive_format::seven_zip,
         {second, notes, first, colour},
         "mixed.7z",
         {"Second.GBC", "first.gb", "games/colour.cgb"}},
        {archive_format::zip, {climbing}, "climb.zip", {"../../climb.gb"}},
        {archive_format::seven_zip, {climbing}, "climb.7z", {"../../climb.gb"}},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.file_name);
        const test_archive archive(test.format, test.items, test.file_name);
        EXPECT_TRUE(is_archive(archive.path));
        std::vector<std::string> names;
        const result listed = list_archive_cartridges(archive.path, names);
        ASSERT_TRUE(listed.ok) << listed.message;
        EXPECT_EQ(names, test.listed);

        // A gzip stream's bytes are the one item's, whatever its name.
        std::map<std::string, std::vector<uint8_t>> expected;
        for (const archive_item& item : test.items) {
            expected[test.format == archive_format::gzip ? names.front() : item.name] = item.bytes;
        }
        for (const std::string& name : names) {
            std::vector<uint8_t> bytes;
            const result read = read_archive_entry(archive.path, name, four_mib, bytes);
            ASSERT_TRUE(read.ok) << read.message;
            EXPECT_TRUE(bytes == expected[name]) << name;
        }
        EXPECT_EQ(files_in(archive.folder), std::vector<std::string>{test.file_name})
            << "reading writes nothing beside the archive";
        EXPECT_FALSE(std::filesystem::exists(archive.folder.parent_path() / "climb.gb"));
    }
}

TEST(Archive, ReadingStopsAtTheLimitWhateverTheEntryHolds) {
    struct case_t {
        archive_format format;
        std::size_t zeros;
        std::size_t limit;
        std::size_t read;
    };
    const case_t cases[] = {
        {archive_format::zip, 100 * 1024 * 1024, four_mib + 1, four_mib + 1},  // a zip bomb
        {archive_format::zip, 1000, 100, 100},
        {archive_format::zip, 1000, 1000, 1000},
        {archive_format::zip, 1000, 1001, 1000},
        {archive_format::seven_zip, 1000, 100, 100},
        {archive_format::seven_zip, 1000, 1001, 1000},
        {archive_format::gzip, 1000, 100, 100},
        {archive_format::gzip, 1000, 1001, 1000},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::Message() << test::file_ending(test.format) << " " << test.zeros);
        const test_archive archive(test.format, {{"zeros.gb", {}, test.zeros}},
                                   std::string("zeros.gb.") + test::file_ending(test.format));
        std::vector<uint8_t> bytes;
        const result read = read_archive_entry(archive.path, "zeros.gb", test.limit, bytes);
        ASSERT_TRUE(read.ok) << read.message;
        EXPECT_EQ(bytes.size(), test.read);
        EXPECT_LE(bytes.capacity(), test.limit) << "no more memory than the limit";
        EXPECT_TRUE(
            std::all_of(bytes.begin(), bytes.end(), [](uint8_t byte) { return byte == 0; }));
    }
}

}  // namespace
}  // namespace tov
