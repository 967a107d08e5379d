#pragma once
// Downloads the setup program into the Halvanworks folder of the user's
// Downloads folder. Nothing is left behind unless every byte arrived: a
// failed, refused or short download deletes its partial file and is
// reported, by a message box or, for the errors of the Internet session,
// by an exception for the callback boundary.

#include "update/DownloadProgress.h"
#include "update/MakerSites.h"

#include <functional>
#include <string>

struct SetupDownload
{
    // The folder that received or was to receive the file; empty when the
    // Downloads folder could not be had.
    std::wstring folder;
    // The saved setup program; empty when nothing was saved.
    std::wstring file;
};

using DownloadProgressHandler = std::function<void(const DownloadProgress::Step& step)>;

SetupDownload DownloadSetup(const MakerSites& sites, const std::wstring& setupFileName,
                            const DownloadProgressHandler& progress);
