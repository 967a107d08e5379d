// Only the build's own addresses: a test build links its own
// DefaultMakerSites instead of this file's.

#include "update/MakerSites.h"

#include "BuildConfig.h"

MakerSites DefaultMakerSites()
{
    return {KAVRIN_UPDATE_SITE, KAVRIN_DOWNLOAD_SITE, KAVRIN_WEB_SITE, KAVRIN_SUPPORT_EMAIL};
}
