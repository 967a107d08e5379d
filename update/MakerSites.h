#pragma once
// The maker's sites and support address, and the addresses formed from
// them. Each site is an origin with its scheme and an optional port
// ("https://update.kavrin.example", "http://127.0.0.1:8080"); the paths
// are appended to it.

#include "update/SetupRules.h"

#include <string>
#include <vector>

struct MakerSites
{
    std::wstring update;
    std::wstring download;
    std::wstring web;
    std::wstring supportEmail;
};

// The addresses this build was configured with. Defined alone in
// MakerSites.cpp, so that a test build can link its own definition.
MakerSites DefaultMakerSites();
// The keys whose signature a downloaded setup program must carry; none when
// the build was given none.
std::vector<SetupRules::KeyDigest> DefaultPublisherKeys();

namespace SiteAddress
{
// The version file of a program: "/Halvanworks/<base>Version.txt".
std::wstring VersionFile(const MakerSites& sites, const std::wstring& baseName);
// The setup program: "/<setupFileName>" on the download site.
std::wstring Setup(const MakerSites& sites, const std::wstring& setupFileName);
std::wstring HomePage(const MakerSites& sites);
// The product page opened after the update dialog's "View Halvanworks Website".
std::wstring ProductPage(const MakerSites& sites);
std::wstring MailTo(const MakerSites& sites);
} // namespace SiteAddress
