#include "platform/midi_check.h"

#include <QtEndian>
#include <cstdint>
#include <optional>

namespace leafsong {

namespace {

using Bytes = const std::uint8_t*;

// A variable-length number of at most four bytes: its value and length, nothing when cut short
// or too long.
struct VarLen {
    std::uint32_t value;
    std::uint32_t length;
};

std::optional<VarLen> ReadVarLen(Bytes data, std::uint32_t size) {
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < 4; ++i) {
        if (size <= i) {
            return std::nullopt;
        }
        value = (value << 7) | (data[i] & 0x7f);
        if ((data[i] & 0x80) == 0) {
            return VarLen{value, i + 1};
        }
    }
    return std::nullopt;
}

// Walks one track the way the parser does: its running status starts as 0xff, a data byte takes
// the running status, and after each event a delta time follows unless the track has ended.
bool ReadTrack(Bytes data, std::uint32_t size) {
    std::uint32_t offset = 0;
    std::uint8_t running = 0xff;
    auto nextDelta = [&] {
        if (offset >= size) {
            return false;
        }
        const std::optional<VarLen> delta = ReadVarLen(data + offset, size - offset);
        if (!delta) {
            return false;
        }
        offset += delta->length;
        return true;
    };
    if (!nextDelta()) {
        return true;
    }
    for (;;) {
        if (offset >= size) {
            return false;
        }
        const std::uint8_t status = data[offset];
        std::uint8_t event = status;
        if ((status & 0x80) == 0) {
            event = (running & 0x80) != 0 ? running : 0;
        }
        std::uint32_t length = 0;
        switch (event & 0xf0) {
            case 0xf0: {
                if (event != 0xff && event != 0xf0 && event != 0xf7) {
                    return false;
                }
                // Meta events carry a type byte before their length.
                const std::uint32_t skip = event == 0xff ? 2 : 1;
                if (offset + skip > size) {
                    return false;
                }
                const std::uint32_t at = offset + skip;
                const std::optional<VarLen> len = ReadVarLen(data + at, size - at);
                if (!len || size - at - len->length < len->value) {
                    return false;
                }
                if (event == 0xff && data[offset + 1] == 0x51 && len->value < 3) {
                    return false;
                }
                offset = at + len->length + len->value;
                break;
            }
            case 0xc0:
            case 0xd0:
                length = 1;
                break;
            case 0x80:
            case 0x90:
            case 0xa0:
            case 0xb0:
            case 0xe0:
                length = 2;
                break;
            default:
                return false;
        }
        if (length > 0) {
            if (length > size - offset - 1) {
                return false;
            }
            offset += (status & 0x80) != 0 ? length + 1 : length;
        }
        if (event < 0xf8) {
            running = event;
        }
        if (!nextDelta()) {
            return true;
        }
    }
}

// The standard MIDI data inside a RIFF "RMID" file; nothing when the wrapper is broken.
std::optional<QByteArray> Unwrap(const QByteArray& file) {
    if (!file.startsWith("RIFF")) {
        return file;
    }
    if (file.size() < 12 || file.mid(8, 4) != "RMID") {
        return std::nullopt;
    }
    const auto* p = reinterpret_cast<Bytes>(file.constData());
    std::uint32_t riffLength = qFromLittleEndian<std::uint32_t>(p + 4);
    if (std::uint64_t(file.size()) < riffLength) {
        return std::nullopt;
    }
    std::uint64_t at = 12;
    for (;;) {
        if (riffLength < 8 || at + 8 > std::uint64_t(file.size())) {
            return std::nullopt;
        }
        const QByteArray type = file.mid(qsizetype(at), 4);
        const std::uint32_t length = qFromLittleEndian<std::uint32_t>(p + at + 4);
        riffLength -= 8;
        if (riffLength < length) {
            return std::nullopt;
        }
        riffLength -= length;
        at += 8;
        if (type == "data") {
            return file.mid(qsizetype(at), qsizetype(length));
        }
        at += length;
    }
}

}  // namespace

bool LooksLikeMidi(const QByteArray& head) {
    return head.startsWith("MThd") || (head.startsWith("RIFF") && head.mid(8, 4) == "RMID");
}

bool IsReadableMidi(const QByteArray& file) {
    const std::optional<QByteArray> smf = Unwrap(file);
    if (!smf || smf->isEmpty()) {
        return false;
    }
    const auto* p = reinterpret_cast<Bytes>(smf->constData());
    const std::uint64_t size = std::uint64_t(smf->size());
    std::uint64_t at = 0;
    int tracks = 0;
    int read = 0;
    while (at < size) {
        if (size - at < 8) {
            return false;
        }
        const std::uint32_t length = qFromBigEndian<std::uint32_t>(p + at + 4);
        if (size - at - 8 < length) {
            return false;
        }
        Bytes body = p + at + 8;
        if (smf->mid(qsizetype(at), 4) == "MThd") {
            if (length < 6) {
                return false;
            }
            const std::uint16_t format = qFromBigEndian<std::uint16_t>(body);
            tracks = qFromBigEndian<std::uint16_t>(body + 2);
            const std::uint16_t division = qFromBigEndian<std::uint16_t>(body + 4);
            if (format > 1 || (format == 0 && tracks > 1) || division == 0 ||
                (division & 0x8000) != 0) {
                return false;
            }
        } else if (smf->mid(qsizetype(at), 4) == "MTrk" && read < tracks) {
            ++read;
            if (!ReadTrack(body, length)) {
                return false;
            }
        }
        at += 8 + std::uint64_t(length);
    }
    return true;
}

}  // namespace leafsong
