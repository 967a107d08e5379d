#include "update/DownloadProgress.h"

#include "update/TextFormat.h"

#include <algorithm>

namespace DownloadProgress
{
Step After(std::uint64_t received, std::optional<std::uint64_t> size)
{
    if (!size || *size == 0)
        return {FillFormat(L"%s bytes", {std::to_wstring(received)}), 0};
    const double share = static_cast<double>(received) / static_cast<double>(*size) * 100.0;
    const int percent = static_cast<int>(std::min(share, 100.0));
    return {FillFormat(L"%d%%", {DecimalText(percent)}), percent};
}

bool IsComplete(std::uint64_t received, std::optional<std::uint64_t> size) noexcept
{
    return !size || received >= *size;
}
} // namespace DownloadProgress
