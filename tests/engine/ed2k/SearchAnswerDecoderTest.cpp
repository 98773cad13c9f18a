#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Ed2kAnswer.h"
#include "engine/ed2k/HexText.h"
#include "engine/ed2k/SearchAnswerDecoder.h"

namespace {

using ed2k::DecodeSearchAnswer;

std::vector<std::uint8_t> Bytes(const std::string& hex) {
    std::string digits;
    for (char c : hex)
        if (c != ' ') digits += c;
    std::vector<std::uint8_t> out((digits.size() + 1) / 2);
    HexTextToBytes(digits.data(), digits.size(), out.data());
    return out;
}

// A plain answer: E3, length, 33, then the payload given as hex (count and records).
std::vector<std::uint8_t> Plain(const std::string& payloadHex) {
    const std::vector<std::uint8_t> payload = Bytes(payloadHex);
    return devnet::Frame(0xE3, 0x33, payload);
}

const std::string kHash1 = "11111111111111111111111111111111";
const std::string kHash2 = "22222222222222222222222222222222";
const std::string kHead = "01020304 3612 ";  // client id, client port
// Name tag for "ab": 82 01, length 2, 61 62.
const std::string kNameAb = "8201 0200 6162 ";
const std::string kNameCd = "8201 0200 6364 ";

struct Decoded {
    int value;
    QStringList texts;
};

Decoded Decode(const std::vector<std::uint8_t>& answer) {
    Decoded d;
    d.value = DecodeSearchAnswer(answer.data(), answer.size(), d.texts);
    return d;
}

TEST(DecodeSearchAnswer, TwoRecordsWithEveryTagGiveTwoResults) {
    const Decoded d = Decode(Plain("02000000 " + kHash1 + kHead + "03000000 " + kNameAb +
                                   "8302 00001000 8915 07 " + kHash2 + kHead + "03000000 " +
                                   kNameCd + "8302 00002000 8915 0C"));
    EXPECT_EQ(d.value, 2);
    EXPECT_EQ(d.texts,
              (QStringList{"ab", "1.00M", "7",
                           "ed2k://|file|ab|1048576|" + QString::fromStdString(kHash1) + "|/", "cd",
                           "2.00M", "12",
                           "ed2k://|file|cd|2097152|" + QString::fromStdString(kHash2) + "|/"}));
}

// One record with the given tags (hex), in an answer announcing one result.
std::vector<std::uint8_t> OneRecord(const std::string& hash, const std::string& head, int tags,
                                    const std::string& tagsHex) {
    char count[16];
    std::snprintf(count, sizeof count, "%02X000000 ", tags);
    return Plain("01000000 " + hash + head + count + tagsHex);
}

QString Link(const char* name, const char* size, const std::string& hash) {
    return QStringLiteral("ed2k://|file|%1|%2|%3|/")
        .arg(QLatin1String(name), QLatin1String(size), QString::fromStdString(hash));
}

// Each encoding a real server uses for the fields of a result.
TEST(DecodeSearchAnswer, ReadsEveryEncodingOfTheFields) {
    // A hash that holds the bytes of a sources tag and of a name tag.
    const std::string kMarkerHash = "00891500820100000000000000000000";
    const struct {
        const char* what;
        std::string hash;
        std::string head;
        int tags;
        std::string tagsHex;
        const char* name;
        const char* sizeText;
        const char* sources;
        const char* linkSize;
    } cases[] = {
        {"compact, LowID publisher on port 0", kHash1, "34120000 0000 ", 3,
         kNameAb + "8302 00001000 8915 07", "ab", "1.00M", "7", "1048576"},
        {"a size with a run of zero bytes", kHash1, kHead, 3, kNameAb + "8302 00000027 8915 01",
         "ab", "624.00M", "1", "654311424"},
        {"a 64-bit size", kHash1, kHead, 3, kNameAb + "8B02 0000004001000000 8915 01", "ab",
         "5.00G", "1", "5368709120"},
        {"a 32-bit size with its high half in tag 3A", kHash1, kHead, 4,
         kNameAb + "8302 10000000 893A 01 8915 01", "ab", "4.00G", "1", "4294967312"},
        {"the high half before the size", kHash1, kHead, 4,
         kNameAb + "893A 02 8302 00000000 8915 01", "ab", "8.00G", "1", "8589934592"},
        {"a one-byte size", kHash1, kHead, 3, kNameAb + "8902 FF 8915 01", "ab", "0.25K", "1",
         "255"},
        {"a two-byte size", kHash1, kHead, 3, kNameAb + "8802 3412 8915 01", "ab", "4.55K", "1",
         "4660"},
        {"16-bit sources", kHash1, kHead, 3, kNameAb + "8302 00001000 8815 2C01", "ab", "1.00M",
         "300", "1048576"},
        {"32-bit sources", kHash1, kHead, 3, kNameAb + "8302 00001000 8315 70110100", "ab", "1.00M",
         "70000", "1048576"},
        {"no sources tag", kHash1, kHead, 2, kNameAb + "8302 00001000", "ab", "1.00M", "0",
         "1048576"},
        {"a short string name", kHash1, kHead, 3, "9401 61626364 8302 00001000 8915 02", "abcd",
         "1.00M", "2", "1048576"},
        {"a string-named tag first", kHash1, kHead, 4,
         "03 0700 62697472617465 80000000 " + kNameAb + "8302 00001000 8915 03", "ab", "1.00M", "3",
         "1048576"},
        {"the first name counts", kHash1, kHead, 4, kNameAb + kNameCd + "8302 00001000 8915 03",
         "ab", "1.00M", "3", "1048576"},
        {"a hash holding tag bytes", kMarkerHash, kHead, 3, kNameAb + "8302 00001000 8915 04", "ab",
         "1.00M", "4", "1048576"},
        {"a name ends at its first zero byte", kHash1, kHead, 3,
         "8201 0400 61620063 8302 00001000 8915 01", "ab", "1.00M", "1", "1048576"},
        {"old-style tags", kHash1, kHead, 3,
         "02 0100 01 0200 6162  0B 0100 02 0000004001000000  03 0100 15 2C010000", "ab", "5.00G",
         "300", "5368709120"},
        {"old-style with a 32-bit size and other tags between", kHash1, kHead, 5,
         "02 0100 03 0500 566964656F  03 0100 02 00001000  04 0100 D3 0000803F  "
         "02 0100 01 0200 6162  03 0100 15 07000000",
         "ab", "1.00M", "7", "1048576"},
    };
    for (const auto& c : cases) {
        const Decoded d = Decode(OneRecord(c.hash, c.head, c.tags, c.tagsHex));
        EXPECT_EQ(d.value, 1) << c.what;
        EXPECT_EQ(d.texts,
                  (QStringList{c.name, c.sizeText, c.sources, Link(c.name, c.linkSize, c.hash)}))
            << c.what;
    }
}

// Which records of an answer give results, and the value returned.
TEST(DecodeSearchAnswer, ReadsTheRecordsTheCountAndTheBytesHold) {
    const std::string ab = kHash1 + kHead + "03000000 " + kNameAb + "8302 00001000 8915 07 ";
    const std::string cd = kHash2 + kHead + "03000000 " + kNameCd + "8302 00002000 8915 0C ";
    const std::string noName = kHash2 + kHead + "02000000 8302 00002000 8915 0C ";
    const std::string noSize = kHash2 + kHead + "02000000 " + kNameCd + "8915 0C ";
    const std::string unknownType = kHash2 + kHead + "03000000 " + kNameCd + "8C02 00 8915 0C ";
    const struct {
        const char* what;
        std::string payload;
        int value;
        QStringList names;
    } cases[] = {
        {"a trailing more-results byte", "02000000 " + ab + cd + "01", 2, {"ab", "cd"}},
        {"a count larger than the records", "05000000 " + ab + cd, 5, {"ab", "cd"}},
        {"a count smaller than the records", "01000000 " + ab + cd, 1, {"ab"}},
        {"a count of zero", "00000000 " + ab, 0, {}},
        {"a count of 2^31 or more", "FFFFFFFF " + ab + cd, -1, {}},
        {"a record without a name", "03000000 " + ab + noName + cd, 3, {"ab", "cd"}},
        {"a record without a size", "03000000 " + ab + noSize + cd, 3, {"ab", "cd"}},
        {"a record cut short", "02000000 " + ab + cd.substr(0, cd.size() - 10), 2, {"ab"}},
        {"a tag of unknown type ends the answer", "03000000 " + ab + unknownType + ab, 3, {"ab"}},
        {"a tag count past the bytes",
         "02000000 " + ab + kHash2 + kHead + "FFFFFFFF " + kNameCd,
         2,
         {"ab"}},
        {"no count at all", "0100", 0, {}},
    };
    for (const auto& c : cases) {
        const Decoded d = Decode(Plain(c.payload));
        EXPECT_EQ(d.value, c.value) << c.what;
        QStringList names;
        for (qsizetype i = 0; i < d.texts.size(); i += 4) names << d.texts[i];
        EXPECT_EQ(names, c.names) << c.what;
    }
}

TEST(DecodeSearchAnswer, KeepsTheCompleteSourcesOfEachResult) {
    const std::vector<std::uint8_t> answer = Plain(
        "02000000 " + kHash1 + kHead + "04000000 " + kNameAb + "8302 00001000 8930 05 8915 07 " +
        kHash2 + kHead + "03000000 " + kNameCd + "8302 00002000 8915 0C");
    QStringList texts;
    std::vector<std::uint32_t> complete;
    EXPECT_EQ(DecodeSearchAnswer(answer.data(), answer.size(), texts, &complete), 2);
    EXPECT_EQ(complete, (std::vector<std::uint32_t>{5, 0}));
}

// What a real server lists, in both dialects and packed: every file exactly.
TEST(DecodeSearchAnswer, EveryDialectGivesEveryFileExactly) {
    std::vector<devnet::Ed2kHit> hits = devnet::Ed2kHitsFor("星际", 7, 60, true);
    hits[3].name = std::string(600, 'x') + "中";  // over 499 bytes: cut
    const Decoded plain = Decode(devnet::SearchAnswerPacket(hits, false));
    const Decoded packed = Decode(devnet::SearchAnswerPacket(hits, true));
    const Decoded oldStyle =
        Decode(devnet::SearchAnswerPacket(hits, false, devnet::Ed2kDialect::OldStyle));
    EXPECT_EQ(plain.value, 60);
    EXPECT_EQ(packed.value, 60);
    EXPECT_EQ(oldStyle.value, 60);
    EXPECT_EQ(plain.texts, packed.texts);
    EXPECT_EQ(plain.texts, oldStyle.texts);
    ASSERT_EQ(plain.texts.size(), 240);
    for (int i = 0; i < 60; ++i) {
        const devnet::Ed2kHit& hit = hits[i];
        const std::string hash = devnet::HashHex(hit);
        const QString name = i == 3 ? QString(499, u'x') : QString::fromStdString(hit.name);
        EXPECT_EQ(plain.texts.mid(4 * i, 4),
                  (QStringList{name, ed2k::SizeText(hit.size), QString::number(hit.sources),
                               "ed2k://|file|" + ed2k::PercentEncodeUtf8(name) + "|" +
                                   QString::number(hit.size) + "|" + QString::fromStdString(hash) +
                                   "|/"}))
            << i;
    }
}

TEST(DecodeSearchAnswer, APackedAnswerThatInflatesInPartDecodesThatPart) {
    std::vector<std::uint8_t> packed =
        devnet::SearchAnswerPacket(devnet::Ed2kHitsFor("k", 1, 40), true);
    packed.resize(packed.size() / 2);
    const Decoded d = Decode(packed);
    EXPECT_GT(d.value, 0);
    EXPECT_GT(d.texts.size(), 4);
    EXPECT_LT(d.texts.size(), 160);

    const std::vector<std::uint8_t> junk = {0xD4, 1, 2, 3, 4, 0x33, 9, 9, 9, 9};
    const Decoded nothing = Decode(junk);
    EXPECT_EQ(nothing.value, 0);
    EXPECT_TRUE(nothing.texts.isEmpty());
}

TEST(SizeText, ChoosesTheUnitByTheSize) {
    const struct {
        std::uint64_t size;
        const char* text;
    } cases[] = {{0, "0.00K"},           {1048575, "1024.00K"}, {1048576, "1.00M"},
                 {734003200, "700.00M"}, {1073741824, "1.00G"}, {4294967295u, "4.00G"},
                 {5368709120u, "5.00G"}};
    for (const auto& c : cases) EXPECT_EQ(ed2k::SizeText(c.size), c.text) << c.size;
}

TEST(PercentEncodeUtf8, EscapesAllButTheKeptMarks) {
    EXPECT_EQ(ed2k::PercentEncodeUtf8(QStringLiteral("a b|c.avi")), "a%20b%7Cc.avi");
    EXPECT_EQ(ed2k::PercentEncodeUtf8(QStringLiteral("-_.!~*'()[],&#")), "-_.!~*'()[],&#");
    EXPECT_EQ(ed2k::PercentEncodeUtf8(QStringLiteral("中é%")), "%E4%B8%AD%C3%A9%25");
    // Each half of a surrogate pair on its own.
    EXPECT_EQ(ed2k::PercentEncodeUtf8(QString::fromUcs4(U"\U0001F600")), "%ED%A0%BD%ED%B8%80");
}

}  // namespace

namespace {

// The size text is printf's "%3.2f" with the unit; it must agree with printf on every value,
// halfway cases of the binary value included.
TEST(SizeText, AgreesWithPrintfEverywhere) {
    std::mt19937_64 random(11);
    std::vector<std::uint64_t> sizes = {
        0, 1, 5, 511, 512, 1023, 1024, 1048575, 1048576, 1073741823, 1073741824, 4294967295u};
    for (int i = 0; i < 200000; ++i) sizes.push_back(random() >> (random() % 64));
    for (const std::uint64_t size : sizes) {
        const double value = static_cast<double>(size);
        char expected[64];
        if (size < 1048576u)
            std::snprintf(expected, sizeof expected, "%3.2fK", value / 1024.0);
        else if (size < 1073741824u)
            std::snprintf(expected, sizeof expected, "%3.2fM", value / 1048576.0);
        else
            std::snprintf(expected, sizeof expected, "%3.2fG", value / 1073741824.0);
        ASSERT_EQ(ed2k::SizeText(size), QLatin1String(expected)) << size;
    }
}

}  // namespace
