#include "host/archive.h"

#include <archive.h>
#include <archive_entry.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <system_error>

#include "host/files.h"

namespace tov {

namespace {

enum class archive_kind { none, zip, seven_zip, gzip };

struct signature {
    std::string_view bytes;
    archive_kind kind;
};

// How each kind of file starts: a zip with its first entry or, when it holds
// none, with its end record; a 7z with its signature; a gzip stream with its
// magic and deflate, its only method.
constexpr signature signatures[] = {
    {std::string_view("PK\x03\x04", 4), archive_kind::zip},
    {std::string_view("PK\x05\x06", 4), archive_kind::zip},
    {std::string_view("7z\xBC\xAF\x27\x1C", 6), archive_kind::seven_zip},
    {std::string_view("\x1F\x8B\x08", 3), archive_kind::gzip},
};

constexpr std::size_t signature_length = 6;

constexpr std::string_view cartridge_endings[] = {".gb", ".gbc", ".cgb"};

constexpr std::size_t chunk_size = 64 * 1024;

using reader = std::unique_ptr<archive, decltype(&archive_read_free)>;

// Called with each cartridge entry in turn, while the reader stands at its
// data; returns whether to go on to the next one.
using entry_visit = std::function<bool(archive*, const std::string& name)>;

// libarchive's explanation, which some failures lack, without the line
// break that ends some.
std::string reason_of(archive* reading) {
    const char* text = archive_error_string(reading);
    std::string reason = text ? text : "it ends early or its data is corrupt";
    while (!reason.empty() && std::isspace(static_cast<unsigned char>(reason.back()))) {
        reason.pop_back();
    }
    return reason;
}

bool ends_with_ignoring_case(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) {
        return false;
    }
    return std::equal(ending.begin(), ending.end(), text.end() - ending.size(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

archive_kind kind_of(const std::string& path) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        return archive_kind::none;  // a folder or a pipe is never read
    }
    const file_head head = read_file_head(path, signature_length);
    if (!head.outcome.ok) {
        return archive_kind::none;
    }
    for (const signature& known : signatures) {
        if (head.content.starts_with(known.bytes)) {
            return known.kind;
        }
    }
    return archive_kind::none;
}

void support_kind(archive* reading, archive_kind kind) {
    switch (kind) {
        case archive_kind::zip: archive_read_support_format_zip(reading); break;
        case archive_kind::seven_zip: archive_read_support_format_7zip(reading); break;
        case archive_kind::gzip:
            archive_read_support_filter_gzip(reading);
            archive_read_support_format_raw(reading);
            break;
        case archive_kind::none: break;
    }
}

// Sets `reading` to a reader standing before the first entry of the archive
// at `path`; fails when the file is not a readable archive.
result open_reader(const std::string& path, reader& reading) {
    const archive_kind kind = kind_of(path);
    if (kind == archive_kind::none) {
        return failure(quoted(path) + " is not a zip, 7z or gzip archive.");
    }
    reading.reset(archive_read_new());
    if (!reading) {
        return unreadable(path, "out of memory");
    }
    support_kind(reading.get(), kind);
    if (archive_read_open_filename(reading.get(), path.c_str(), chunk_size) != ARCHIVE_OK) {
        return failure(quoted(path) + " is not a readable archive: " + reason_of(reading.get()) +
                       ".");
    }
    if (kind == archive_kind::gzip &&
        archive_filter_code(reading.get(), 0) != ARCHIVE_FILTER_GZIP) {
        // The raw format takes any bytes; without the gzip filter they would
        // be the compressed stream itself.
        return failure(quoted(path) + " is not a readable archive: its gzip header is damaged.");
    }
    return {};
}

// A gzip stream has no name: it is the file's, less a final ".gz".
std::string gzip_stream_name(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    if (ends_with_ignoring_case(name, ".gz")) {
        name.resize(name.size() - 3);
    }
    return name;
}

// The current entry's name as UTF-8 when it has that form; empty when it has
// no name that can be shown.
std::string entry_name(archive* reading, archive_entry* entry, const std::string& path) {
    if (archive_format(reading) == ARCHIVE_FORMAT_RAW) {
        return gzip_stream_name(path);
    }
    const char* name = archive_entry_pathname_utf8(entry);
    if (!name) {
        name = archive_entry_pathname(entry);
    }
    return name ? name : "";
}

// Visits the cartridge entries of the archive at `path` in order. Fails,
// naming the archive, when it cannot be opened or its entries cannot be
// walked.
result visit_cartridges(const std::string& path, const entry_visit& visit) {
    reader reading(nullptr, archive_read_free);
    if (const result opened = open_reader(path, reading); !opened.ok) {
        return opened;
    }
    archive_entry* entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reading.get(), &entry);
        if (status == ARCHIVE_EOF) {
            return {};
        }
        // A warning (such as a name in another character set) still gives an entry.
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
            return failure(quoted(path) + " is damaged: " + reason_of(reading.get()) + ".");
        }
        if (archive_entry_filetype(entry) != AE_IFREG) {
            continue;
        }
        const std::string name = entry_name(reading.get(), entry, path);
        if (is_cartridge_name(name) && !visit(reading.get(), name)) {
            return {};
        }
    }
}

uint32_t little_endian_word(const uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// libarchive's gzip filter leaves the stream's trailer unchecked: the last 8
// bytes of a file of one stream, its CRC-32 and its length modulo 2^32. Fails
// when they do not match `bytes`, saying what the entry does wrong.
result check_gzip_trailer(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary);
    uint8_t trailer[8];
    if (!file.seekg(-8, std::ios::end) || !file.read(reinterpret_cast<char*>(trailer), 8)) {
        return failure("ends before its gzip trailer");
    }
    const uint32_t declared = little_endian_word(trailer + 4);
    if (declared != static_cast<uint32_t>(bytes.size())) {
        return failure("does not match its declared size: it holds " +
                       std::to_string(bytes.size()) + " bytes, not " + std::to_string(declared));
    }
    if (little_endian_word(trailer) != crc32(0, bytes.data(), static_cast<uInt>(bytes.size()))) {
        return failure("is damaged: its CRC-32 does not match");
    }
    return {};
}

// Lets `bytes` take `count` more, growing as a vector does but never past
// `limit`, whatever the entry holds or claims.
void make_room(std::vector<uint8_t>& bytes, std::size_t count, std::size_t limit) {
    const std::size_t needed = bytes.size() + count;
    if (needed > bytes.capacity()) {
        bytes.reserve(std::min(std::max(needed, 2 * bytes.capacity()), limit));
    }
}

// Reads the data of the entry the reader stands at into `bytes`, stopping
// after `limit` bytes; when it fails, the message says what the entry does
// wrong. libarchive checks a zip or 7z entry's size and CRC-32 as it reads;
// a gzip stream's are checked here.
result read_entry_data(archive* reading, const std::string& path, std::size_t limit,
                       std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> chunk(chunk_size);
    while (bytes.size() < limit) {
        const std::size_t wanted = std::min(chunk.size(), limit - bytes.size());
        const la_ssize_t got = archive_read_data(reading, chunk.data(), wanted);
        if (got < 0) {
            return failure("cannot be decompressed: " + reason_of(reading));
        }
        if (got == 0) {
            break;
        }
        make_room(bytes, static_cast<std::size_t>(got), limit);
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
    }
    const bool whole = bytes.size() < limit;
    if (whole && archive_format(reading) == ARCHIVE_FORMAT_RAW) {
        return check_gzip_trailer(path, bytes);
    }
    return {};
}

}  // namespace

bool is_archive(const std::string& path) {
    return kind_of(path) != archive_kind::none;
}

bool is_cartridge_name(std::string_view name) {
    return std::any_of(
        std::begin(cartridge_endings), std::end(cartridge_endings),
        [name](std::string_view ending) { return ends_with_ignoring_case(name, ending); });
}

result list_archive_cartridges(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    const entry_visit note = [&names](archive*, const std::string& name) {
        names.push_back(name);
        return true;
    };
    if (const result visited = visit_cartridges(path, note); !visited.ok) {
        return visited;
    }
    if (names.empty()) {
        return failure(quoted(path) + " holds no cartridge: no entry ends in .gb, .gbc or .cgb.");
    }
    return {};
}

result read_archive_entry(const std::string& path, const std::string& name, std::size_t limit,
                          std::vector<uint8_t>& bytes) {
    bytes.clear();
    bool found = false;
    result data;
    const entry_visit read = [&](archive* reading, const std::string& label) {
        if (label != name) {
            return true;
        }
        found = true;
        data = read_entry_data(reading, path, limit, bytes);
        return false;
    };
    if (const result visited = visit_cartridges(path, read); !visited.ok) {
        return visited;
    }
    if (!found) {
        return failure(quoted(path) + " holds no cartridge named " + quoted(name) + ".");
    }
    if (!data.ok) {
        bytes.clear();
        return failure(quoted(name) + " in " + quoted(path) + " " + data.message + ".");
    }
    return {};
}

}  // namespace tov
