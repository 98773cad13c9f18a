#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Ed2kAnswer.h"
#include "ed2k/HexText.h"
#include "ed2k/SearchAnswerDecoder.h"

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

TEST(DecodeSearchAnswer, AMarkerAtAnOddPositionIsFound) {
    // The bytes 38 91 57 hold "8915" from digit 1: the record ends there, the sources are 0x70.
    const Decoded d =
        Decode(Plain("01000000 " + kHash1 + kHead + "02000000 3891 5703" + std::string(60, '4')));
    EXPECT_EQ(d.value, 1);
    ASSERT_EQ(d.texts.size(), 4);
    EXPECT_EQ(d.texts[0], "");
    EXPECT_EQ(d.texts[2], "112");
}

TEST(DecodeSearchAnswer, NamesSizesAndCountsFollowTheCuttingRules) {
    // First record without a name: empty. Second without a name: carries "" on; third named,
    // two-byte size 3412 -> 4660. A record without any size tag gives no result.
    const Decoded d =
        Decode(Plain("05000000 " + kHash1 + kHead + "02000000 8302 00001000 8915 01 " + kHash2 +
                     kHead + "02000000 " + kNameAb + "8302 00001000 8915 02 " + kHash1 + kHead +
                     "01000000 8915 03 " +  // no size: skipped
                     kHash2 + kHead + "02000000 8802 3412 8915 04 "));
    EXPECT_GT(d.value, 0);  // five announced, fewer found
    ASSERT_EQ(d.texts.size(), 12);
    EXPECT_EQ(d.texts[0], "");
    EXPECT_EQ(d.texts[4], "ab");
    EXPECT_EQ(d.texts[8], "ab");  // no name tag: the previous name again
    EXPECT_EQ(d.texts[9], "4.55K");
    EXPECT_EQ(d.texts[11], "ed2k://|file|ab|4660|" + QString::fromStdString(kHash2) + "|/");
}

TEST(DecodeSearchAnswer, TheAnnouncedCountDecidesTheValue) {
    const std::string record = kHash1 + kHead + "03000000 " + kNameAb + "8302 00001000 8915 07 ";
    const Decoded none = Decode(Plain("00000000 " + record));
    EXPECT_EQ(none.value, 0);
    EXPECT_EQ(none.texts.size(), 4);  // the first record is still read
    const Decoded more = Decode(Plain("05000000 " + record + record + record));
    EXPECT_EQ(more.value, 2);
    EXPECT_EQ(more.texts.size(), 12);
    const Decoded negative = Decode(Plain("FFFFFFFF " + record + record));
    EXPECT_LE(negative.value, 0);
}

TEST(DecodeSearchAnswer, PlainAndPackedAnswersDecodeAlike) {
    std::vector<devnet::Ed2kHit> hits = devnet::Ed2kHitsFor("星际", 7, 30);
    hits[3].name = std::string(600, 'x') + "中";  // over 499 bytes: cut
    hits[3].sources = 9;
    const Decoded plain = Decode(devnet::SearchAnswerPacket(hits, false));
    const Decoded packed = Decode(devnet::SearchAnswerPacket(hits, true));
    EXPECT_EQ(plain.value, 30);
    EXPECT_EQ(packed.value, 30);
    EXPECT_EQ(plain.texts, packed.texts);
    ASSERT_EQ(plain.texts.size(), 120);
    for (int i = 0; i < 30; ++i) {
        if (i == 3) continue;
        EXPECT_EQ(plain.texts[4 * i], QString::fromStdString(hits[i].name));
        EXPECT_EQ(plain.texts[4 * i + 2], QString::number(hits[i].sources));
        std::string hash;
        AppendHexImage(hits[i].hash.data(), 16, hash);
        // Every hash comes out right, the one after a record ending in its sources tag too.
        EXPECT_TRUE(plain.texts[4 * i + 3].endsWith(QString::fromStdString("|" + hash + "|/")))
            << plain.texts[4 * i + 3].toStdString();
    }
    EXPECT_EQ(plain.texts[12], QString(499, u'x'));
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
}

TEST(SizeText, ChoosesTheUnitByTheSize) {
    const struct {
        std::uint64_t size;
        const char* text;
    } cases[] = {{0, "0.00K"},           {1048575, "1024.00K"}, {1048576, "1.00M"},
                 {734003200, "700.00M"}, {1073741824, "1.00G"}, {4294967295u, "4.00G"}};
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
