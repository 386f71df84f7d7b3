// GB <-> Big5: the bytes go to Unicode through iconv, OpenCC swaps simplified and traditional
// characters (s2t / t2s), and iconv writes the other code page. A character the target code
// page lacks is retried in a variant the target holds (Taiwan forms for Big5, then the
// character as it came in) before it becomes '?'.
#include "vellanguage_abi.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include <opencc/SimpleConverter.hpp>

#define VELLANGUAGE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr char kReplacement = '?';

// ---- Texts handed across the interface --------------------------------------------------

void ReleaseText(VelText* text) {
    if (!text) return;
    std::free(text->data);
    text->data = nullptr;
    text->length = 0;
    text->release = nullptr;
}

char kOutOfMemory[] = "out of memory";

void Deliver(VelText* result, std::string_view bytes) {
    char* data = static_cast<char*>(std::malloc(bytes.size() + 1));
    if (!data) {
        // Nothing to free: the reason is static.
        *result = VelText{kOutOfMemory, sizeof kOutOfMemory - 1, nullptr};
        return;
    }
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    data[bytes.size()] = '\0';
    *result = VelText{data, bytes.size(), ReleaseText};
}

// ---- iconv --------------------------------------------------------------------------------

// An iconv descriptor carries conversion state, so each thread keeps its own.
class Codec {
public:
    Codec(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Codec() {
        if (Valid()) iconv_close(cd_);
    }
    Codec(const Codec&) = delete;
    Codec& operator=(const Codec&) = delete;
    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return cd_; }

private:
    iconv_t cd_;
};

struct ThreadCodecs {
    Codec gbToUnicode{"UTF-8", "CP936"};
    Codec big5ToUnicode{"UTF-8", "CP950"};
    Codec unicodeToGB{"CP936", "UTF-8"};
    Codec unicodeToBig5{"CP950", "UTF-8"};
};

ThreadCodecs& Codecs() {
    thread_local ThreadCodecs codecs;
    return codecs;
}

bool IsAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

// Runs `codec` over `input` and appends to `out`. A unit it cannot convert goes to
// `onFailure(at, left, out)`, which appends a replacement and returns how many bytes to skip.
// The input goes in pieces: after a miss, glibc redoes the whole internal buffer of a
// multi-step conversion, so one long call with frequent misses costs quadratic time. Pieces
// start small after a miss and grow while the text converts.
template <typename OnFailure>
void Run(const Codec& codec, std::string_view input, std::string& out, OnFailure onFailure) {
    constexpr size_t kMinPiece = 32, kMaxPiece = 8192;
    size_t pieceSize = kMinPiece;
    char buffer[4 * kMaxPiece];
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    iconv(codec.Get(), nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        size_t piece = std::min(inLeft, pieceSize);
        bool last = piece == inLeft;
        size_t pieceLeft = piece;
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t rc = iconv(codec.Get(), &in, &pieceLeft, &dst, &dstLeft);
        int error = errno;
        out.append(buffer, dst);
        inLeft -= piece - pieceLeft;
        if (rc != static_cast<size_t>(-1)) {
            pieceSize = std::min(pieceSize * 2, kMaxPiece);
            continue;
        }
        // A full buffer is emptied above; a character cut by the end of a piece is whole in
        // the next one.
        if (error == E2BIG || (error == EINVAL && !last)) continue;
        pieceSize = kMinPiece;
        size_t skip = std::min(onFailure(in, inLeft, out), inLeft);
        in += skip;
        inLeft -= skip;
        iconv(codec.Get(), nullptr, nullptr, nullptr, nullptr);
    }
}

// Length of the byte unit that failed to decode: a lead byte takes a plausible trail byte
// with it, so one bad character yields one '?', and an ASCII byte after it survives.
size_t BadUnitLength(const char* p, size_t left) {
    auto lead = static_cast<unsigned char>(p[0]);
    if (lead < 0x81 || lead == 0xFF || left < 2) return 1;
    auto trail = static_cast<unsigned char>(p[1]);
    return trail >= 0x40 && trail != 0x7F && trail != 0xFF ? 2 : 1;
}

// Double-byte code page -> UTF-8; malformed or unmapped units become '?'.
std::string Decode(const Codec& codec, std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2 + 16);
    Run(codec, bytes, out, [](const char* at, size_t left, std::string& o) {
        o += kReplacement;
        return BadUnitLength(at, left);
    });
    return out;
}

size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

size_t CountCodePoints(std::string_view utf8) {
    size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

// One character in the target code page, or empty when it has no form there.
std::string EncodeOne(const Codec& codec, std::string_view ch) {
    if (ch.empty()) return {};
    char buf[32];
    char* in = const_cast<char*>(ch.data());
    size_t inLeft = ch.size();
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    iconv(codec.Get(), nullptr, nullptr, nullptr, nullptr);
    size_t rc = iconv(codec.Get(), &in, &inLeft, &dst, &dstLeft);
    iconv(codec.Get(), nullptr, nullptr, nullptr, nullptr);
    if (rc == static_cast<size_t>(-1) || inLeft != 0) return {};
    return std::string(buf, dst);
}

// Offers replacements for a character (UTF-8) the target lacks; `index` counts characters
// of the converted text from 0.
class Alternatives {
public:
    virtual ~Alternatives() = default;
    virtual std::vector<std::string> For(std::string_view ch, size_t index) = 0;
};

// UTF-8 -> double-byte code page. A character the code page lacks becomes the first of its
// alternatives that it holds, else '?'.
std::string Encode(const Codec& codec, std::string_view utf8, Alternatives& alternatives) {
    std::string out;
    out.reserve(utf8.size());
    size_t index = 0;  // characters before `counted`
    const char* counted = utf8.data();
    Run(codec, utf8, out, [&](const char* at, size_t left, std::string& o) {
        index += CountCodePoints(std::string_view(counted, static_cast<size_t>(at - counted)));
        size_t len = std::min(Utf8Length(static_cast<unsigned char>(*at)), left);
        std::string replacement(1, kReplacement);
        for (const std::string& alt : alternatives.For(std::string_view(at, len), index)) {
            std::string encoded = EncodeOne(codec, alt);
            if (!encoded.empty()) {
                replacement = std::move(encoded);
                break;
            }
        }
        o += replacement;
        counted = at + len;
        ++index;
        return len;
    });
    return out;
}

// ---- OpenCC ---------------------------------------------------------------------------

// One converter per configuration for the whole process, built on first use; OpenCC's
// conversion is read-only, so threads share it.
class Engine {
public:
    explicit Engine(const char* config) {
        try {
            converter_ = std::make_unique<opencc::SimpleConverter>(config);
        } catch (const std::exception& e) {
            error_ = std::string("cannot open OpenCC configuration ") + config + ": " + e.what();
        }
    }
    bool Ready() const { return static_cast<bool>(converter_); }
    const std::string& Error() const { return error_; }

    // OpenCC stops at a NUL byte, so the text goes through piece by piece.
    std::string Convert(std::string_view utf8) const {
        std::string out;
        out.reserve(utf8.size() + utf8.size() / 8);
        while (true) {
            size_t nul = utf8.find('\0');
            std::string_view piece = utf8.substr(0, nul);
            if (!piece.empty()) out += converter_->Convert(piece.data(), piece.size());
            if (nul == std::string_view::npos) break;
            out += '\0';
            utf8.remove_prefix(nul + 1);
        }
        return out;
    }

private:
    std::unique_ptr<opencc::SimpleConverter> converter_;
    std::string error_;
};

const Engine& SimplifiedToTraditional() {
    static const Engine engine("s2t.json");
    return engine;
}
const Engine& TraditionalToSimplified() {
    static const Engine engine("t2s.json");
    return engine;
}
// Taiwan forms of traditional characters: Big5 holds some of them where it lacks OpenCC's
// standard form (钵 -> 鉢, which Big5 lacks, -> 缽).
const Engine& TaiwanVariants() {
    static const Engine engine("t2tw.json");
    return engine;
}

// The character of the source at the same position, when the conversion kept the number of
// characters (OpenCC's tables map character for character almost always).
class SourceCharacters {
public:
    SourceCharacters(std::string_view source, std::string_view converted) : source_(source), converted_(converted) {}

    std::string_view At(size_t index) {
        if (!built_) Build();
        if (index + 1 >= starts_.size()) return {};
        return source_.substr(starts_[index], starts_[index + 1] - starts_[index]);
    }

private:
    // Built on the first miss of a text; most texts have none.
    void Build() {
        built_ = true;
        if (CountCodePoints(source_) != CountCodePoints(converted_)) return;
        for (size_t i = 0; i < source_.size(); ++i)
            if ((static_cast<unsigned char>(source_[i]) & 0xC0) != 0x80) starts_.push_back(i);
        starts_.push_back(source_.size());
    }

    std::string_view source_;
    std::string_view converted_;
    std::vector<size_t> starts_;
    bool built_ = false;
};

class ToBig5Alternatives : public Alternatives {
public:
    ToBig5Alternatives(std::string_view source, std::string_view converted) : source_(source, converted) {}
    std::vector<std::string> For(std::string_view ch, size_t index) override {
        std::vector<std::string> alts;
        const Engine& taiwan = TaiwanVariants();
        if (taiwan.Ready()) alts.push_back(taiwan.Convert(ch));
        alts.emplace_back(source_.At(index));
        return alts;
    }

private:
    SourceCharacters source_;
};

class ToGBAlternatives : public Alternatives {
public:
    ToGBAlternatives(std::string_view source, std::string_view converted) : source_(source, converted) {}
    std::vector<std::string> For(std::string_view, size_t index) override { return {std::string(source_.At(index))}; }

private:
    SourceCharacters source_;
};

enum class Direction { GBToBig5, Big5ToGB };

int Convert(Direction direction, const VelText* source, VelText* result) {
    if (!result) return 0;
    *result = VelText{nullptr, 0, nullptr};
    try {
        if (!source || (!source->data && source->length != 0)) {
            Deliver(result, "no source text");
            return 0;
        }
        std::string_view bytes(source->data ? source->data : "", source->length);
        // ASCII is the same in both code pages and has no simplified or traditional form.
        if (IsAscii(bytes)) {
            Deliver(result, bytes);
            return 1;
        }
        bool toBig5 = direction == Direction::GBToBig5;
        const Engine& engine = toBig5 ? SimplifiedToTraditional() : TraditionalToSimplified();
        if (!engine.Ready()) {
            Deliver(result, engine.Error());
            return 0;
        }
        ThreadCodecs& codecs = Codecs();
        const Codec& decoder = toBig5 ? codecs.gbToUnicode : codecs.big5ToUnicode;
        const Codec& encoder = toBig5 ? codecs.unicodeToBig5 : codecs.unicodeToGB;
        if (!decoder.Valid() || !encoder.Valid()) {
            Deliver(result, "iconv lacks CP936 or CP950");
            return 0;
        }
        std::string unicode = Decode(decoder, bytes);
        std::string converted = engine.Convert(unicode);
        std::string out;
        if (toBig5) {
            ToBig5Alternatives alternatives(unicode, converted);
            out = Encode(encoder, converted, alternatives);
        } else {
            ToGBAlternatives alternatives(unicode, converted);
            out = Encode(encoder, converted, alternatives);
        }
        Deliver(result, out);
        return 1;
    } catch (const std::bad_alloc&) {
        *result = VelText{kOutOfMemory, sizeof kOutOfMemory - 1, nullptr};
    } catch (const std::exception& e) {
        // Nothing has been delivered yet when anything throws.
        Deliver(result, e.what());
    }
    return 0;
}

}  // namespace

VELLANGUAGE_EXPORT int GBtoBIG5(const VelText* source, VelText* result) {
    return Convert(Direction::GBToBig5, source, result);
}

VELLANGUAGE_EXPORT int BIG5toGB(const VelText* source, VelText* result) {
    return Convert(Direction::Big5ToGB, source, result);
}
