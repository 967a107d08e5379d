// Only the build's own addresses and keys: a test build links its own
// DefaultMakerSites and DefaultPublisherKeys instead of this file's.

#include "update/MakerSites.h"

#include "BuildConfig.h"

MakerSites DefaultMakerSites()
{
    return {KAVRIN_UPDATE_SITE, KAVRIN_DOWNLOAD_SITE, KAVRIN_WEB_SITE, KAVRIN_SUPPORT_EMAIL};
}

std::vector<SetupRules::KeyDigest> DefaultPublisherKeys()
{
    // The configuration step refuses a malformed list.
    return SetupRules::ParsePublisherKeys(KAVRIN_PUBLISHER_KEYS).value_or(std::vector<SetupRules::KeyDigest>{});
}
