// KavrinLocalSite's maker: the local site's addresses, from its own generated BuildConfig.h, and the key that the
// site signs its setup programs with, made when the site starts and so read at run time.

#include "BuildConfig.h"
#include "TestSite.h"
#include "update/MakerSites.h"

#include <fstream>

MakerSites DefaultMakerSites()
{
    return {KAVRIN_UPDATE_SITE, KAVRIN_DOWNLOAD_SITE, KAVRIN_WEB_SITE, KAVRIN_SUPPORT_EMAIL};
}

std::vector<SetupRules::KeyDigest> DefaultPublisherKeys()
{
    std::string hex;
    std::ifstream(std::string("Z:") + KAVRIN_TEST_SITE_DIR + "/publisher-key.txt") >> hex;
    return SetupRules::ParsePublisherKeys(hex).value_or(std::vector<SetupRules::KeyDigest>{});
}
