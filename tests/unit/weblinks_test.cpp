// The web links.

#include <gtest/gtest.h>

#include <string>

#include "services/WebLinks.h"
#include "tests/support/FakeServices.h"

TEST(WebLinks, HandsTheTwoTaggedAddressesToTheDesktop) {
    FakeServices services;
    openWebLink(services, 1);
    openWebLink(services, 2);
    ASSERT_EQ(services.urls.size(), 2u);
    const std::string site = VOK_SITE;
    EXPECT_EQ(services.urls[0], site + "/tictactoe/index.php?v=dur1.2a");
    EXPECT_EQ(services.urls[1], site + "?v=dur1.2a");
    if (site == "http://www.vok.example") {
        EXPECT_EQ(services.urls[0], "http://www.vok.example/tictactoe/index.php?v=dur1.2a");
        EXPECT_EQ(services.urls[1], "http://www.vok.example?v=dur1.2a");
    }
    for (const std::string& url : services.urls) {
        // One query parameter, and no slash in front of it on the home page link.
        EXPECT_EQ(url.find('?'), url.rfind('?'));
        EXPECT_EQ(url.find('&'), std::string::npos);
        EXPECT_EQ(url.substr(url.find('?')), "?v=dur1.2a");
    }
    EXPECT_NE(services.urls[1][services.urls[1].find('?') - 1], '/');
}

TEST(WebLinks, OtherNumbersOpenNothing) {
    FakeServices services;
    for (int n : {0, 3, -1, 10, 50}) {
        openWebLink(services, n);
        EXPECT_EQ(webLinkAddress(n), "");
    }
    EXPECT_TRUE(services.urls.empty());
}

TEST(WebLinks, PublisherAddressIsTheSiteItself) {
    EXPECT_EQ(publisherAddress(), VOK_SITE);
    EXPECT_EQ(webLinkAddress(2).rfind(publisherAddress(), 0), 0u);
}
