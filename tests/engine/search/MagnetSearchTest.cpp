#include <gtest/gtest.h>

#include "HttpHost.h"
#include "MagnetSite.h"
#include "engine/search/MagnetSearch.h"
#include "engine/search/MemoryWindow.h"
#include "engine/text/KeywordEncoding.h"
#include "res/ResourceIds.h"

namespace {

TEST(MagnetPageCount, ReadsTheFieldOneCharacterPastTheColon) {
    const struct {
        const char16_t* page;
        int pages;
    } cases[] = {
        {u"totalPages: 3, visiblePages: 7", 3},
        {u"totalPages:13, visiblePages: 7", 3},  // the first digit is skipped
        {u"totalPages: 3, no end marker", 0},
        {u"visiblePages: 7, totalPages: 3,", 0},  // end marker before the start: empty field
        {u"totalPages: 3 visiblePages", 0},       // no comma
        {u"totalPages: 0, visiblePages", 0},
        {u"totalPages: -2, visiblePages", 0},
        {u"nothing here", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MagnetPageCount(c.page), c.pages) << QString::fromUtf16(c.page).toStdString();
}

TEST(KeywordEncoding, OnlyWhatTheRequestLineCannotCarryIsEncoded) {
    EXPECT_EQ(EncodeKeywordForPath(QStringLiteral("abc-1.2_x")), "abc-1.2_x");
    EXPECT_EQ(EncodeKeywordForPath(QStringLiteral("a b/c#d?e%f")), "a%20b%2Fc%23d%3Fe%25f");
    EXPECT_EQ(EncodeKeywordForPath(QStringLiteral("中")), "%E4%B8%AD");
}

std::string Hit(const std::string& name, const std::string& size, const std::string& link) {
    return "<span><a href=\"/d\" target=\"_blank\">" + name +
           "</a></span><span>大小：</span>"
           "<span class=\"s\">" +
           size + "</span><a href=\"" + link + "\">磁力链接</a>\n";
}

std::string Script(int pages) {
    return "<script>x({totalPages: " + std::to_string(pages) + ", visiblePages: 5});</script>";
}

class MagnetSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_site.Start();
        m_host = QString::fromStdString(m_site.hostPort());
        m_dialog.setEnabled(res::IDC_SEARCH, false);  // as the driver leaves it
    }
    void Run(const QString& keyword = QStringLiteral("kw")) {
        MagnetSearch(keyword, m_host, m_dialog, m_list, m_cancel);
    }

    devnet::HttpHost m_site;
    QString m_host;
    MemoryDialog m_dialog;
    MemoryResultList m_list;
    std::atomic_bool m_cancel{false};
};

TEST_F(MagnetSearchTest, CutsNameSizeAndLinkOfEveryHitOnEveryPage) {
    m_site.SetOverride("/search/kw", 200,
                       Script(2) +
                           Hit("<span class='highlight'>kw</span> a &amp; <b>b</b>.mkv", "1.2 GB",
                               "magnet:?xt=urn:btih:AAA") +
                           Hit("two", "3 MB", "magnet:?xt=urn:btih:BBB&dn=two"));
    m_site.SetOverride("/search/kw/2", 200, Hit("three", "4 KB", "magnet:?xt=urn:btih:CCC"));
    m_site.SetOverride("/search/kw/3", 200, Hit("never read", "1", "magnet:?x"));
    Run();

    const auto rows = m_list.rows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][0], "kw a &amp; <b>b</b>.mkv");
    EXPECT_EQ(rows[0][1], "1.2 GB");
    EXPECT_EQ(rows[0][2], "");
    EXPECT_EQ(rows[0][3], "magnet:?xt=urn:btih:AAA");
    EXPECT_EQ(rows[1][3], "magnet:?xt=urn:btih:BBB&dn=two");
    EXPECT_EQ(rows[2][0], "three");
    // Page 1, page 2, and the page after the last one, whose text is not used.
    EXPECT_EQ(m_site.requests(),
              (std::vector<std::string>{"/search/kw", "/search/kw/2", "/search/kw/3"}));
    EXPECT_EQ(m_dialog.text(res::IDC_COUNT), "共搜到：3");
    EXPECT_TRUE(m_dialog.isEnabled(res::IDC_SEARCH));
}

TEST_F(MagnetSearchTest, AFailedLaterPageAddsNothingAndTheSearchGoesOn) {
    m_site.SetOverride("/search/kw", 200, Script(3) + Hit("one", "1", "magnet:?1"));
    m_site.SetOverride("/search/kw/2", 500, "oops");
    m_site.SetOverride("/search/kw/3", 200, Hit("three", "3", "magnet:?3"));
    std::vector<QString> counts;
    m_dialog.setTextObserver([&counts](int id, const QString& text) {
        if (id == res::IDC_COUNT) counts.push_back(text);
    });
    Run();
    EXPECT_EQ(m_list.rowCount(), 2);
    EXPECT_EQ(counts,
              (std::vector<QString>{"共搜到条目：0", "共搜到：1", "共搜到：1", "共搜到：2"}));
    EXPECT_EQ(m_site.requests().size(), 4u);
}

TEST_F(MagnetSearchTest, AFirstPageWithoutPageCountEndsWithNoRows) {
    m_site.SetOverride("/search/kw", 200,
                       "totalPages: 3, but no end marker" + Hit("x", "1", "magnet:?1"));
    Run();
    EXPECT_EQ(m_list.rowCount(), 0);
    EXPECT_EQ(m_dialog.text(res::IDC_COUNT), "共搜到条目：0");
    EXPECT_TRUE(m_dialog.isEnabled(res::IDC_SEARCH));
    EXPECT_EQ(m_site.requests().size(), 1u);
}

// A hit whose markers are not all in the rest of the page ends the page's hits; the rows
// before it stay, and the next page is read as usual.
TEST_F(MagnetSearchTest, AHitWithMissingMarkersEndsThePagesHits) {
    const std::string good = Hit("a", "1 GB", "magnet:?xt=a");
    const struct {
        const char* what;
        std::string broken;
    } cases[] = {
        {"no name end", "<a target=\"_blank\">broken <a href=\"magnet:?xt=1\">磁力链接"},
        {"no size label", "<a target=\"_blank\">b</a></span><a href=\"magnet:?xt=1\">磁力链接"},
        {"no link end", "<a target=\"_blank\">b</a></span>大小：<x\">1</span><a href=\"magnet:?1"},
        {"bare markers", std::string(50, 'x') + "target=\"_blank\">target=\"_blank\">"},
    };
    for (const auto& c : cases) {
        m_list.clear();
        m_site.SetOverride("/search/kw", 200, Script(2) + good + c.broken);
        m_site.SetOverride("/search/kw/2", 200, Hit("b", "2 GB", "magnet:?xt=b"));
        Run();
        const auto rows = m_list.rows();
        ASSERT_EQ(rows.size(), 2) << c.what;
        EXPECT_EQ(rows[0][3], "magnet:?xt=a") << c.what;
        EXPECT_EQ(rows[1][3], "magnet:?xt=b") << c.what;
    }
}

TEST_F(MagnetSearchTest, TheSiteBeingDownEndsQuietly) {
    m_site.Stop();
    Run();
    EXPECT_EQ(m_list.rowCount(), 0);
    EXPECT_TRUE(m_dialog.isEnabled(res::IDC_SEARCH));
}

TEST_F(MagnetSearchTest, ReadsTheDevnetSitesPages) {
    devnet::MagnetSite site;
    site.SetTotalHits(45);
    site.Start();
    MagnetSearch(QStringLiteral("电影 x"), QString::fromStdString(site.hostPort()), m_dialog,
                 m_list, m_cancel);
    const auto rows = m_list.rows();
    ASSERT_EQ(rows.size(), 45);
    for (const auto& row : rows) {
        EXPECT_TRUE(row[0].contains(QStringLiteral("电影 x"))) << row[0].toStdString();
        EXPECT_FALSE(row[0].contains(u'<'));
        EXPECT_TRUE(row[1].endsWith(QStringLiteral("B")));
        EXPECT_TRUE(row[3].startsWith(QStringLiteral("magnet:?xt=urn:btih:")));
        EXPECT_EQ(row[3].size(), 20 + 40);
    }
    EXPECT_EQ(site.requests().size(), 4u);  // 3 pages and one more
}

}  // namespace
