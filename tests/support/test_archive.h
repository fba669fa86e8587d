// Archives built inside a test with libarchive's writer: zip, 7z and gzip
// files holding the entries a test gives, each in a folder of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tov::test {

enum class archive_format { zip, seven_zip, gzip };

constexpr archive_format all_archive_formats[] = {archive_format::zip, archive_format::seven_zip,
                                                  archive_format::gzip};

// "zip", "7z" or "gz": the file name ending of each format.
const char* file_ending(archive_format format);

// An entry: its bytes, then `zeros` zero bytes, written a chunk at a time so
// that a huge entry costs no memory. A gzip file ignores the name.
struct archive_item {
    std::string name;
    std::vector<uint8_t> bytes;
    std::size_t zeros = 0;
};

// The bytes of the file at `path` as an entry named `name`.
archive_item item_from_file(const std::string& name, const std::string& path);

// An archive of `format` holding `items` in order, written as `file_name` in
// a fresh folder of its own, which goes with it. A gzip file holds one item.
class test_archive {
public:
    test_archive(archive_format format, const std::vector<archive_item>& items,
                 const std::string& file_name);
    ~test_archive();
    test_archive(const test_archive&) = delete;
    test_archive& operator=(const test_archive&) = delete;

    std::filesystem::path folder;
    std::string path;
};

// Cuts the file at `path` to half its length, as an interrupted copy would.
void cut_in_half(const std::string& path);

// Makes each 32-bit field of the zip at `path` that holds `size` claim
// `claimed` instead, as a damaged or forged archive would.
void claim_size(const std::string& path, uint32_t size, uint32_t claimed);

// Inverts the byte `back` bytes before the end of the file at `path`.
void flip_byte_from_end(const std::string& path, std::size_t back);

// `size` bytes that do not compress, the same in every run.
std::vector<uint8_t> noise(std::size_t size, uint32_t seed);

}  // namespace tov::test
