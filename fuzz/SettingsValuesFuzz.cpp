// Registry values as another program may have left them: the decoders of numbers,
// texts and the date record, and the rules that read, keep and reset the settings.
#include "FuzzText.h"
#include "common/KavrinSettings.h"
#include "reset/ResetMessage.h"
#include "tests/support/MemorySettingsStore.h"

#include <algorithm>
#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    std::span<const std::byte> data(reinterpret_cast<const std::byte*>(bytes), size);
    if (const auto number = Settings::DecodeNumber(data)) // encoded again: the same bytes, zero-padded
    {
        const auto encoded = Settings::EncodeNumber(*number);
        FUZZ_CHECK(std::equal(data.begin(), data.end(), encoded.begin()) &&
                   std::all_of(encoded.begin() + static_cast<std::ptrdiff_t>(size), encoded.end(),
                               [](std::byte b) { return b == std::byte{0}; }));
    }
    const std::wstring text = Settings::DecodeText(data);
    FUZZ_CHECK(text.size() <= size / 2 && text.find(L'\0') == std::wstring::npos);
    if (const auto record = SyncDateRecord::Decode(data))
        FUZZ_CHECK(std::equal(data.begin(), data.end(), record->Encode().begin()));

    CMemorySettingsStore store; // the input as values: a name, a type, a length and the data
    while (data.size() >= 3)
    {
        const auto length = static_cast<std::ptrdiff_t>(std::min(std::to_integer<std::size_t>(data[2]), data.size() - 3));
        store.PutRaw(Settings::kValues[std::to_integer<std::size_t>(data[0]) % std::size(Settings::kValues)].name,
                     static_cast<CMemorySettingsStore::Type>(std::to_integer<int>(data[1]) % 3),
                     {data.begin() + 3, data.begin() + 3 + length});
        data = data.subspan(3 + static_cast<std::size_t>(length));
    }

    // What the main window reads it keeps, unchanged, through a save.
    KavrinSettings settings, again;
    if (LoadKavrinSettings(store, settings, L"pool.ntp.org") && settings.CurrentServer.size() <= Settings::kMaxTextLength)
    {
        SaveOptionGroup(store, settings);
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
