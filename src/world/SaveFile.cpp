#include "world/SaveFile.h"

#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "core/PlayerFiles.h"
#include "world/World.h"
#include "world/WorldCodec.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
const std::string_view magic = "ORVSAVE\n";
const char* const fileName = "orvalle.save";
// The magic, the format, the length (two words) and the checksum.
const std::size_t headerSize = 8 + 4 + 8 + 4;
// Far beyond the save of the largest map the game plays.
const std::uint64_t largestFile = std::uint64_t{1} << 32;

// The whole of a regular file; throws Refused for anything else, before reading a byte of a pipe
// or a device, which could block or never end.
std::string readRegularFile(const std::string& file) {
    const int descriptor = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        throw SaveFile::Refused(file + ": cannot read it: " + std::strerror(errno));
    }
    struct stat status;
    std::string bytes;
    const bool regular = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    if (regular && static_cast<std::uint64_t>(status.st_size) <= largestFile) {
        bytes.resize(static_cast<std::size_t>(status.st_size));
        std::size_t got = 0;
        ssize_t n = 1;
        while (got < bytes.size() &&
               (n = read(descriptor, bytes.data() + got, bytes.size() - got)) > 0) {
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
    }
    close(descriptor);
    if (!regular) {
        throw SaveFile::Refused(file + ": not a regular file");
    }
    if (static_cast<std::uint64_t>(status.st_size) > largestFile) {
        throw SaveFile::Refused(file + ": too large to be a save");
    }
    return bytes;
}

// The world's bytes of a file's bytes, once the envelope says they are whole.
std::string_view worldBytesIn(std::string_view bytes) {
    if (bytes.size() < magic.size() || bytes.substr(0, magic.size()) != magic) {
        throw SaveFile::Refused("not an Orvalle save");
    }
    if (bytes.size() < headerSize) {
        throw SaveFile::Refused("cut short: " + std::to_string(bytes.size()) +
                                " bytes, less than a save's header");
    }
    ByteReader header(bytes.substr(magic.size(), headerSize - magic.size()));
    const std::uint32_t format = header.word("the header");
    const std::uint64_t length =
        header.word("the header") | std::uint64_t{header.word("the header")} << 32;
    const std::uint32_t checksum = header.word("the header");
    if (format > SaveFile::format) {
        throw SaveFile::Refused("written by a newer Orvalle (format " + std::to_string(format) +
                                "; this one reads format " + std::to_string(SaveFile::format) +
                                ")");
    }
    if (format == 0) {
        throw SaveFile::Refused("of an unknown format (0)");
    }
    const std::string_view world = bytes.substr(headerSize);
    if (world.size() != length) {
        throw SaveFile::Refused(world.size() < length
                                    ? "cut short: " + std::to_string(world.size()) + " of " +
                                          std::to_string(length) + " bytes"
                                    : std::to_string(world.size() - length) +
                                          " bytes more than the save holds");
    }
    if (ByteWriter::crc32(world) != checksum) {
        throw SaveFile::Refused("damaged: its checksum does not match");
    }
    return world;
}
} // namespace

std::optional<std::string> SaveFile::defaultFile() {
    return PlayerFiles::path(fileName);
}

std::string SaveFile::bytesOf(const World& world, const PlayState& play) {
    const std::string worldBytes = WorldCodec::encode(world, play);
    ByteWriter out;
    out.bytes(magic);
    out.word(format);
    out.word(static_cast<std::uint32_t>(worldBytes.size()));
    out.word(static_cast<std::uint32_t>(static_cast<std::uint64_t>(worldBytes.size()) >> 32));
    out.word(ByteWriter::crc32(worldBytes));
    out.bytes(worldBytes);
    return out.take();
}

SaveFile::Resumed SaveFile::worldOf(std::string_view bytes,
                                    const std::optional<std::string>& mediaFolder) {
    const std::string_view world = worldBytesIn(bytes);
    try {
        return WorldCodec::decode(world, mediaFolder);
    } catch (const ByteReader::Damaged& damage) {
        throw Refused(std::string("damaged: ") + damage.what());
    }
}

std::string SaveFile::write(const World& world, const std::string& file, const PlayState& play) {
    return PlayerFiles::writeWhole(file, bytesOf(world, play));
}

void SaveFile::check(const std::string& file) {
    const std::string bytes = readRegularFile(file);
    try {
        worldBytesIn(bytes);
    } catch (const Refused& refusal) {
        throw Refused(file + ": " + refusal.what());
    }
}

SaveFile::Resumed SaveFile::resume(const std::string& file,
                                   const std::optional<std::string>& mediaFolder) {
    const std::string bytes = readRegularFile(file);
    try {
        return worldOf(bytes, mediaFolder);
    } catch (const Refused& refusal) {
        throw Refused(file + ": " + refusal.what());
    }
}
