#include "test_archive.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>

#include "test_cartridge.h"

namespace tov::test {

namespace {

using writer = std::unique_ptr<archive, decltype(&archive_write_free)>;

constexpr std::size_t zero_chunk = 64 * 1024;

void expect_ok(archive* writing, int status, const char* step) {
    EXPECT_EQ(status, ARCHIVE_OK) << step << ": " << archive_error_string(writing);
}

void choose_format(archive* writing, archive_format format) {
    switch (format) {
        case archive_format::zip:
            expect_ok(writing, archive_write_set_format_zip(writing), "zip format");
            break;
        case archive_format::seven_zip:
            expect_ok(writing, archive_write_set_format_7zip(writing), "7z format");
            break;
        case archive_format::gzip:
            expect_ok(writing, archive_write_add_filter_gzip(writing), "gzip filter");
            expect_ok(writing, archive_write_set_format_raw(writing), "raw format");
            break;
    }
}

void write_data(archive* writing, const uint8_t* data, std::size_t size) {
    EXPECT_EQ(archive_write_data(writing, data, size), static_cast<la_ssize_t>(size))
        << archive_error_string(writing);
}

void write_item(archive* writing, const archive_item& item) {
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(),
                                                                        archive_entry_free);
    archive_entry_set_pathname(entry.get(), item.name.c_str());
    archive_entry_set_size(entry.get(), static_cast<la_int64_t>(item.bytes.size() + item.zeros));
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    expect_ok(writing, archive_write_header(writing, entry.get()), item.name.c_str());
    write_data(writing, item.bytes.data(), item.bytes.size());
    const std::vector<uint8_t> zeros(zero_chunk, 0);
    for (std::size_t left = item.zeros; left > 0;) {
        const std::size_t size = std::min(left, zeros.size());
        write_data(writing, zeros.data(), size);
        left -= size;
    }
}

}  // namespace

const char* file_ending(archive_format format) {
    switch (format) {
        case archive_format::zip: return "zip";
        case archive_format::seven_zip: return "7z";
        case archive_format::gzip: return "gz";
    }
    return "";
}

archive_item item_from_file(const std::string& name, const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    return {name, {std::istreambuf_iterator<char>(file), {}}};
}

test_archive::test_archive(archive_format format, const std::vector<archive_item>& items,
                           const std::string& file_name)
    : folder(temp_path("_archive")), path((folder / file_name).string()) {
    std::filesystem::create_directories(folder);
    writer writing(archive_write_new(), archive_write_free);
    choose_format(writing.get(), format);
    expect_ok(writing.get(), archive_write_open_filename(writing.get(), path.c_str()), "open");
    if (format == archive_format::gzip) {
        EXPECT_EQ(items.size(), 1u) << "a gzip file holds one stream";
    }
    for (const archive_item& item : items) {
        write_item(writing.get(), item);
    }
    expect_ok(writing.get(), archive_write_close(writing.get()), "close");
}

test_archive::~test_archive() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void cut_in_half(const std::string& path) {
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
}

void claim_size(const std::string& path, uint32_t size, uint32_t claimed) {
    std::string bytes;
    {
        std::ifstream file(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), {});
    }
    const auto field = [](uint32_t value) {
        return std::string{static_cast<char>(value), static_cast<char>(value >> 8),
                           static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
    };
    int replaced = 0;
    for (std::size_t at = bytes.find(field(size)); at != std::string::npos;
         at = bytes.find(field(size), at + 4)) {
        bytes.replace(at, 4, field(claimed));
        ++replaced;
    }
    EXPECT_GT(replaced, 0) << path << " holds no field of " << size;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void flip_byte_from_end(const std::string& path, std::size_t back) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekg(-static_cast<std::streamoff>(back), std::ios::end);
    const int byte = file.get();
    file.seekp(-static_cast<std::streamoff>(back), std::ios::end);
    file.put(static_cast<char>(~byte));
    EXPECT_TRUE(file.good()) << path;
}

std::vector<uint8_t> noise(std::size_t size, uint32_t seed) {
    std::mt19937 generator(seed);
    std::vector<uint8_t> bytes(size);
    std::generate(bytes.begin(), bytes.end(), [&generator] { return generator() & 0xFF; });
    return bytes;
}

}  // namespace tov::test
