// Cartridges kept in archives: zip, 7z and gzip files, read through
// libarchive. Entries only ever come out as bytes in memory: nothing is
// extracted to disk, so an entry's name is a label and never a path.
//
// A gzip file holds one stream and no names: its one entry is named after the
// file, less a final ".gz" ("game.gb.gz" holds "game.gb").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/result.h"

namespace tov {

// Whether the file at `path` starts as a zip, 7z or gzip file does; false for
// any other file and for one that cannot be read.
bool is_archive(const std::string& path);

// Whether `name` ends in ".gb", ".gbc" or ".cgb", in any case.
bool is_cartridge_name(std::string_view name);

// The names of the cartridge entries of the archive at `path`, in archive
// order. Fails, naming the archive, when it is not a readable archive, when
// it is damaged, or when it holds no cartridge.
result list_archive_cartridges(const std::string& path, std::vector<std::string>& names);

// Reads the first cartridge entry named `name` of the archive at `path` into
// `bytes`, stopping after `limit` bytes, so an entry that holds more costs no
// more memory than that. Fails, naming the archive and the entry, when there
// is no such entry or its data is damaged or ends before its declared size.
result read_archive_entry(const std::string& path, const std::string& name, std::size_t limit,
                          std::vector<uint8_t>& bytes);

}  // namespace tov
