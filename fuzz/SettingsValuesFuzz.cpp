// Registry values as another program may have left them: the decoders of
// numbers, texts and the date record, and the rules that read, keep and
// reset the settings over them.

#include "FuzzText.h"

#include "common/KavrinSettings.h"
#include "reset/ResetMessage.h"
#include "tests/support/MemorySettingsStore.h"

#include <algorithm>
#include <iterator>

namespace
{
void CheckDecoders(std::span<const std::byte> data)
{
    if (const auto number = Settings::DecodeNumber(data))
    {
        const auto bytes = Settings::EncodeNumber(*number);
        FUZZ_CHECK(std::equal(data.begin(), data.end(), bytes.begin()));
        FUZZ_CHECK(std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(data.size()), bytes.end(),
                               [](std::byte b) { return b == std::byte{0}; }));
    }
    const std::wstring text = Settings::DecodeText(data);
    FUZZ_CHECK(text.size() <= data.size() / 2 && text.find(L'\0') == std::wstring::npos);
    if (const auto record = SyncDateRecord::Decode(data))
    {
        const auto bytes = record->Encode();
        FUZZ_CHECK(std::equal(data.begin(), data.end(), bytes.begin()));
    }
}

// The input as a series of values: a name, a type, a length and the data.
CMemorySettingsStore StoreOf(std::span<const std::byte> data)
{
    CMemorySettingsStore store;
    while (data.size() >= 3)
    {
        const auto& spec = Settings::kValues[std::to_integer<std::size_t>(data[0]) % std::size(Settings::kValues)];
        const auto type = static_cast<CMemorySettingsStore::Type>(std::to_integer<int>(data[1]) % 3);
        const std::size_t length = std::min(std::to_integer<std::size_t>(data[2]), data.size() - 3);
        store.PutRaw(spec.name, type, {data.begin() + 3, data.begin() + 3 + static_cast<std::ptrdiff_t>(length)});
        data = data.subspan(3 + length);
    }
    return store;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::span<const std::byte> data(reinterpret_cast<const std::byte*>(bytes), size);
    CheckDecoders(data);

    // What the main window reads it keeps, unchanged, through a save.
    CMemorySettingsStore store = StoreOf(data);
    KavrinSettings settings;
    if (LoadKavrinSettings(store, settings, L"pool.ntp.org") && settings.CurrentServer.size() <= Settings::kMaxTextLength)
    {
        SaveOptionGroup(store, settings);
        KavrinSettings again;
        FUZZ_CHECK(LoadKavrinSettings(store, again, L"pool.ntp.org"));
        FUZZ_CHECK(again.CurrentServer == settings.CurrentServer && again.SyncOnStart == settings.SyncOnStart &&
                   again.TimeToExit == settings.TimeToExit);
    }
    ReadOnceADayRecord(store);

    // After the reset utility's OK there is nothing left for it to reset.
    const ResetSettings before = ReadResetSettings(store);
    FUZZ_CHECK(!Reset::ComposeMessage(before).empty());
    ApplyReset(store, Reset::ChooseReset(before));
    const ResetChoice after = Reset::ChooseReset(ReadResetSettings(store));
    FUZZ_CHECK(!after.SyncOncePerDay && !after.ExitAfterSync);
    return 0;
}
