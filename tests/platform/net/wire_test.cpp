#include "platform/net/wire.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/automation/dispatch.h"

using vel::Variant;
using vel::VarType;
namespace net = vel::net;

namespace {

Variant RoundTrip(const Variant& v) { return net::DecodeVariant(net::EncodeVariant(v)); }

Variant Sample2D() {
    Variant a = Variant::Array2(0, 1, 1, 3);
    for (int j = 1; j <= 3; ++j) {
        a.At(0, j) = Variant("name" + std::to_string(j));
        a.At(1, j) = Variant(j * 10);
    }
    return a;
}

}  // namespace

TEST(WireCodec, EveryVariantTypeKeepsTypeAndValue) {
    Variant nested = Variant::Array(1, 3);
    nested[1] = Variant(u"宽");
    nested[2] = Variant::Of({Variant(std::string("\xB9\xFA", 2)), Variant(), Variant::Null()});
    nested[3] = Variant(true);
    const Variant cases[] = {
        Variant(), Variant::Null(), Variant(int16_t(-12)), Variant(-2147483647 - 1), Variant(2147483647),
        Variant(3.25), Variant(2.0), Variant(-0.0), Variant(1e300), Variant::FromDate(46000.5), Variant::FromDate(46001), Variant(u"中文 text"), Variant(std::u16string(1, u'\xD800')),
        Variant(u"\U0001F600"), Variant(true), Variant(false), Variant(uint8_t(255)),
        Variant(std::string("\x00\xff\xB9\xFA", 4)),  // byte text with NUL and GBK bytes stays bytes
        Variant(std::string()), Variant(std::u16string()), Variant::Array(5, 4), Variant::Array(-2, 0),
        nested, Sample2D(), Variant::Array2(0, -1, 0, 3)};
    for (const Variant& v : cases) {
        Variant back = RoundTrip(v);
        EXPECT_EQ(back.Type(), v.Type()) << v.Describe();
        EXPECT_TRUE(back == v) << v.Describe() << " came back as " << back.Describe();
        if (v.IsArray()) {
            ASSERT_EQ(back.DimCount(), v.DimCount());
            for (int d = 1; d <= v.DimCount(); ++d) {
                EXPECT_EQ(back.LowBound(d), v.LowBound(d));
                EXPECT_EQ(back.HighBound(d), v.HighBound(d));
            }
        }
    }
    Variant two = RoundTrip(Sample2D());
    EXPECT_EQ(two.At(0, 2).ToString(), "name2");
    EXPECT_EQ(two.At(1, 3).ToInt(), 30);
}

TEST(WireCodec, AutomationObjectsAreRefused) {
    class Dummy : public vel::IDispatch {
        Variant Invoke(const std::string&, vel::InvokeKind, std::vector<Variant>&) override { return {}; }
    };
    Variant object{vel::DispatchPtr(std::make_shared<Dummy>())};
    try {
        net::EncodeVariant(Variant::Of({Variant(1), object}));
        FAIL() << "an automation object was encoded";
    } catch (const vel::Exception& e) {
        EXPECT_NE(std::string(e.what()).find("automation object"), std::string::npos) << e.what();
    }
}

TEST(WireCodec, MessagesRoundTrip) {
    net::Message call;
    call.kind = net::MessageKind::Call;
    call.seq = 77;
    call.name = "InsertConTable";
    call.invokeKind = 2;
    call.args = {Variant::Of({Variant("a"), Variant(1)}), Variant(u"x")};
    std::string frame = net::EncodeFrame(call);
    ASSERT_EQ(net::FrameLength(reinterpret_cast<const unsigned char*>(frame.data())), frame.size() - 4);
    net::Message back = net::DecodePayload(std::string_view(frame).substr(4));
    EXPECT_EQ(back.kind, net::MessageKind::Call);
    EXPECT_EQ(back.seq, 77u);
    EXPECT_EQ(back.name, "InsertConTable");
    EXPECT_EQ(back.invokeKind, 2);
    ASSERT_EQ(back.args.size(), 2u);
    EXPECT_TRUE(back.args[0] == call.args[0]);

    net::Message reply;
    reply.kind = net::MessageKind::Reply;
    reply.seq = 77;
    reply.ok = false;
    reply.result = Variant(5);
    reply.changed = {{1, Variant("ref")}};
    reply.error = "\xB4\xED\xCE\xF3";  // byte text error stays bytes
    frame = net::EncodeFrame(reply);
    back = net::DecodePayload(std::string_view(frame).substr(4));
    EXPECT_FALSE(back.ok);
    EXPECT_EQ(back.error, reply.error);
    ASSERT_EQ(back.changed.size(), 1u);
    EXPECT_EQ(back.changed[0].first, 1u);
    EXPECT_EQ(back.changed[0].second.ToString(), "ref");
}

// Malformed input must raise vel::Exception and never crash or allocate what the bytes lie about.
TEST(WireCodec, MalformedInputIsRejected) {
    std::string deep;
    for (int i = 0; i < 200; ++i) deep += "\x93\xcd\x20\x00\x92\x00\x00\x91";  // [0x2000, [0,0], [ ...
    deep += '\xc0';  // well formed apart from its depth
    std::string goodCall = net::EncodeFrame([] {
        net::Message m;
        m.kind = net::MessageKind::Call;
        m.seq = 1;
        m.name = "SQLType";
        m.args = {Variant::Of({Variant("abc"), Variant(2)})};
        return m;
    }()).substr(4);
    struct Case {
        const char* what;
        std::string bytes;
        bool payload;  // a message payload rather than a single variant
    };
    const Case cases[] = {
        {"empty input", "", false},
        {"garbage", "\xc1\xc1\xc1", false},
        {"map is not a variant", "\x81\x01\x02", false},
        {"extension type", "\xd4\x01\x00", false},
        {"truncated text", "\xa5" "ab", false},
        {"huge declared text", std::string("\xdb\xff\xff\xff\xff", 5) + "x", false},
        {"huge declared byte text", std::string("\xc6\x7f\xff\xff\xff", 5), false},
        {"huge declared array", std::string("\xdd\xff\xff\xff\xff", 5) + "\x00", false},
        {"array bounds larger than its items", std::string("\x93\xcd\x20\x00\x92\x00\xce\x7f\xff\xff\xff\x90", 12), false},
        {"array bounds and items disagree", std::string("\x93\xcd\x20\x00\x92\x00\x01\x91\x00", 9), false},
        {"three dimensions", std::string("\x93\xcd\x20\x00\x96\x00\x00\x00\x00\x00\x00\x91\x00", 13), false},
        {"inverted bounds", std::string("\x93\xcd\x20\x00\x92\x05\x01\x90", 8), false},
        {"unknown tag", "\x92\x63\x00", false},
        {"integer beyond 32 bits", std::string("\xcf\x00\x00\x00\x01\x00\x00\x00\x00", 9), false},
        {"small integer out of range", std::string("\x92\x02\xcd\xff\xff", 5), false},
        {"invalid UTF-8", "\xa2\xc3\x28", false},
        {"trailing bytes", std::string("\xc0\xc0", 2), false},
        {"deep nesting", deep, false},
        {"truncated call", goodCall.substr(0, goodCall.size() - 3), true},
        {"call with trailing bytes", goodCall + "\xc0", true},
        {"unknown message kind", "\x92\x09\x00", true},
        {"call with wrong part count", "\x93\x01\x01\xa1x", true},
        {"negative invoke kind", "\x95\x01\x01\xa1x\xff\x90", true},
        {"not an array", "\xa3" "abc", true},
    };
    for (const Case& c : cases) {
        if (c.payload) EXPECT_THROW(net::DecodePayload(c.bytes), vel::Exception) << c.what;
        else EXPECT_THROW(net::DecodeVariant(c.bytes), vel::Exception) << c.what;
    }
    EXPECT_NO_THROW(net::DecodePayload(goodCall));
}

// Any prefix of a valid message and any single flipped byte: an exception or a value, never a crash.
TEST(WireCodec, TruncationsAndBitFlipsNeverCrash) {
    Variant v = Variant::Of({Sample2D(), Variant(u"宽文"), Variant(std::string("\xB9\xFA")), Variant::FromDate(1.5),
                             Variant::Of({Variant(int16_t(3)), Variant(uint8_t(4)), Variant::Null()})});
    std::string bytes = net::EncodeVariant(v);
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_THROW(net::DecodeVariant(std::string_view(bytes).substr(0, n)), vel::Exception) << n;
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (unsigned char flip : {0x01, 0x80, 0xff}) {
            std::string bad = bytes;
            bad[i] = static_cast<char>(bad[i] ^ flip);
            try {
                net::DecodeVariant(bad);
            } catch (const vel::Exception&) {
            }
        }
    }
}
