#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/ed2k/Ed2kPackets.h"
#include "engine/ed2k/HexText.h"

namespace {

std::vector<std::uint8_t> Hex(const char* text) {
    std::vector<std::uint8_t> out((std::strlen(text) + 1) / 2);
    HexTextToBytes(text, std::strlen(text), out.data());
    return out;
}

TEST(HexTextToBytes, ReadsPairsOfDigitsOfEitherCase) {
    EXPECT_EQ(Hex("744A"), (std::vector<std::uint8_t>{0x74, 0x4A}));
    EXPECT_EQ(Hex("030100113c000000"),
              (std::vector<std::uint8_t>{0x03, 0x01, 0x00, 0x11, 0x3C, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Hex("ABC"), (std::vector<std::uint8_t>{0xAB, 0xC0}));   // odd count: low half 0
    EXPECT_EQ(Hex("G1zZ"), (std::vector<std::uint8_t>{0x01, 0x00}));  // non-digits count as 0
}

TEST(LoginPacket, IsTheSixtyEightBytesOfTheTable) {
    const auto& packet = ed2k::LoginPacket();
    const std::vector<std::uint8_t> expected =
        Hex("E33F00000001"
            "A1F27D40E98C6B52D3047FE81A9C26D0"  // user hash: 31 digits, the last byte's low half 0
            "00000000744A04000000"
            "020100010600"
            "5175696D626F"  // user name "Quimbo", no terminator
            "030100113C000000"
            "0301002019030000"
            "030100FB80C80000");
    ASSERT_EQ(expected.size(), 68u);
    EXPECT_EQ(std::vector<std::uint8_t>(packet.begin(), packet.end()), expected);
    EXPECT_EQ(packet[44], 0x03);
}

TEST(SearchRequestPacket, CarriesTheUtf8KeywordWithItsLength) {
    EXPECT_EQ(ed2k::SearchRequestPacket(QStringLiteral("abc")), Hex("E3070000001601030061626"
                                                                    "3"));
    const auto chinese = ed2k::SearchRequestPacket(QStringLiteral("中文"));
    ASSERT_EQ(chinese.size(), 15u);
    EXPECT_EQ(chinese[1], 10);  // n + 4 with n = 6
    EXPECT_EQ(chinese[7], 6);

    // Over 199 bytes: cut at the last whole character that fits (66 x 3 bytes = 198).
    const auto cut = ed2k::SearchRequestPacket(QString(100, QChar(0x4E2D)));
    EXPECT_EQ(cut[7], 198);
    EXPECT_EQ(cut.size(), 9u + 198u);
    EXPECT_EQ(ed2k::SearchRequestPacket(QString(250, u'a'))[7], 199);
}

}  // namespace
