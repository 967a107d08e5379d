#include "update/MakerSites.h"

namespace
{
// An origin given with a trailing slash still takes paths that start with one.
std::wstring Origin(std::wstring origin)
{
    while (!origin.empty() && origin.back() == L'/')
        origin.pop_back();
    return origin;
}
} // namespace

namespace SiteAddress
{
std::wstring VersionFile(const MakerSites& sites, const std::wstring& baseName)
{
    return Origin(sites.update) + L"/Halvanworks/" + baseName + L"Version.txt";
}

std::wstring Setup(const MakerSites& sites, const std::wstring& setupFileName)
{
    return Origin(sites.download) + L"/" + setupFileName;
}

std::wstring HomePage(const MakerSites& sites)
{
    return sites.web;
}

std::wstring ProductPage(const MakerSites& sites)
{
    return Origin(sites.web) + L"/Halvanworks";
}

std::wstring MailTo(const MakerSites& sites)
{
    return L"mailto:" + sites.supportEmail;
}
} // namespace SiteAddress
