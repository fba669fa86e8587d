#include "accurate/state/accurate_state.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>

#include "accurate/run/machine_state.h"
#include "persist/numbers.h"

namespace tov {

namespace {

constexpr std::string_view magic = "TOVSTATE";
constexpr uint16_t version = 3;

// Why the states of older versions cannot be taken up again: version 1 kept
// one simple bank register for every cartridge and its RAM in another
// layout, version 2 the sound unit without its wave channel's place.
constexpr std::string_view older_version_lacks[] = {
    "told cartridge controllers apart, and its cartridge cannot be restored.",
    "timed its sound unit as the console's, and its sound cannot be restored.",
};

// The sections of an image by tag, or the reason it is damaged.
result read_sections(std::string_view image, std::map<std::string, std::string_view>& found) {
    std::size_t position = magic.size() + 2;
    while (position < image.size()) {
        if (image.size() - position < 8) {
            return failure("the state is cut short.");
        }
        const std::string tag(image.substr(position, 4));
        const uint32_t length = number_at(image, position + 4, 4);
        position += 8;
        if (length > image.size() - position) {
            return failure("the state is cut short in its section \"" + tag + "\".");
        }
        found[tag] = image.substr(position, length);
        position += length;
    }
    return {};
}

}  // namespace

std::string accurate_state_image() {
    gather_accurate_state();
    std::string image(magic);
    append_number(image, version, 2);
    for (const state_section& section : accurate_state_sections()) {
        image.append(section.tag, 4);
        append_number(image, static_cast<uint32_t>(section.size), 4);
        image.append(static_cast<const char*>(section.record), section.size);
    }
    return image;
}

bool is_accurate_state(std::string_view image) {
    return image.substr(0, magic.size()) == magic;
}

result restore_accurate_state(std::string_view image) {
    if (!is_accurate_state(image) || image.size() < magic.size() + 2) {
        return failure("this is not a save state of the accurate machine.");
    }
    const uint32_t saved_version = number_at(image, magic.size(), 2);
    if (saved_version > version) {
        return failure("the state was saved by a newer version of TOV.");
    }
    if (saved_version < version) {
        const uint32_t lack = std::clamp<uint32_t>(saved_version, 1, version - 1) - 1;
        return failure(
            "the state was saved by an older version of TOV, before the accurate machine " +
            std::string(older_version_lacks[lack]));
    }
    std::map<std::string, std::string_view> found;
    if (const result read = read_sections(image, found); !read.ok) {
        return read;
    }
    for (const state_section& section : accurate_state_sections()) {
        const auto entry = found.find(section.tag);
        if (entry != found.end() && entry->second.size() != section.size) {
            return failure("its section \"" + std::string(section.tag) +
                           "\" does not fit this version of TOV.");
        }
    }
    for (const state_section& section : accurate_state_sections()) {
        const auto entry = found.find(section.tag);
        if (entry == found.end()) {
            section.power_on();
        } else {
            std::memcpy(section.record, entry->second.data(), section.size);
        }
    }
    for (const state_section& section : accurate_state_sections()) {
        section.settle();
    }
    adopt_accurate_state();
    return {};
}

}  // namespace tov
