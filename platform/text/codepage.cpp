#include "platform/text/codepage.h"

#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <map>
#include <memory>
#include <algorithm>
#include <mutex>
#include <utility>

namespace vel {
namespace {

std::string IconvName(int codePage) {
    switch (codePage) {
        case kCodePageGB: return "CP936";
        case kCodePageBig5: return "CP950";
        case kCodePageUtf8: return "UTF-8";
        case 1200: return "UTF-16LE";
        case 20127: return "ASCII";
        default: return "CP" + std::to_string(codePage);
    }
}

// One converter per direction and thread: iconv descriptors carry state and are costly to open.
class Converter {
public:
    Converter(const std::string& to, const std::string& from) {
        cd_ = iconv_open(to.c_str(), from.c_str());
    }
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input; an input unit that cannot be converted or is malformed
    // yields `replacement` and is skipped (`skipUnit` bytes).
    // The input goes in pieces: after an unconvertible unit glibc redoes the whole internal
    // buffer of a multi-step conversion, so one long call with frequent misses takes
    // quadratic time. Pieces start small after a miss and grow while the text converts.
    std::string Run(const char* data, size_t size, const std::string& replacement, size_t skipUnit,
                    bool doubleByteInput = false) {
        constexpr size_t kMinPiece = 32, kMaxPiece = 8192;
        size_t pieceSize = kMinPiece;
        std::string out;
        out.resize(size * 2 + 16);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(data);
        size_t inLeft = size;
        size_t used = 0;
        while (inLeft > 0) {
            size_t piece = std::min(inLeft, pieceSize);
            bool last = piece == inLeft;
            size_t pieceLeft = piece;
            char* dst = out.data() + used;
            size_t dstLeft = out.size() - used;
            size_t rc = iconv(cd_, &in, &pieceLeft, &dst, &dstLeft);
            int error = errno;
            used = out.size() - dstLeft;
            inLeft -= piece - pieceLeft;
            if (rc != static_cast<size_t>(-1)) {
                pieceSize = std::min(pieceSize * 2, kMaxPiece);
                continue;
            }
            if (error == E2BIG) {
                out.resize(out.size() * 2);
            } else if (error == EINVAL && !last) {
                // A character cut by the end of the piece is whole in the next one.
            } else {  // EILSEQ or EINVAL: an unconvertible or truncated unit
                pieceSize = kMinPiece;
                if (out.size() - used < replacement.size() + 8) out.resize(out.size() * 2);
                out.replace(used, replacement.size(), replacement);
                used += replacement.size();
                size_t skip = std::min(skipUnit, inLeft);
                // A lead byte of a double-byte code page takes its trail byte with it.
                if (doubleByteInput && inLeft >= 2 && static_cast<unsigned char>(*in) >= 0x81) skip = 2;
                in += skip;
                inLeft -= skip;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        // Flush any shift state.
        char* dst = out.data() + used;
        size_t dstLeft = out.size() - used;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        used = out.size() - dstLeft;
        out.resize(used);
        return out;
    }

private:
    iconv_t cd_;
};

Converter& GetConverter(const std::string& to, const std::string& from) {
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<Converter>> cache;
    auto& slot = cache[{to, from}];
    if (!slot) {
        slot = std::make_unique<Converter>(to, from);
        if (!slot->Valid()) {
            slot.reset();
            throw Exception("Unsupported code page conversion " + from + " -> " + to);
        }
    }
    return *slot;
}

bool IsDoubleByte(int codePage) { return codePage == kCodePageGB || codePage == kCodePageBig5; }

bool IsAscii(const char* data, size_t size) {
    for (size_t i = 0; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80) return false;
    return true;
}

std::string Bytes(const std::u16string& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

}  // namespace

int SystemCodePage() {
    static const int codePage = [] {
        const char* value = std::getenv("VEL_ACP");
        if (value && *value) {
            char* end = nullptr;
            long cp = std::strtol(value, &end, 10);
            if (end && *end == '\0' && cp > 0) return static_cast<int>(cp);
        }
        return kCodePageGB;
    }();
    return codePage;
}

std::string WideToCodePage(const std::u16string& text, int codePage) {
    bool ascii = true;
    for (char16_t c : text)
        if (c >= 0x80) { ascii = false; break; }
    if (ascii) return std::string(text.begin(), text.end());
    std::string bytes = Bytes(text);
    return GetConverter(IconvName(codePage), "UTF-16LE").Run(bytes.data(), bytes.size(), "?", 2);
}

std::u16string CodePageToWide(const std::string& text, int codePage) {
    if (IsAscii(text.data(), text.size())) return std::u16string(text.begin(), text.end());
    std::string q("?\0", 2);
    std::string bytes = GetConverter("UTF-16LE", IconvName(codePage)).Run(text.data(), text.size(), q, 1, IsDoubleByte(codePage));
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return out;
}

std::string ConvertCodePage(const std::string& text, int fromCodePage, int toCodePage) {
    if (fromCodePage == toCodePage || IsAscii(text.data(), text.size())) return text;
    return GetConverter(IconvName(toCodePage), IconvName(fromCodePage)).Run(text.data(), text.size(), "?", 1, IsDoubleByte(fromCodePage));
}

std::string Utf8ToCodePage(const std::string& utf8, int codePage) {
    return ConvertCodePage(utf8, kCodePageUtf8, codePage);
}

std::string CodePageToUtf8(const std::string& text, int codePage) {
    return ConvertCodePage(text, codePage, kCodePageUtf8);
}

std::u16string Utf8ToWide(const std::string& utf8) { return CodePageToWide(utf8, kCodePageUtf8); }
std::string WideToUtf8(const std::u16string& text) { return WideToCodePage(text, kCodePageUtf8); }

std::string AnsiToUtf8(const std::string& text) { return CodePageToUtf8(text, SystemCodePage()); }
std::string Utf8ToAnsi(const std::string& utf8) { return Utf8ToCodePage(utf8, SystemCodePage()); }

std::string CN(const char* utf8) { return Utf8ToCodePage(utf8 ? utf8 : "", kCodePageGB); }

}  // namespace vel
